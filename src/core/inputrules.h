// The rules an input value must pass before anything is calculated, one
// table for both front ends: the window holds an edit to its rule when the
// focus leaves it, tavrel-calc a value once its command line has parsed.
// Where the two differ, the row says so.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/linedescriptor.h"

enum class Bound { Any, Positive, NotNegative, AtLeastOne };

struct InputRule {
    const char* key;     // the command-line key; the window's edit of the same value
    Bound window;        // as the window's edit holds the value
    Bound commandLine;   // as tavrel-calc holds it
    const char* message; // shown after "[<value as written>] "
};

bool Passes(Bound bound, double value);

// The inputs every line has (Er, tand, sigma, f, L, E, Z0, the wideband
// model's frequencies, the window's phase constant).  rough has none here:
// the roughness has its own check and message.
const std::vector<InputRule>& CommonInputRules();

// The solder mask and cover of a line that takes them (Tm, Erm, tandm, Hc):
// a thickness or height of 0 is none.
const std::vector<InputRule>& CoatingInputRules();

// The rule of a line's row (1 first): every dimension above 0; the
// thickness row on the command line also at 0, the ideal zero-thickness
// strip the formulas define, while the window's edit still refuses 0.
InputRule RowInputRule(const LineDescriptor& line, int row);

// The rule of a key of this line (a dimension key or a common one), or
// nullopt for a key without one.
std::optional<InputRule> FindInputRule(const LineDescriptor& line, std::string_view key);
const InputRule* FindCommonInputRule(std::string_view key);

// "[" + text + "] " + the rule's message.
std::string InputRuleMessage(const InputRule& rule, std::string_view text);
