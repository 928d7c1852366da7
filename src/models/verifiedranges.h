// The boxes where each line's closed form was checked against the field
// solver (tools/closedform_grid.py and, for the offset and broadside
// striplines, tools/offset_field_grid.py span exactly these; the help page's
// accuracy table gives the worst and median differences found in them).
#pragma once

#include "core/verifiedrange.h"

VerifiedRange MicrostripVerified();
VerifiedRange StriplineVerified();
VerifiedRange CoplanarVerified(); // CPW and grounded CPW
VerifiedRange CoaxVerified();
VerifiedRange CoupledMicrostripVerified();
VerifiedRange CoupledStriplineVerified();
VerifiedRange OffsetStriplineVerified();
VerifiedRange OffsetCoupledStriplineVerified();
VerifiedRange BroadsideStriplineVerified();
