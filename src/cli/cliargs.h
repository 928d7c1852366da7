// Command-line parsing of tavrel-calc: the operation, the line and its
// KEY=VALUE inputs, each value a number in SI units or a number followed by a
// unit name of the window's tables.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/coupledsynthesis.h"
#include "core/lineinputs.h"
#include "models/linetypes.h"

// A bad command line: exit status 2 with the message on stderr.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A value the window would refuse when the focus leaves its edit: exit status
// 1 with the window's message, the value named by its key.
class InputRuleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class Quantity {
    Length,
    Frequency,
    Angle,
    Conductivity,
    Impedance,
    Plain,
    Mode,
    PairTarget,
    Solve,
    Choice
};

class Worksheet;

// The keys every line takes besides its dimensions, in the order the output
// lists them: each with its quantity and the Worksheet value it sets.
struct CommonKey {
    const char* key;
    Quantity quantity;
    double Worksheet::*value;
};
const std::vector<CommonKey>& CommonKeys();
// The solder mask and cover keys of a line that takes them (Tm, Erm, tandm, Hc).
const std::vector<CommonKey>& CoatingKeys();
// The keys of `line` beside its dimensions: the common ones, then its coating's.
std::vector<CommonKey> LineKeys(const LineType& line);

// The quantity a key of this line type stands for, or nullopt for an unknown key.
std::optional<Quantity> KeyQuantity(const LineType& line, std::string_view key);

// The coupled-synthesis target a key names ("Zdiff" ...), or nullopt.
std::optional<PairFigure> PairFigureOfKey(std::string_view key);

// "0.6mm" -> 0.0006; "10GHz" -> 1e10; "90deg" -> 90; "5.8e7S/m" -> 5.8e7.
// Unit names match as the window spells them, or else case-insensitively.
// Throws UsageError for a malformed or non-finite value or a unit that does
// not fit the quantity.
double ParseQuantity(std::string_view text, Quantity quantity);

// The input rules (core/inputrules.h) for the value of `key` of this line
// (as given, `text`; `si` its value), as the command line holds them.
// Raises InputRuleError with the rule's message, e.g. "[f=-10GHz] This value
// must be greater then zero".
void CheckInputRule(const LineType& line, std::string_view key, std::string_view text, double si);

struct CliRequest {
    enum class Operation { Analyze, Synthesize, Help, Version } operation = Operation::Help;
    const LineType* line = nullptr;
    std::vector<std::pair<std::string, double>> values; // key, SI value, in command-line order
    std::optional<int> mode;                            // 0 even, 1 odd
    bool bothModes = false;                             // mode=both: even, odd and the pair figures
    std::vector<PairTarget> pairTargets;        // coupled synthesis: Zdiff, Zcomm, Zeven, Zodd
    std::optional<PairSolve> pairSolve;         // solve=W|S|WS; default from the targets
    const RoughnessModel* roughModel = nullptr; // rough_model=KEYWORD; null: not given
    const DielectricModel* dkModel = nullptr;   // dk_model=KEYWORD; null: not given
    bool fieldSolver = false;                   // solver=field: the field solver answers
    // Values accepted but outside what any model was made for (SenseWarning).
    std::vector<std::string> warnings;
};

// The warning for a value the input rules accept but no model was made for
// (a roughness above 1 mm ...), or empty.
std::string SenseWarning(std::string_view key, std::string_view text, double si);

CliRequest ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
