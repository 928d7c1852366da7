#include "core/outputs.h"

#include <algorithm>
#include <cmath>

#include "core/coupledsynthesis.h"
#include "core/lossparts.h"
#include "numeric/constants.h"

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

bool Coupled(const LineDescriptor& line) {
    return line.coupled;
}

const LineResult& Result(const OutputSource& s) {
    return s.answer.result;
}

// A loss of a line that shows none is left blank.
double ShownLoss(const OutputSource& s, double nepers) {
    return s.line.lossShown ? nepers : kNone;
}

double CouplingDb(const OutputSource& s) {
    const std::optional<double> db = PairFigures(Result(s)).couplingDb;
    return db ? *db : kNone;
}

bool HasModes(const LineDescriptor& line) {
    return line.modes != nullptr;
}

// The guide wavelength 2 pi / beta, from eeff = (beta / k0)^2.
double GuideWavelength(const OutputSource& s) {
    return constants::kSpeedOfLight / (s.answer.inputs.f * std::sqrt(Result(s).eeff));
}

double DominantCutoff(const OutputSource& s) {
    return s.line.modes(s.answer.inputs).front().cutoff;
}

} // namespace

double OutputQuantity::Reported(const OutputSource& source) const {
    const double v = value(source);
    return kind == OutputKind::Loss ? v * constants::kNepersToDecibels : v;
}

const std::vector<OutputQuantity>& OutputQuantities() {
    using enum OutputKind;
    static const std::vector<OutputQuantity> rows{
        {"Impedance", "Ohm", Impedance, "impedance_ohm", kLineJson | kModeJson, "impedance_ohm",
         "Impedance", nullptr, nullptr, [](const OutputSource& s) { return Result(s).impedance; },
         {OutputChart::Impedance, 0, "Z", nullptr}},
        {"Effective dielectric constant", "", Plain, "eeff", kLineJson | kModeJson, "eeff",
         "Effective dielectric constant", nullptr, nullptr,
         [](const OutputSource& s) { return Result(s).eeff; },
         {OutputChart::Eeff, 0, "eeff", nullptr}},
        {"Even-mode impedance", "Ohm", Impedance, "impedance_even_ohm", kNotInJson,
         "impedance_even_ohm", nullptr, nullptr, &Coupled,
         [](const OutputSource& s) { return Result(s).even.impedance; },
         {OutputChart::Impedance, 1, nullptr, "Zeven"}},
        {"Odd-mode impedance", "Ohm", Impedance, "impedance_odd_ohm", kNotInJson,
         "impedance_odd_ohm", nullptr, nullptr, &Coupled,
         [](const OutputSource& s) { return Result(s).odd.impedance; },
         {OutputChart::Impedance, 2, nullptr, "Zodd"}},
        {"Differential impedance", "Ohm", Impedance, "z_diff_ohm", kPairJson, "z_diff_ohm", "Zdiff",
         nullptr, &Coupled, [](const OutputSource& s) { return PairFigures(Result(s)).zdiff; },
         {OutputChart::Impedance, 3, nullptr, "Zdiff"}},
        {"Even-mode eeff", "", Plain, "eeff_even", kNotInJson, "eeff_even", nullptr, nullptr,
         &Coupled, [](const OutputSource& s) { return Result(s).even.eeff; },
         {OutputChart::Eeff, 1, nullptr, "even"}},
        {"Odd-mode eeff", "", Plain, "eeff_odd", kNotInJson, "eeff_odd", nullptr, nullptr, &Coupled,
         [](const OutputSource& s) { return Result(s).odd.eeff; },
         {OutputChart::Eeff, 2, nullptr, "odd"}},
        {"Common-mode impedance", "Ohm", Impedance, "z_comm_ohm", kPairJson, nullptr, "Zcomm",
         nullptr, &Coupled, [](const OutputSource& s) { return PairFigures(Result(s)).zcomm; }},
        {"Coupling", "dB", Plain, "coupling_db", kPairJson, nullptr, "Coupling", nullptr, &Coupled,
         &CouplingDb},
        {"Loss", "dB/m", Loss, "loss_db_per_m", kLineJson | kModeJson, "loss_db_per_m", "Loss",
         nullptr, nullptr, [](const OutputSource& s) { return ShownLoss(s, Result(s).loss); },
         {OutputChart::Loss, 0, "total", "total (shown mode)"}},
        {"Conductor loss", "dB/m", Loss, "loss_conductor_db_per_m", kLineJson | kModeJson,
         "loss_conductor_db_per_m", nullptr, "Conductor loss", nullptr,
         [](const OutputSource& s) { return ShownLoss(s, Result(s).conductorLoss); },
         {OutputChart::Loss, 3, "conductor", "conductor"}},
        {"Dielectric loss", "dB/m", Loss, "loss_dielectric_db_per_m", kLineJson | kModeJson,
         "loss_dielectric_db_per_m", nullptr, "Dielectric loss", nullptr,
         [](const OutputSource& s) { return ShownLoss(s, Result(s).dielectricLoss); },
         {OutputChart::Loss, 4, "dielectric", "dielectric"}},
        {"Even-mode loss", "dB/m", Loss, "loss_even_db_per_m", kNotInJson, "loss_even_db_per_m",
         nullptr, nullptr, &Coupled,
         [](const OutputSource& s) { return ShownLoss(s, Result(s).even.loss); },
         {OutputChart::Loss, 1, nullptr, "even"}},
        {"Odd-mode loss", "dB/m", Loss, "loss_odd_db_per_m", kNotInJson, "loss_odd_db_per_m",
         nullptr, nullptr, &Coupled,
         [](const OutputSource& s) { return ShownLoss(s, Result(s).odd.loss); },
         {OutputChart::Loss, 2, nullptr, "odd"}},
        {"Skin depth", "m", Length, "skin_depth_m", kLineJson | kPairJson, nullptr, nullptr,
         "Skin depth", nullptr, [](const OutputSource& s) { return SkinDepth(s.answer.inputs); }},
        {"Phase constant", "deg/m", PhaseConstant, "phase_constant_deg_per_m",
         kLineJson | kModeJson, nullptr, "Phase constant", nullptr, nullptr,
         [](const OutputSource& s) { return s.answer.PhaseConstant(); }},
        {"Electrical length", "deg", Angle, "electrical_length_deg", kLineJson | kModeJson, nullptr,
         "Electrical length", nullptr, nullptr,
         [](const OutputSource& s) { return s.electricalLength; }},
        // Differ from Er and tand under a wideband dielectric model.
        {"Er at f", "", Plain, "er_at_f", kLineJson, nullptr, nullptr, nullptr, nullptr,
         [](const OutputSource& s) { return s.answer.inputs.er; }},
        {"tand at f", "", Plain, "tand_at_f", kLineJson, nullptr, nullptr, nullptr, nullptr,
         [](const OutputSource& s) { return s.answer.inputs.tand; }},
        // Read from the answer's inputs, which a sweep point does not keep:
        // no sweep column.
        {"Cut-off frequency", "Hz", Plain, "cutoff_hz", kLineJson, nullptr, "Cut-off frequency",
         nullptr, &HasModes, &DominantCutoff},
        {"Guide wavelength", "m", Length, "guide_wavelength_m", kLineJson, nullptr,
         "Guide wavelength", nullptr, &HasModes, &GuideWavelength},
        {"Physical length", "m", Length, "physical_length_m", kLineJson | kPairJson, nullptr,
         "Physical length", nullptr, nullptr,
         [](const OutputSource& s) { return s.physicalLength; }},
    };
    return rows;
}

const OutputQuantity* FindOutput(std::string_view jsonKey) {
    for (const OutputQuantity& row : OutputQuantities())
        if (jsonKey == row.jsonKey) return &row;
    return nullptr;
}

std::vector<const OutputQuantity*> ChartCurves(OutputChart chart, const LineDescriptor& line) {
    std::vector<const OutputQuantity*> curves;
    for (const OutputQuantity& row : OutputQuantities())
        if (row.curve.chart == chart && row.On(line) && row.curve.Legend(line) != nullptr)
            curves.push_back(&row);
    std::stable_sort(curves.begin(), curves.end(), [](const auto* a, const auto* b) {
        return a->curve.place < b->curve.place;
    });
    return curves;
}
