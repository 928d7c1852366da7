// A line type as data: its names, rows, keys, first-start rows, settings
// section and synthesis rule, plus its two pure kernels.  The driver
// (LineModel) runs every action from this; the window, the Worksheet and
// tavrel-calc take names, keys and defaults from it and nowhere else.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/lineinputs.h"
#include "core/verifiedrange.h"

struct CrossSection; // core/crosssection.h

// The line at trial value x of its solved dimension (row 1), every other
// input from `in`.  Raises TP_Exceptions (or FloatingPointFault) on failure.
using EvaluateFunction = LineResult (*)(const InputsAtFrequency& in, double x);
// The line at x with its cross-section terms reused or filled (see
// CrossSectionTerms); the same numbers as EvaluateFunction.
using EvaluateReusingFunction = LineResult (*)(const InputsAtFrequency& in, double x,
                                               CrossSectionTerms& terms);
// Only the impedance at x, for a line whose loss costs more than its
// impedance and so is left out of a synthesis scan.
using ImpedanceFunction = double (*)(const InputsAtFrequency& in, double x);
// Hard limits raise TP_Exceptions before any warning is listed; soft limits
// append their texts to `warnings` in order.  A hard error found after some
// warnings (the slotline's Er limit) leaves those listed but not shown.
using CheckFunction = void (*)(const InputsAtFrequency& in, std::vector<std::string>& warnings);
// The line's cross-section for the field solver, at the inputs' frequency
// (Er with the material models applied).  Raises TP_Exceptions for inputs
// that describe no cross-section.
using CrossSectionBuilder = CrossSection (*)(const InputsAtFrequency& in);
// The conductor's DC resistance and internal inductance per metre at x.
using DcConductorFunction = DcConductor (*)(const InputsAtFrequency& in, double x);

// A mode of a line that has more than one (a waveguide): its name, cut-off
// frequency in hertz, and whether it propagates at the inputs' frequency.
struct GuideMode {
    std::string name; // "TE10"
    double cutoff;
    bool propagates;
};
using ModeListFunction = std::vector<GuideMode> (*)(const InputsAtFrequency& in);

// The settings section of a line type: its name and the value key of each
// parameter row.  A row's unit key is its value key (trailing blanks dropped)
// followed by " Unit".
struct SettingsSection {
    const char* name;
    std::vector<const char*> rowKeys;
};

struct SynthesisRule {
    // The scanned interval of row 1: [first, second] times the reference row
    // (second may be the smaller end: the scan runs from first to second).
    int referenceRow;
    double first;
    double second;
    double tolerance;     // metres
    bool toleranceScales; // tolerance times the reference row where that is smaller
    int steps;
    const char* aboveTarget; // no sign change, impedance above the target
    const char* belowTarget; // ... below it
    // Error codes that, raised at the interval's first end, stop the
    // synthesis before the scan: no width can mend them.
    std::vector<int> stopCodes;
    // Rows that keep their ratio to row 1 while it is solved for (the
    // waveguide's b/a), written scaled with the root; the impedance must not
    // depend on them (the answer at the root is taken with them scaled).
    std::vector<int> scaledRows = {};
};

// What Analyze shows in its own error box; everything else passes on to the
// window's general error display.
enum class AnalyzeShows {
    CalculationErrors, // TP_Exceptions
    EveryError,        // every standard error, floating-point faults included
};

struct LineDescriptor {
    int tabIndex;                           // the window's tab order, from 0
    const char* tabName;                    // "Microstrip", ...
    const char* cliName;                    // "microstrip", ...
    const char* title;                      // shown in the caption
    std::vector<std::string> rowLabels;     // row 1 first
    std::vector<std::string> dimensionKeys; // symbols of the rows (command-line keys)
    std::vector<double> rowDefaults;        // metres, set when the line becomes active
    // Per row: nullptr for a length (the window's length units), else the one
    // unit of a row that holds a plain number ("1/m", ""); empty: all lengths.
    // A number row is no dimension: no quarter-wave warning, 0 allowed.
    std::vector<const char*> fixedRowUnits = {};
    SettingsSection settings;
    std::optional<SynthesisRule> synthesis; // none for coupled lines
    bool lossShown;                         // false: the loss field is blanked
    bool coupled;                           // even/odd modes
    bool readsLossInputs;                   // tand and Rho feed the formulas (else only shown)
    AnalyzeShows analyzeShows;
    EvaluateFunction evaluate;
    EvaluateReusingFunction evaluateReusing = nullptr; // may be null: evaluate
    ImpedanceFunction impedance;                       // may be null: evaluate's impedance
    CheckFunction check;
    void (*prepare)(); // may be null: run when a model is built
    // True for a result no line can have (Z0 <= 0, a negative loss ...):
    // shown as a calculation error, never as numbers.  May be null.
    bool (*impossible)(const LineInputs& in, const LineValues& shown);
    // The metal's thickness row (0: the line has none, as the coax and the
    // slotline) and the thin-metal limit: at or below it the line's formulas
    // leave the conductor loss out, and the check warns.
    int thicknessRow;
    double thinMetalLimit; // metres
    // The key of the line's cross-section picture in the window's table.
    const char* picture;
    // Null: not a quasi-TEM line, which the field solver does not apply to.
    CrossSectionBuilder crossSection;
    // Where the closed form was checked against the field solver; none for
    // a line the field solver does not apply to.
    std::optional<VerifiedRange> verified = std::nullopt;
    // Null: a line not expressed by line constants R, L, G, C (the slotline
    // is no two-conductor line, the waveguide a hollow guide): its kernel's
    // values are shown as they are.
    DcConductorFunction dcConductor = nullptr;
    // Null: a line with one mode.  Otherwise its modes, listed after the
    // warnings and reported by tavrel-calc.
    ModeListFunction modes = nullptr;
    // A number row holding a second dielectric's Er (0: none): eeff lies
    // between the two, so it may rise above Er up to that row's value.
    int secondErRow = 0;
    // True: the line takes a solder mask and a cover (LineInputs::coating,
    // keys Tm, Erm, tandm, Hc); other lines never read them.
    bool coated = false;

    int RowCount() const { return static_cast<int>(rowLabels.size()); }
    // The fixed unit of a number row (1 first), or nullptr for a length.
    const char* FixedRowUnit(int row) const {
        const auto k = static_cast<std::size_t>(row - 1);
        return k < fixedRowUnits.size() ? fixedRowUnits[k] : nullptr;
    }
    // True when the metal is too thin for the line's conductor-loss formulas.
    bool LeavesOutConductorLoss(const LineInputs& in) const {
        return thicknessRow > 0 && !(in.Row(thicknessRow) > thinMetalLimit);
    }
};
