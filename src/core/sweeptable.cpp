#include "core/sweeptable.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "numeric/constants.h"

namespace {

using Cell = std::optional<double>;

// Columns are plain functions (no captures): the line's loss visibility is
// read from the table, not from the point, so two sets exist.
template <bool LossShown> struct Loss {
    static Cell Blank(double nepers) {
        if (!LossShown) return std::nullopt;
        return nepers * constants::kNepersToDecibels;
    }
    static Cell Total(const SweepPoint& p) { return Blank(p.values.loss); }
    static Cell Conductor(const SweepPoint& p) { return Blank(p.values.conductorLoss); }
    static Cell Dielectric(const SweepPoint& p) { return Blank(p.values.dielectricLoss); }
    static Cell Even(const SweepPoint& p) { return Blank(p.values.even.loss); }
    static Cell Odd(const SweepPoint& p) { return Blank(p.values.odd.loss); }
};

template <bool LossShown> void AddLossColumns(std::vector<SweepColumn>& columns, bool coupled) {
    using L = Loss<LossShown>;
    columns.push_back({"loss_db_per_m", &L::Total});
    columns.push_back({"loss_conductor_db_per_m", &L::Conductor});
    columns.push_back({"loss_dielectric_db_per_m", &L::Dielectric});
    if (!coupled) return;
    columns.push_back({"loss_even_db_per_m", &L::Even});
    columns.push_back({"loss_odd_db_per_m", &L::Odd});
}

bool NeedsQuotes(const std::string& text, char separator) {
    return text.find_first_of(std::string{separator, '"', '\n', '\r'}) != std::string::npos;
}

void WriteText(std::ostream& out, const std::string& text, char separator) {
    if (!NeedsQuotes(text, separator)) {
        out << text;
        return;
    }
    out << '"';
    for (char c : text) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

std::string JoinWarnings(const std::vector<std::string>& warnings) {
    std::string joined;
    for (const std::string& w : warnings)
        joined += (joined.empty() ? "" : "; ") + w;
    return joined;
}

} // namespace

std::string SweptColumnName(const LineDescriptor& line, const SweepVariable& variable) {
    switch (variable.kind) {
    case SweepVariable::Kind::Frequency:
        return "f_hz";
    case SweepVariable::Kind::Row:
        return line.dimensionKeys[static_cast<std::size_t>(variable.row - 1)] + "_m";
    case SweepVariable::Kind::Er:
        return "Er";
    case SweepVariable::Kind::Tand:
        return "tand";
    case SweepVariable::Kind::Conductivity:
        return "sigma_s_per_m";
    case SweepVariable::Kind::Roughness:
        return "rough_m";
    }
    return "x";
}

std::vector<SweepColumn> SweepColumns(const LineDescriptor& line, const SweepVariable& variable) {
    std::vector<SweepColumn> columns{
        {SweptColumnName(line, variable), [](const SweepPoint& p) -> Cell { return p.x; }},
        {"impedance_ohm", [](const SweepPoint& p) -> Cell { return p.values.impedance; }},
        {"eeff", [](const SweepPoint& p) -> Cell { return p.values.eeff; }},
    };
    if (line.coupled) {
        columns.push_back({"impedance_even_ohm",
                           [](const SweepPoint& p) -> Cell { return p.values.even.impedance; }});
        columns.push_back({"impedance_odd_ohm",
                           [](const SweepPoint& p) -> Cell { return p.values.odd.impedance; }});
        columns.push_back({"z_diff_ohm", [](const SweepPoint& p) -> Cell { return p.Zdiff(); }});
        columns.push_back(
            {"eeff_even", [](const SweepPoint& p) -> Cell { return p.values.even.eeff; }});
        columns.push_back(
            {"eeff_odd", [](const SweepPoint& p) -> Cell { return p.values.odd.eeff; }});
    }
    if (line.lossShown)
        AddLossColumns<true>(columns, line.coupled);
    else
        AddLossColumns<false>(columns, line.coupled);
    return columns;
}

std::string FormatExact(double value) {
    char buffer[32];
    // Whole numbers in full (1 GHz is 1000000000, not 1e+09), the rest shortest.
    const bool whole = std::fabs(value) < 1e16 && value == std::trunc(value);
    const auto [end, error] =
        whole ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
              : std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string("nan");
}

void WriteSweepTable(std::ostream& out, const LineDescriptor& line, const SweepVariable& variable,
                     const std::vector<SweepPoint>& points, char separator) {
    const std::vector<SweepColumn> columns = SweepColumns(line, variable);
    for (const SweepColumn& column : columns)
        out << column.name << separator;
    out << "warnings" << separator << "error\n";
    for (const SweepPoint& point : points) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const bool shown = c == 0 || point.Ok();
            if (shown)
                if (const Cell cell = columns[c].value(point); cell && std::isfinite(*cell))
                    out << FormatExact(*cell);
            out << separator;
        }
        WriteText(out, JoinWarnings(point.warnings), separator);
        out << separator;
        WriteText(out, point.error, separator);
        out << '\n';
    }
}
