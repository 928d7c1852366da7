// Command-line parsing of tavrel-calc: the operation, the line and its
// KEY=VALUE inputs, each value a number in SI units or a number followed by a
// unit name of the window's tables.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/lineinputs.h"
#include "models/linetypes.h"

// A bad command line: exit status 2 with the message on stderr.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class Quantity { Length, Frequency, Angle, Conductivity, Impedance, Plain, Mode, Choice };

class Worksheet;

// The keys every line takes besides its dimensions, in the order the output
// lists them: each with its quantity and the Worksheet value it sets.
struct CommonKey {
    const char* key;
    Quantity quantity;
    double Worksheet::*value;
};
const std::vector<CommonKey>& CommonKeys();

// The quantity a key of this line type stands for, or nullopt for an unknown key.
std::optional<Quantity> KeyQuantity(const LineType& line, std::string_view key);

// "0.6mm" -> 0.0006; "10GHz" -> 1e10; "90deg" -> 90; "5.8e7S/m" -> 5.8e7.
// Unit names match as the window spells them, or else case-insensitively.
// Throws UsageError for a malformed or non-finite value or a unit that does
// not fit the quantity.
double ParseQuantity(std::string_view text, Quantity quantity);

struct CliRequest {
    enum class Operation { Analyze, Synthesize, Help, Version } operation = Operation::Help;
    const LineType* line = nullptr;
    std::vector<std::pair<std::string, double>> values; // key, SI value, in command-line order
    std::optional<int> mode;                            // 0 even, 1 odd
    std::optional<RoughnessModel> roughModel;           // rough_model=hammerstad|groiss
    std::optional<DielectricModel> dkModel;             // dk_model=constant|djsarkar
};

// The names of the material models on the command line and in its output.
const char* RoughnessModelKeyword(RoughnessModel model);   // "hammerstad", "groiss"
const char* DielectricModelKeyword(DielectricModel model); // "constant", "djsarkar"

CliRequest ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
