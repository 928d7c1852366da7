#include "cli/sweeprun.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <ostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/calcrun.h"
#include "cli/jsontext.h"
#include "core/sweeptable.h"
#include "core/sweeptouchstone.h"
#include "core/worksheet.h"

namespace {

using nlohmann::ordered_json;

struct SweepRequest {
    CliRequest base; // the line, the keys not swept, the mode
    std::string key;
    SweepVariable variable;
    SweepRange range;
    std::pair<std::string, std::string> rangeTexts; // START and STOP as written
    enum class Format { Csv, Json, Touchstone } format = Format::Csv;
    double zRef = 50.0; // ohms, the Touchstone ports' reference
};

SweepVariable VariableOf(const LineType& line, const std::string& key) {
    for (std::size_t row = 0; row < line.dimensionKeys.size(); ++row)
        if (key == line.dimensionKeys[row])
            return {SweepVariable::Kind::Row, static_cast<int>(row) + 1};
    if (key == "f") return {SweepVariable::Kind::Frequency};
    if (key == "Er") return {SweepVariable::Kind::Er};
    if (key == "tand") return {SweepVariable::Kind::Tand};
    if (key == "sigma") return {SweepVariable::Kind::Conductivity};
    if (key == "rough") return {SweepVariable::Kind::Roughness};
    if (line.coated && key == "Tm") return {SweepVariable::Kind::MaskThickness};
    if (line.coated && key == "Erm") return {SweepVariable::Kind::MaskEr};
    if (line.coated && key == "tandm") return {SweepVariable::Kind::MaskTand};
    if (line.coated && key == "Hc") return {SweepVariable::Kind::CoverHeight};
    throw UsageError("cannot sweep '" + key +
                     "' (a dimension key, f, Er, tand, sigma, rough, or Tm, Erm, tandm and Hc "
                     "of a microstrip line can be swept)");
}

// "--name VALUE" or "--name=VALUE": true with `value` set when args[i] is the
// option (i then points at its last word).
bool OptionValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
                 std::string& value) {
    const std::string& arg = args[i];
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (arg != name) return false;
    if (++i == args.size()) throw UsageError(name + " needs a value");
    value = args[i];
    return true;
}

SweepRequest::Format ParseFormat(const std::string& format) {
    if (format == "csv") return SweepRequest::Format::Csv;
    if (format == "json") return SweepRequest::Format::Json;
    if (format == "touchstone") return SweepRequest::Format::Touchstone;
    throw UsageError("--format must be csv, json or touchstone, got '" + format + "'");
}

int ParseCount(const std::string& text) {
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size())
        throw UsageError("malformed point count '" + text + "'");
    return count;
}

// KEY=START:STOP:N
void ParseSweptKey(SweepRequest& request, const std::string& arg) {
    const std::size_t eq = arg.find('=');
    request.key = arg.substr(0, eq);
    const LineType& line = *request.base.line;
    const std::optional<Quantity> quantity = KeyQuantity(line, request.key);
    if (!quantity) throw UsageError("unknown key '" + request.key + "' for " + line.cliName);
    request.variable = VariableOf(line, request.key);
    const std::string value = arg.substr(eq + 1);
    const std::size_t first = value.find(':');
    const std::size_t second = value.find(':', first + 1);
    if (second == std::string::npos || value.find(':', second + 1) != std::string::npos)
        throw UsageError("expected KEY=START:STOP:N, got '" + arg + "'");
    const std::string startText = value.substr(0, first);
    const std::string stopText = value.substr(first + 1, second - first - 1);
    request.range.start = ParseQuantity(startText, *quantity);
    request.range.stop = ParseQuantity(stopText, *quantity);
    request.range.points = ParseCount(value.substr(second + 1));
    // Both ends follow the window's rules for the key (checked once the
    // whole command line has parsed).
    request.rangeTexts = {startText, stopText};
}

SweepRequest ParseSweep(const std::vector<std::string>& args) {
    if (args.size() < 2) throw UsageError("missing line type");
    SweepRequest request;
    // The keys not swept go through analyze's own parsing: same rules, same messages.
    std::vector<std::string> fixed{"analyze", args[1]};
    std::string swept;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "log" || arg == "lin") {
            request.range.logarithmic = arg == "log";
        } else if (std::string value; OptionValue(args, i, "--format", value)) {
            request.format = ParseFormat(value);
        } else if (OptionValue(args, i, "--z-ref", value)) {
            request.zRef = ParseQuantity(value, Quantity::Impedance);
            if (!(request.zRef > 0.0)) throw UsageError("--z-ref must be above zero");
        } else if (arg.find('=') != std::string::npos && arg.find(':') != std::string::npos) {
            if (!swept.empty()) throw UsageError("only one key can be swept");
            swept = arg;
        } else {
            fixed.push_back(arg);
        }
    }
    request.base = ParseCommandLine(fixed);
    if (request.base.fieldSolver) throw UsageError("solver=field answers analyze and synthesize, not a sweep");
    if (swept.empty()) throw UsageError("nothing to sweep: give KEY=START:STOP:N");
    ParseSweptKey(request, swept);
    for (const auto& [key, value] : request.base.values)
        if (key == request.key) throw UsageError("key '" + key + "' given twice");
    if (request.format == SweepRequest::Format::Touchstone &&
        request.variable.kind != SweepVariable::Kind::Frequency)
        throw UsageError("--format touchstone needs a frequency sweep (f=START:STOP:N)");
    if (const std::string problem = SweepRangeProblem(request.range); !problem.empty())
        throw UsageError(problem);
    const LineType& line = *request.base.line;
    CheckInputRule(line, request.key, request.rangeTexts.first, request.range.start);
    CheckInputRule(line, request.key, request.rangeTexts.second, request.range.stop);
    const auto warn = [&](const std::string& text, double si) {
        if (std::string warning = SenseWarning(request.key, text, si); !warning.empty())
            request.base.warnings.push_back(std::move(warning));
    };
    warn(request.rangeTexts.first, request.range.start);
    warn(request.rangeTexts.second, request.range.stop);
    return request;
}

std::string Quoted(const std::string& text) {
    return JsonText(text);
}

// A number as JSON: the shortest exact text, null where there is none.
std::string JsonNumber(double value) {
    return std::isfinite(value) ? FormatExact(value) : "null";
}

// Written directly, a point per line: a tree of 1000 ordered objects cost
// more than the sweep itself.
void WriteJson(std::ostream& out, const SweepRequest& request, Worksheet& sheet,
               const std::vector<SweepPoint>& points) {
    const LineType& line = *request.base.line;
    const std::vector<SweepColumn> columns = SweepColumns(line, request.variable);
    out << "{\n \"line\": " << Quoted(line.cliName) << ",\n \"operation\": \"sweep\",\n";
    if (line.coupled)
        out << " \"mode\": "
            << (request.base.bothModes   ? "\"both\""
                : sheet.ModeIndex() == 1 ? "\"odd\""
                                         : "\"even\"")
            << ",\n";
    out << " \"swept\": " << Quoted(request.key)
        << ",\n \"scale\": " << (request.range.logarithmic ? "\"log\"" : "\"linear\"")
        << ",\n \"columns\": [";
    for (const SweepColumn& column : columns)
        out << Quoted(column.name) << ", ";
    out << "\"warnings\", \"error\"],\n \"points\": [";
    const char* separator = "\n  ";
    for (const SweepPoint& point : points) {
        out << separator << '{';
        separator = ",\n  ";
        const std::vector<double> cells = SweepCells(line, columns, point);
        for (std::size_t c = 0; c < columns.size(); ++c)
            out << Quoted(columns[c].name) << ": " << JsonNumber(cells[c]) << ", ";
        out << "\"warnings\": " << JsonText(point.warnings)
            << ", \"error\": " << (point.Ok() ? "null" : Quoted(point.error)) << '}';
    }
    out << "\n ]\n}\n";
}

int Fail(std::ostream& out, const std::string& text) {
    out << JsonText({{"error", text}}) << '\n';
    return 1;
}

} // namespace

int RunSweepCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SweepRequest request;
    try {
        request = ParseSweep(args);
    } catch (const std::runtime_error&) {
        return ReportParseFailure(out, err);
    }
    const LineType& line = *request.base.line;
    // A table has no place for them: the command line's warnings go to stderr.
    for (const std::string& warning : request.base.warnings)
        err << "tavrel-calc: warning: " << warning << '\n';
    try {
        Worksheet sheet;
        const std::unique_ptr<LineModel> model = PrepareLine(request.base, sheet);
        // Read once, as Analyze would; the swept input is replaced per point.
        LineInputs base = model->ReadInputs();
        base.length = model->GetPhysicalLength();
        const std::vector<SweepPoint> points =
            RunSweep(line, base, request.variable, request.range);
        switch (request.format) {
        case SweepRequest::Format::Json:
            WriteJson(out, request, sheet, points);
            break;
        case SweepRequest::Format::Touchstone: {
            // Built whole first: a point without a result writes nothing.
            std::ostringstream file;
            WriteSweepTouchstone(file, line, base, request.variable, points, request.zRef);
            out << file.str();
            break;
        }
        case SweepRequest::Format::Csv:
            WriteSweepTable(out, line, base, request.variable, points);
            break;
        }
    } catch (...) {
        return Fail(out, CurrentErrorText("Unknown calculation error"));
    }
    out.flush();
    if (!out) {
        err << "tavrel-calc: the output could not be written\n";
        return 1;
    }
    return 0;
}
