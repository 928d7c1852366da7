#include "cli/cliargs.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "cli/subcommands.h"
#include "core/inputrules.h"
#include "core/materialmodels.h"
#include "core/worksheet.h"
#include "quantities/units.h"

namespace {

std::optional<double> LookUp(const UnitTable& table, std::string_view unit) {
    for (const UnitEntry& u : table.Entries())
        if (unit == u.name) return u.factor;
    auto equalNoCase = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) ==
                          std::tolower(static_cast<unsigned char>(y));
               });
    };
    for (const UnitEntry& u : table.Entries())
        if (equalNoCase(unit, u.name)) return u.factor;
    return std::nullopt;
}

std::optional<double> UnitFactor(Quantity quantity, std::string_view unit) {
    // The window's own tables, built once.
    static const UnitTables tables;
    switch (quantity) {
    case Quantity::Length:
        return LookUp(tables.length, unit);
    case Quantity::Frequency:
        return LookUp(tables.frequency, unit);
    case Quantity::Angle:
        return LookUp(tables.angle, unit);
    case Quantity::Conductivity:
        return LookUp(tables.conductivity, unit);
    case Quantity::Impedance:
        return LookUp(tables.impedance, unit);
    default:
        return std::nullopt;
    }
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// rough_model=... and dk_model=..., by the keywords of the models' tables;
// solver=closed-form|field.
void ParseChoice(const std::string& key, const std::string& value, CliRequest& request) {
    if (key == "solver") {
        if (value != "field" && value != "closed-form")
            throw UsageError("solver must be closed-form or field, got '" + value + "'");
        request.fieldSolver = value == "field";
        return;
    }
    if (key == "rough_model") {
        request.roughModel = FindRoughnessModel(value);
        if (request.roughModel == nullptr)
            throw UsageError("rough_model must be " + KeywordList(RoughnessModels(), true) +
                             ", got '" + value + "'");
        return;
    }
    request.dkModel = FindDielectricModel(value);
    if (request.dkModel == nullptr)
        throw UsageError("dk_model must be " + KeywordList(DielectricModels(), true) + ", got '" +
                         value + "'");
}

} // namespace

std::optional<PairFigure> PairFigureOfKey(std::string_view key) {
    for (PairFigure figure :
         {PairFigure::Zdiff, PairFigure::Zcomm, PairFigure::Zeven, PairFigure::Zodd})
        if (key == PairFigureName(figure)) return figure;
    return std::nullopt;
}

const std::vector<CommonKey>& CommonKeys() {
    static const std::vector<CommonKey> keys{
        {"Er", Quantity::Plain, &Worksheet::dielConstant},
        {"tand", Quantity::Plain, &Worksheet::lossTangent},
        {"sigma", Quantity::Conductivity, &Worksheet::conductivity},
        {"f", Quantity::Frequency, &Worksheet::frequency},
        {"L", Quantity::Length, &Worksheet::physicalLength},
        {"E", Quantity::Angle, &Worksheet::electricalLength},
        {"Z0", Quantity::Impedance, &Worksheet::impedance},
        {"rough", Quantity::Length, &Worksheet::rough},
        {"f_ref", Quantity::Frequency, &Worksheet::fRef},
        {"f_pole_low", Quantity::Frequency, &Worksheet::fPoleLow},
        {"f_pole_high", Quantity::Frequency, &Worksheet::fPoleHigh},
    };
    return keys;
}

const std::vector<CommonKey>& CoatingKeys() {
    static const std::vector<CommonKey> keys{
        {"Tm", Quantity::Length, &Worksheet::tm},
        {"Erm", Quantity::Plain, &Worksheet::erm},
        {"tandm", Quantity::Plain, &Worksheet::tandm},
        {"Hc", Quantity::Length, &Worksheet::hc},
    };
    return keys;
}

std::vector<CommonKey> LineKeys(const LineType& line) {
    std::vector<CommonKey> keys = CommonKeys();
    if (line.coated) keys.insert(keys.end(), CoatingKeys().begin(), CoatingKeys().end());
    return keys;
}

std::optional<Quantity> KeyQuantity(const LineType& line, std::string_view key) {
    for (int row = 1; row <= line.RowCount(); ++row)
        if (key == line.dimensionKeys[static_cast<std::size_t>(row - 1)])
            return line.FixedRowUnit(row) != nullptr ? Quantity::Plain : Quantity::Length;
    for (const CommonKey& common : LineKeys(line))
        if (key == common.key) return common.quantity;
    if (line.coupled) {
        if (key == "mode") return Quantity::Mode;
        if (key == "solve") return Quantity::Solve;
        if (PairFigureOfKey(key)) return Quantity::PairTarget;
    }
    if (key == "rough_model" || key == "dk_model" || key == "solver") return Quantity::Choice;
    return std::nullopt;
}

double ParseQuantity(std::string_view text, Quantity quantity) {
    const std::string_view original = text;
    text = Trim(text);
    // A sign after a sign ("+-1") is no number, whatever from_chars would
    // make of the second one.
    const auto isSign = [](char c) { return c == '+' || c == '-'; };
    if (text.size() >= 2 && isSign(text[0]) && isSign(text[1]))
        throw UsageError("malformed value '" + std::string(original) + "'");
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double number = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || !std::isfinite(number))
        throw UsageError("malformed value '" + std::string(original) + "'");
    const std::string_view unit = Trim(text.substr(static_cast<std::size_t>(end - text.data())));
    if (unit.empty()) return number;
    const std::optional<double> factor = UnitFactor(quantity, unit);
    if (!factor)
        throw UsageError("unknown unit '" + std::string(unit) + "' in '" + std::string(original) +
                         "'");
    // A unit below its SI unit (KHz, GHz, S/mm) has a factor like 1e-9 that no
    // double holds exactly: dividing by it turns 1GHz into 999999999.9999999.
    // Its reciprocal is a whole number, and multiplying by that is exact.
    const double reciprocal = std::round(1.0 / *factor);
    const bool wholeReciprocal = *factor < 1.0 && std::fabs(1.0 / *factor - reciprocal) <= 1e-6;
    const double si = wholeReciprocal ? number * reciprocal : number / *factor;
    if (!std::isfinite(si)) throw UsageError("value out of range '" + std::string(original) + "'");
    return si;
}

void CheckInputRule(const LineType& line, std::string_view key, std::string_view text, double si) {
    const std::optional<InputRule> rule = FindInputRule(line, key);
    if (rule && !Passes(rule->commandLine, si))
        throw InputRuleError(InputRuleMessage(*rule, std::string(key) + "=" + std::string(text)));
}

std::string SenseWarning(std::string_view key, std::string_view text, double si) {
    struct Limit {
        const char* key;
        double above;
        const char* beyond;
    };
    static constexpr Limit kLimits[] = {
        {"rough", 1e-3, "above 1 mm: no roughness model reaches that far"},
        {"tand", 1.0, "above 1: no dielectric loss model reaches that far"},
    };
    for (const Limit& limit : kLimits)
        if (key == limit.key && si > limit.above)
            return std::string(key) + "=" + std::string(text) + " is " + limit.beyond;
    return {};
}

namespace {

// The targets of a coupled synthesis fit what is solved: one target for W
// or S alone, one of each mode for both.
void CheckPairRequest(CliRequest& request) {
    const bool synthesize = request.operation == CliRequest::Operation::Synthesize;
    if (!request.line->coupled) return;
    if (!synthesize) {
        if (!request.pairTargets.empty() || request.pairSolve)
            throw UsageError("Zdiff, Zcomm, Zeven, Zodd and solve are synthesis keys");
        return;
    }
    const std::size_t count = request.pairTargets.size();
    if (count == 0 || count > 2)
        throw UsageError("coupled synthesis takes one or two targets of Zdiff, Zcomm, Zeven, Zodd");
    if (!request.pairSolve) request.pairSolve = DefaultPairSolve(count);
    if ((*request.pairSolve == PairSolve::WS) != (count == 2))
        throw UsageError("solve=W or solve=S takes one target, solve=WS two");
    if (count == 2) {
        const auto odd = [](const PairTarget& t) {
            return t.figure == PairFigure::Zdiff || t.figure == PairFigure::Zodd;
        };
        if (odd(request.pairTargets[0]) == odd(request.pairTargets[1]))
            throw UsageError("W and S together take one of Zdiff, Zodd and one of Zcomm, Zeven");
    }
}

} // namespace

CliRequest ParseCommandLine(const std::vector<std::string>& args) {
    CliRequest request;
    if (args.empty() || args[0] == "--help" || args[0] == "-h") return request;
    if (args[0] == "--version") {
        request.operation = CliRequest::Operation::Version;
        return request;
    }
    if (args[0] == "analyze")
        request.operation = CliRequest::Operation::Analyze;
    else if (args[0] == "synthesize")
        request.operation = CliRequest::Operation::Synthesize;
    else
        throw UsageError("unknown operation '" + args[0] + "' (analyze or synthesize)");

    if (args.size() < 2) throw UsageError("missing line type");
    request.line = FindLineType(args[1]);
    if (request.line == nullptr) {
        std::string known;
        for (const LineType& type : LineTypes())
            known += std::string(known.empty() ? "" : ", ") + type.cliName;
        throw UsageError("unknown or not yet available line type '" + args[1] +
                         "' (available: " + known + ")");
    }

    std::vector<std::pair<std::string, std::string>> given; // key, text as written
    std::vector<std::string> keys;                          // every key, to refuse a repeat
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0)
            throw UsageError("expected KEY=VALUE, got '" + arg + "'");
        const std::string key = arg.substr(0, eq);
        const std::string value = arg.substr(eq + 1);
        const std::optional<Quantity> quantity = KeyQuantity(*request.line, key);
        if (!quantity) throw UsageError("unknown key '" + key + "' for " + request.line->cliName);
        if (std::find(keys.begin(), keys.end(), key) != keys.end())
            throw UsageError("key '" + key + "' given twice");
        keys.push_back(key);
        if (*quantity == Quantity::Mode) {
            request.bothModes = value == "both";
            if (value == "even")
                request.mode = 0;
            else if (value == "odd")
                request.mode = 1;
            else if (!request.bothModes)
                throw UsageError("mode must be even, odd or both, got '" + value + "'");
            continue;
        }
        if (*quantity == Quantity::Choice) {
            ParseChoice(key, value, request);
            continue;
        }
        if (*quantity == Quantity::Solve) {
            if (value == "W")
                request.pairSolve = PairSolve::W;
            else if (value == "S")
                request.pairSolve = PairSolve::S;
            else if (value == "WS")
                request.pairSolve = PairSolve::WS;
            else
                throw UsageError("solve must be W, S or WS, got '" + value + "'");
            continue;
        }
        if (*quantity == Quantity::PairTarget) {
            request.pairTargets.push_back(
                {*PairFigureOfKey(key), ParseQuantity(value, Quantity::Impedance)});
            continue;
        }
        const double si = ParseQuantity(value, *quantity);
        request.values.emplace_back(key, si);
        given.push_back({key, value});
    }
    CheckPairRequest(request);
    // Only a command line that parses is held against the window's rules.
    for (std::size_t i = 0; i < given.size(); ++i) {
        CheckInputRule(*request.line, given[i].first, given[i].second, request.values[i].second);
        if (std::string warning =
                SenseWarning(given[i].first, given[i].second, request.values[i].second);
            !warning.empty())
            request.warnings.push_back(std::move(warning));
    }
    return request;
}

std::string UsageText() {
    std::string lines;
    for (const LineType& type : LineTypes()) {
        lines += "  " + std::string(type.cliName) + ":";
        for (const std::string& key : type.dimensionKeys)
            lines += " " + key;
        if (type.coated) lines += "  [Tm Erm tandm Hc]";
        if (type.coupled) lines += "  mode=even|odd|both";
        lines += "\n";
    }
    std::string commands;
    for (const Subcommand& command : Subcommands())
        commands += "       tavrel-calc " + std::string(command.usage) + "\n";
    return "usage: tavrel-calc analyze    <line> [KEY=VALUE ...]\n"
           "       tavrel-calc synthesize <line> [KEY=VALUE ...]\n" +
           commands +
           "       tavrel-calc --help | --version\n"
           "\n"
           "Lines and their dimension keys:\n" +
           lines +
           "Other keys: Er, tand, sigma (S/m), f (Hz), L (physical length), E (electrical\n"
           "length, degrees), Z0 (target impedance, ohms).\n"
           "Solder mask and cover (microstrip lines): Tm (mask thickness over the strips\n"
           "and the substrate, default 0: none), Erm, tandm (the mask's Er and loss\n"
           "tangent, default 3.5 and 0.02), Hc (metal cover's height above the substrate,\n"
           "default 0: none).\n"
           "Coupled lines: mode=both gives both modes and the pair's figures\n"
           "z_diff_ohm = 2 Zodd, z_comm_ohm = Zeven / 2 and\n"
           "coupling_db = 20 log10((Zeven - Zodd) / (Zeven + Zodd)).  Their synthesis\n"
           "takes targets Zdiff, Zcomm, Zeven, Zodd (ohms) and solve=W (W at the given\n"
           "S), solve=S (S at the given W) or solve=WS (both, from one target of\n"
           "Zdiff/Zodd and one of Zcomm/Zeven); one target solves W, two W and S.\n"
           "solver=field: the quasi-static field solver answers analyze and synthesize\n"
           "(impedance and eeff; loss from the closed form), solver=closed-form (default).\n"
           "Materials: rough (RMS surface roughness, default 0),\n"
           "rough_model=" +
           KeywordList(RoughnessModels(), false) +
           ", dk_model=" + KeywordList(DielectricModels(), false) +
           " (wideband\n"
           "dielectric: Er and tand hold at f_ref, poles from f_pole_low to f_pole_high).\n"
           "A value is a number in SI units or a number with a unit name: 0.6mm, 5mil,\n"
           "10GHz, 2.5KHz, 90deg, 1.5rad, 5.8e7S/m.  Keys not given take the values the\n"
           "window shows on a first start.  Output: one JSON object on stdout.\n";
}
