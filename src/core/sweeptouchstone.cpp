#include "core/sweeptouchstone.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "core/materialmodels.h"
#include "core/roughness.h"
#include "core/sweeptable.h"
#include "core/touchstone.h"
#include "numeric/constants.h"

namespace {

std::string InputsComment(const LineDescriptor& line, const LineInputs& in) {
    std::string text = "Inputs:";
    for (int row = 1; row <= line.RowCount(); ++row)
        text += ' ' + line.dimensionKeys[static_cast<std::size_t>(row - 1)] + '=' +
                FormatExact(in.Row(row)) + " m";
    text += ", Er=" + FormatExact(in.er);
    if (line.readsLossInputs)
        text += ", tand=" + FormatExact(in.tand) +
                ", sigma=" + FormatExact(1.0 / (in.rho * constants::kGoldResistivity)) + " S/m";
    if (in.rough > 0.0) text += ", rough=" + FormatExact(in.rough) + " m RMS";
    if (in.dkModel->VariesWithFrequency())
        text += ", f_ref=" + FormatExact(in.fRef) + " Hz, poles " + FormatExact(in.fPoleLow) +
                " to " + FormatExact(in.fPoleHigh) + " Hz";
    return text;
}

std::string MaterialComment(const LineInputs& in) {
    const std::string models = MaterialModelsText(in);
    return "Material models: " +
           (models.empty() ? std::string("smooth conductor, Er and tand constant with frequency")
                           : models);
}

LineMode ModeOf(const LineDescriptor& line, double frequency, const LineValues& values) {
    // A line that shows no loss is written lossless, as the window shows it.
    const double alpha = line.lossShown ? values.loss : 0.0;
    return {values.impedance, PropagationConstant(frequency, values.eeff, alpha)};
}

} // namespace

std::string TouchstoneExtension(const LineDescriptor& line) {
    return line.coupled ? ".s4p" : ".s2p";
}

void WriteSweepTouchstone(std::ostream& out, const LineDescriptor& line, const LineInputs& inputs,
                          const SweepVariable& variable, const std::vector<SweepPoint>& points,
                          double zRef) {
    if (variable.kind != SweepVariable::Kind::Frequency)
        throw std::invalid_argument("only a frequency sweep can be written as Touchstone");
    std::vector<TouchstoneRow> rows;
    rows.reserve(points.size());
    for (const SweepPoint& p : points) {
        if (!p.Ok())
            throw std::invalid_argument("no result at " + FormatExact(p.x) + " Hz: " + p.error);
        if (line.coupled)
            rows.push_back(
                {p.x, ModeOf(line, p.x, p.values.even), ModeOf(line, p.x, p.values.odd)});
        else
            rows.push_back({p.x, ModeOf(line, p.x, p.values), {}});
    }
    if (rows.size() > 1 && rows.front().frequency > rows.back().frequency)
        std::reverse(rows.begin(), rows.end());

    TouchstoneSection section{line.coupled, inputs.length, zRef, {}};
    auto& c = section.comments;
    c.push_back(std::string("Tavrel: ") + line.title + " (" + line.cliName + "), a section " +
                FormatExact(inputs.length) + " m long");
    c.push_back(InputsComment(line, inputs));
    c.push_back(MaterialComment(inputs));
    c.push_back(line.coupled
                    ? "Modes: even and odd, Zc = the mode's impedance, "
                      "gamma = alpha + j 2 pi f sqrt(eeff) / c"
                    : "Zc = the line's impedance, gamma = alpha + j 2 pi f sqrt(eeff) / c");
    if (!line.lossShown)
        c.push_back("Written lossless: the calculator gives no loss for this line");
    if (line.coupled)
        c.push_back("Ports: 1 line A near end, 2 line A far end, "
                    "3 line B near end, 4 line B far end");
    c.push_back("Every port referred to " + FormatExact(zRef) + " ohm");
    WriteTouchstone(out, section, rows);
}
