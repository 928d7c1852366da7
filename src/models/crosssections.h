// Each quasi-TEM line family's cross-section for the field solver, built from
// its rows at the inputs' frequency: the descriptors' crossSection entries.
#pragma once

#include "core/crosssection.h"
#include "core/lineinputs.h"

CrossSection MicrostripCrossSection(const InputsAtFrequency& in);       // rows W H T
CrossSection StriplineCrossSection(const InputsAtFrequency& in);        // rows W B T
CrossSection CpwCrossSection(const InputsAtFrequency& in);              // rows W G H T
CrossSection GroundedCpwCrossSection(const InputsAtFrequency& in);      // rows W G H T
CrossSection CoaxCrossSection(const InputsAtFrequency& in);             // rows Di Do
CrossSection CoupledMicrostripCrossSection(const InputsAtFrequency& in); // rows W S H T
CrossSection CoupledStriplineCrossSection(const InputsAtFrequency& in);  // rows W S B T
CrossSection OffsetStriplineCrossSection(const InputsAtFrequency& in);        // rows W H1 H2 T Er2
CrossSection OffsetCoupledStriplineCrossSection(const InputsAtFrequency& in); // rows W S H1 H2 T Er2
CrossSection BroadsideStriplineCrossSection(const InputsAtFrequency& in);     // rows W S B T
