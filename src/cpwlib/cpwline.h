// The coplanar line inside the library: geometry and materials in SI units,
// and the formulas grouped by what they model.  Inputs reaching these
// functions are finite, W, G and H positive, T >= 0 and Er >= 1; the entry
// point checks that.
#pragma once

#include <optional>

#include "cpwlib/elliptic.h"

namespace cpwlib {

struct CpwLine {
    double width;     // W, centre strip
    double gap;       // G, strip edge to ground edge
    double height;    // H, substrate
    double thickness; // T; 0 for metal of negligible thickness
    double er;        // relative permittivity of the substrate
    bool conductorBacked;
};

struct LineValues {
    double impedance; // ohms
    double eeff;
};

// Moduli of the conformal maps, each with its complement in closed form.
// k0 = W / (W + 2G): the slots in free space.
Modulus CentreStripModulus(double width, double gap);
// k1 = sinh(pi a / 2H) / sinh(pi b / 2H): the substrate of height H below.
Modulus SubstrateModulus(double width, double gap, double height);
// k3 = tanh(pi a / 2H) / tanh(pi b / 2H): the substrate above a ground plane.
Modulus BackedSubstrateModulus(double width, double gap, double height);

// Metal thickness: the width by which the corners' fringing widens the strip
// and narrows each gap in the half-space maps (0 for T = 0), and the
// parallel-plate capacitance of the gap walls in units of eps0.
double CornerFringeWidth(double width, double gap, double thickness);
double GapWallCapacitance(double gap, double thickness);
// True for metal thicker than the field solutions the model was checked
// against (T/G above 0.9) but still thinner than the gap.
bool ThicknessBeyondVerifiedRange(double gap, double thickness);

// Quasi-static impedance and eeff, thickness included; empty when the metal
// is as thick as the gap or thicker.
std::optional<LineValues> QuasiStatic(const CpwLine& line);

// The quasi-static values carried to the frequency (Hz).
LineValues Disperse(const CpwLine& line, LineValues quasiStatic, double frequency);

// Losses in nepers per metre; resistivity relative to gold.
double DielectricLoss(const CpwLine& line, double eeff, double lossTangent, double frequency);
// The conductor loss takes the impedance and eeff at the frequency.
double ConductorLoss(const CpwLine& line, LineValues values, double relativeResistivity,
                     double frequency);

} // namespace cpwlib
