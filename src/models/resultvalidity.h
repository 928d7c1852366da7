// Results the calculator must not show as they are: numbers no line can have.
#pragma once

#include "core/lineinputs.h"

// True when no transmission line can have this result: Z0 <= 0, eeff <= 0, a
// negative loss, or any of them not a finite number.  Shown as the
// calculation error "No valid result: the formulas are outside their range
// here", with the warnings still listed.
bool IsImpossibleResult(double z0, double eeff, double loss);

// The same for the slotline, whose fits give eeff directly: its field lies
// partly in air and partly in the substrate, so also eeff outside [1, Er].
bool IsImpossibleSlotlineResult(double z0, double eeff, double er);

// The same rules as descriptor entries: the shown values of a line, and of
// the slotline.  (The thin-metal rule is the descriptor's thickness row and
// limit.)
bool ImpossibleLineValues(const LineInputs& in, const LineValues& shown);
bool ImpossibleSlotlineValues(const LineInputs& in, const LineValues& shown);
