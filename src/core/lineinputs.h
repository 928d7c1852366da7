// What a line kernel reads and what it returns.  Every quantity is SI:
// metres, hertz, ohms; Rho is the conductor's resistivity relative to gold;
// losses in nepers per metre.  Inputs are filled once per action (from the
// window, the Worksheet or the command line) and a kernel may be evaluated
// over them as often as a scan needs.
#pragma once

#include <array>
#include <limits>

// How a rough conductor surface raises the conductor loss, and how er and
// tand vary with frequency: rows of the tables of core/materialmodels.h.
struct RoughnessModel;
struct DielectricModel;
const RoughnessModel* DefaultRoughnessModel(); // Hammerstad-Jensen
const DielectricModel* ConstantDielectric();   // er and tand as given at every frequency

// The conductor's surface and the dielectric's frequency model: options of
// the material beside its three numbers, the same for every line type.
struct MaterialOptions {
    double rough = 0.0; // conductor surface roughness, RMS metres; 0: smooth
    const RoughnessModel* roughModel = DefaultRoughnessModel();
    const DielectricModel* dkModel = ConstantDielectric();
    double fRef = 1e9;       // hertz: where er and tand hold under the wideband model
    double fPoleLow = 1e3;   // hertz: the wideband model's lowest pole
    double fPoleHigh = 1e12; // hertz: ... and its highest

    bool operator==(const MaterialOptions&) const = default;
};

// A solder mask and a metal cover over a microstrip: a conformal layer of
// thickness tm over the strips (top and sides) and the substrate, and a
// ground plane hc above the substrate.  tm = 0 is no mask, hc = 0 no cover.
struct Coating {
    double tm = 0.0;    // mask thickness, metres
    double erm = 3.5;   // mask relative permittivity
    double tandm = 0.02; // mask loss tangent (a liquid photoimageable mask)
    double hc = 0.0;    // cover height above the substrate, metres

    bool Present() const { return tm > 0.0 || hc > 0.0; }
    bool operator==(const Coating&) const = default;
};

// The material options are inputs like the others (a sweep may vary rough).
struct LineInputs : MaterialOptions {
    static constexpr int kRows = 6;

    std::array<double, kRows> rows{}; // the parameter rows, row 1 first
    double er = 1.0;                  // relative dielectric constant
    double tand = 0.0;                // loss tangent
    double rho = 1.0;                 // resistivity relative to gold
    double f = 0.0;                   // hertz
    double length = 0.0;              // physical length, metres
    double electricalLength = 0.0;    // degrees
    double targetImpedance = 0.0;     // ohms, the synthesis target
    int mode = -1;                    // coupled lines: 0 even, 1 odd
    Coating coating;                  // lines with a coating (microstrip family) only

    double Row(int row) const { return rows[static_cast<std::size_t>(row - 1)]; }
};

// The inputs as the kernels see them at their frequency in.f: the material
// models applied (the wideband dielectric's Er(f) and tand(f)).  Only
// AtFrequency (widebanddielectric.h) makes one from LineInputs, and kernels
// take nothing else, so no caller can skip that step.  A default one is the
// default inputs, which carry no model to apply.
struct InputsAtFrequency : LineInputs {
    InputsAtFrequency() = default;

  private:
    explicit InputsAtFrequency(const LineInputs& in) : LineInputs(in) {}
    friend InputsAtFrequency AtFrequency(const LineInputs& in);
};

// Terms of a kernel that depend on the cross-section alone (the rows), not on
// the frequency, the materials or the conductor: a caller that evaluates one
// cross-section many times (a sweep of anything but a dimension) passes the
// same object back in, and the kernel fills it at the first call that raises
// no floating-point fault.  Kernels without such terms ignore it.
struct CrossSectionTerms {
    bool ready = false;
    std::array<double, 24> values{};
};

// A loss part the model does not separate.
inline constexpr double kNotSeparated = std::numeric_limits<double>::quiet_NaN();

// A quasi-TEM line per metre at its frequency: series resistance R (ohms)
// and inductance L (henries, external plus the conductor's internal part
// `internalL`), shunt conductance G (siemens) and capacitance C (farads).
struct LineConstants {
    double r = kNotSeparated; // NaN: the kernel gives none
    double l = 0.0;
    double g = 0.0;
    double c = 0.0;
    double internalL = 0.0;
};

// What only the line knows of its conductor at DC, per metre: the
// resistance (strip, wire, both wires of a pair) and the internal inductance
// of a uniform current.
struct DcConductor {
    double resistance = 0.0;
    double inductance = 0.0;
};

struct LineValues {
    double impedance = 0.0; // ohms
    double eeff = 0.0;      // effective dielectric constant
    double loss = 0.0;      // total, nepers per metre
    double conductorLoss = kNotSeparated;
    double dielectricLoss = kNotSeparated;
    // The kernel's own line constants, where it builds the line from them.
    LineConstants constants = {};
    // Set by the calculation step: R above omega L (the RC line), and the
    // formulas' eeff where the shown one also holds the conductor's
    // internal inductance and resistance (NaN: eeff is the formulas').
    bool belowCorner = false;
    double formulaEeff = kNotSeparated;
};

// The line's values; for a coupled line those of the mode the inputs select,
// with both modes beside them.
struct LineResult : LineValues {
    LineValues even;
    LineValues odd;

    // A pair shows the mode its inputs select: the even mode for 0, the odd
    // one otherwise.
    void ShowMode(int mode) { static_cast<LineValues&>(*this) = mode == 0 ? even : odd; }
};
