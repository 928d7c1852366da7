// Results the calculator must not show as they are: numbers no line can
// have, and inputs under which a formula leaves a part of the result out.
#pragma once

#include <string_view>

#include "core/lineinputs.h"

// True when no transmission line can have this result: Z0 <= 0, eeff <= 0, a
// negative loss, or any of them not a finite number.  Shown as the
// calculation error "No valid result: the formulas are outside their range
// here", with the warnings still listed.
bool IsImpossibleResult(double z0, double eeff, double loss);

// The same for the slotline, whose fits give eeff directly: its field lies
// partly in air and partly in the substrate, so also eeff outside [1, Er].
bool IsImpossibleSlotlineResult(double z0, double eeff, double er);

// True when the line type (by its command-line name) leaves the conductor
// loss out because the metal of thickness t (metres) is too thin for its
// formulas: zero thickness for the stripline, the coupled stripline and the
// two coplanar lines; 1 nm or less for the microstrip and the coupled
// microstrip.  The coax and the slotline have no thickness.  With a finite
// conductivity the driver warns "T = 0: conductor loss not included".
bool ThicknessLeavesOutConductorLoss(std::string_view cliName, double t);

// The same rules as descriptor entries: the shown values of a line, of the
// slotline, and the thickness row of each family.
bool ImpossibleLineValues(const LineInputs& in, const LineValues& shown);
bool ImpossibleSlotlineValues(const LineInputs& in, const LineValues& shown);
bool MicrostripLeavesOutConductorLoss(const LineInputs& in);        // T is row 3
bool CoupledMicrostripLeavesOutConductorLoss(const LineInputs& in); // T is row 4
bool StriplineLeavesOutConductorLoss(const LineInputs& in);         // T is row 3
bool FourRowLineLeavesOutConductorLoss(const LineInputs& in);       // coupled stripline, CPW: row 4
