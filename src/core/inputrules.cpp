#include "core/inputrules.h"

namespace {

constexpr const char* kAboveZero = "This value must be greater then zero";
constexpr const char* kNotNegative = "This value must not be negative";

} // namespace

bool Passes(Bound bound, double value) {
    switch (bound) {
    case Bound::Positive:
        return value > 0.0;
    case Bound::NotNegative:
        return value >= 0.0;
    case Bound::AtLeastOne:
        return value >= 1.0;
    case Bound::Any:
        break;
    }
    return true;
}

const std::vector<InputRule>& CommonInputRules() {
    using enum Bound;
    static const std::vector<InputRule> rules{
        {"Er", AtLeastOne, AtLeastOne, "Er must be >= 1"},
        {"tand", NotNegative, NotNegative, "Loss Tangent must be >= 0."},
        {"sigma", Positive, Positive, kAboveZero},
        {"f", Positive, Positive, kAboveZero},
        {"L", Positive, Positive, kAboveZero},
        {"E", Positive, Positive, kAboveZero},
        {"Z0", Positive, Positive, kAboveZero},
        // Set in the material options dialog, which checks them itself.
        {"f_ref", Any, Positive, kAboveZero},
        {"f_pole_low", Any, Positive, kAboveZero},
        {"f_pole_high", Any, Positive, kAboveZero},
        // An output the window lets one type into; no input of tavrel-calc.
        {"phase_constant", Positive, Any, kAboveZero},
    };
    return rules;
}

const std::vector<InputRule>& CoatingInputRules() {
    using enum Bound;
    static const std::vector<InputRule> rules{
        {"Tm", NotNegative, NotNegative, kNotNegative},
        {"Erm", AtLeastOne, AtLeastOne, "Er must be >= 1"},
        {"tandm", NotNegative, NotNegative, "Loss Tangent must be >= 0."},
        {"Hc", NotNegative, NotNegative, kNotNegative},
    };
    return rules;
}

InputRule RowInputRule(const LineDescriptor& line, int row) {
    const char* key = line.dimensionKeys[static_cast<std::size_t>(row - 1)].c_str();
    if (line.FixedRowUnit(row) != nullptr) // a count or a ratio: the line's check bounds it
        return {key, Bound::NotNegative, Bound::NotNegative, kNotNegative};
    const Bound commandLine = row == line.thicknessRow ? Bound::NotNegative : Bound::Positive;
    return {key, Bound::Positive, commandLine, kAboveZero};
}

const InputRule* FindCommonInputRule(std::string_view key) {
    for (const InputRule& rule : CommonInputRules())
        if (key == rule.key) return &rule;
    return nullptr;
}

std::optional<InputRule> FindInputRule(const LineDescriptor& line, std::string_view key) {
    for (int row = 1; row <= line.RowCount(); ++row)
        if (key == line.dimensionKeys[static_cast<std::size_t>(row - 1)])
            return RowInputRule(line, row);
    if (const InputRule* rule = FindCommonInputRule(key)) return *rule;
    if (line.coated)
        for (const InputRule& rule : CoatingInputRules())
            if (key == rule.key) return rule;
    return std::nullopt;
}

std::string InputRuleMessage(const InputRule& rule, std::string_view text) {
    return "[" + std::string(text) + "] " + rule.message;
}
