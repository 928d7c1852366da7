#include "core/sweeptable.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

#include "core/answerof.h"
#include "core/materialmodels.h"

namespace {

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
        // A number row (twists per metre, an Er) has no metres.
        return line.dimensionKeys[static_cast<std::size_t>(variable.row - 1)] +
               (line.FixedRowUnit(variable.row) != nullptr ? "" : "_m");
    case SweepVariable::Kind::Er:
        return "Er";
    case SweepVariable::Kind::Tand:
        return "tand";
    case SweepVariable::Kind::Conductivity:
        return "sigma_s_per_m";
    case SweepVariable::Kind::Roughness:
        return "rough_m";
    case SweepVariable::Kind::MaskThickness:
        return "Tm_m";
    case SweepVariable::Kind::MaskEr:
        return "Erm";
    case SweepVariable::Kind::MaskTand:
        return "tandm";
    case SweepVariable::Kind::CoverHeight:
        return "Hc_m";
    }
    return "x";
}

std::vector<SweepColumn> SweepColumns(const LineDescriptor& line, const SweepVariable& variable) {
    std::vector<SweepColumn> columns{{SweptColumnName(line, variable), nullptr}};
    for (const OutputQuantity& row : OutputQuantities())
        if (row.csvHeader != nullptr && row.On(line)) columns.push_back({row.csvHeader, &row});
    return columns;
}

std::vector<double> SweepCells(const LineDescriptor& line, const std::vector<SweepColumn>& columns,
                               const SweepPoint& point) {
    std::vector<double> cells(columns.size(), std::numeric_limits<double>::quiet_NaN());
    if (cells.empty()) return cells;
    cells[0] = point.x;
    if (!point.Ok()) return cells;
    const LineAnswer answer = AnswerOf(point);
    const OutputSource source{line, answer};
    for (std::size_t c = 1; c < columns.size(); ++c)
        cells[c] = columns[c].quantity->Reported(source);
    return cells;
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

std::string SweepMaterialModels(const LineInputs& base, const SweepVariable& variable) {
    LineInputs in = base;
    constexpr double kSwept = std::numeric_limits<double>::quiet_NaN();
    if (variable.kind == SweepVariable::Kind::Roughness) in.rough = kSwept;
    if (variable.kind == SweepVariable::Kind::Er) in.er = kSwept;
    return MaterialModelsText(in);
}

void WriteSweepTable(std::ostream& out, const LineDescriptor& line, const LineInputs& base,
                     const SweepVariable& variable, const std::vector<SweepPoint>& points,
                     char separator) {
    if (const std::string models = SweepMaterialModels(base, variable); !models.empty())
        out << "# Material models: " << models << '\n';
    const std::vector<SweepColumn> columns = SweepColumns(line, variable);
    for (const SweepColumn& column : columns)
        out << column.name << separator;
    out << "warnings" << separator << "error\n";
    for (const SweepPoint& point : points) {
        for (double cell : SweepCells(line, columns, point)) {
            if (std::isfinite(cell)) out << FormatExact(cell);
            out << separator;
        }
        WriteText(out, JoinWarnings(point.warnings), separator);
        out << separator;
        WriteText(out, point.error, separator);
        out << '\n';
    }
}
