// The conductors of the quasi-TEM lines at DC, per metre: the resistance a
// uniform current meets and the internal inductance it has (the hook of the
// line descriptors for their line constants).  A perfect conductor (Rho = 0)
// or a strip without thickness gives {0, 0}: no floor under the conductor
// loss.
#pragma once

#include "core/lineinputs.h"

// A strip of width x and thickness Row(ThicknessRow) with its ground far
// wider: 1 / (sigma W T), and mu0 T / 3W with the return current on one side
// (OneSided, the microstrip family) or mu0 T / 12W between returns on both
// sides (the stripline family, the coplanar lines).
template <int ThicknessRow, bool OneSided>
DcConductor StripAtDc(const InputsAtFrequency& in, double w);

// The coax's inner wire of diameter x (the outer conductor taken thick):
// 4 / (sigma pi Di^2), mu0 / 8 pi.
DcConductor CoaxAtDc(const InputsAtFrequency& in, double innerDiameter);

// Both wires of a pair of diameter Row(2): 8 / (sigma pi d^2), mu0 / 4 pi.
DcConductor TwistedPairAtDc(const InputsAtFrequency& in, double spacing);
