// A quasi-TEM line from its line constants R, L, G, C per metre: from DC,
// where the line is an RC line, to the first higher mode.
#pragma once

#include "core/linedescriptor.h"

// The shown values of `v` (one mode of a line, as its kernel gave them) at
// frequency f, with the conductor `dc`:
//  - R is the kernel's conductor loss as a resistance, 2 Z0 alpha_c (or the
//    kernel's own R), never below the DC resistance; G = 2 alpha_d / Z0; C
//    and the external L from Z0 and eeff;
//  - far above the R = omega L corner the values are the kernel's, with R
//    in place of its resistance where that fell below the DC value;
//  - at and below the corner they are those of the exact propagation
//    constant and complex characteristic impedance of R, L, G, C, with the
//    conductor's DC internal inductance in L: impedance Re(Zc), loss
//    Re(gamma), eeff (beta / k0)^2, the loss parts R Re(1/Zc) / 2 and
//    G Re(Zc) / 2 scaled to add up to the loss;
//  - between them the two pass smoothly into one another (lineconstants.cpp
//    says why).
// Sets v.belowCorner and, where eeff changed, v.formulaEeff.  A value without
// separated loss parts, or at f <= 0, is left as it is.
void ApplyLineConstants(LineValues& v, const DcConductor& dc, double f);

// True where `v` at f is a line of line constants: its loss parts
// separated, impedance and eeff positive, f above 0.
bool HasLineConstants(const LineValues& v, double f);

// The line constants of `v` (a kernel's values): its own where it gives
// them, else from Z0, eeff and the loss parts; R never below dc.resistance.
LineConstants ConstantsOf(const LineValues& v, const DcConductor& dc);

// The same for every value a line's result shows (both modes of a pair);
// nothing for a line without line constants.  Inline: every answer runs it.
inline void ApplyLineConstants(const LineDescriptor& line, const InputsAtFrequency& in, double x,
                               LineResult& result) {
    if (line.dcConductor == nullptr) return;
    const DcConductor dc = line.dcConductor(in, x);
    if (!line.coupled) {
        ApplyLineConstants(result, dc, in.f);
        return;
    }
    // The shown values are a copy of one mode: computed once, with it.
    ApplyLineConstants(result.even, dc, in.f);
    ApplyLineConstants(result.odd, dc, in.f);
    result.ShowMode(in.mode);
}

// The note shown below the corner.
extern const char* const kBelowCornerNote;
