// Deterministic torture sweep of every registered line type: tens of thousands
// of input combinations (zero, negative, subnormal, huge, NaN, infinite and
// ordinary values, the check boundaries among them) through Analyze and
// Synthesize.  Each call must either show finite results or report an error
// with a non-empty text, finish within a stated bound, and leave the model
// able to reproduce a reference analysis afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <string>

#include "core/worksheet.h"
#include "models/linetypes.h"

namespace {

constexpr int kAnalysesPerLine = 20000;
constexpr int kSynthesesPerLine = 1500;
// Bound on one call, synthesis included (a 10000-step scan is a few ms here;
// sanitizer and valgrind builds are an order of magnitude slower).
constexpr double kCallBoundSeconds = 2.0;

// SplitMix64: the same sequence on every platform and standard library.
class Sequence {
public:
    explicit Sequence(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t state_;
};

constexpr double kInf = std::numeric_limits<double>::infinity();

// A value around `typical`: mostly plausible, often at an edge.
double Draw(Sequence& s, double typical) {
    static const double kSpecial[] = {0.0,   -0.0, kInf, -kInf, std::numeric_limits<double>::quiet_NaN(),
                                      4.9e-324, 2.2250738585072014e-308, 1e-300, 1e300, 1.7976931348623157e308};
    const int pick = s.Below(20);
    if (pick == 0) return kSpecial[s.Below(10)];
    if (pick == 1) return -typical * std::pow(10.0, 6.0 * s.Unit() - 3.0);
    if (pick == 2) return typical * std::pow(10.0, 24.0 * s.Unit() - 12.0);
    if (pick == 3) return typical;  // exactly the typical value: check boundaries sit at round numbers
    if (pick == 4) return std::round(typical * 10.0 * s.Unit()) / 10.0;
    return typical * std::pow(10.0, 2.0 * s.Unit() - 1.0);
}

struct Inputs {
    double rows[6];
    double er, tand, sigma, f, length, degrees, target;
    int mode;
};

Inputs DrawInputs(Sequence& s, const Worksheet& defaults, int rows) {
    Inputs in{};
    for (int i = 0; i < rows; ++i) in.rows[i] = Draw(s, defaults.rowValues[i]);
    // Dielectric constants near the checks' limits (1, 2.06, 3.8, 9.7, 16, 18...).
    static const double kEr[] = {1.0, 0.99995, 2.06, 2.1, 3.8, 3.80001, 9.7, 9.8, 12.9, 16.0, 18.0, 20.0, 128.0};
    in.er = s.Below(2) ? kEr[s.Below(13)] : Draw(s, 6.0);
    in.tand = s.Below(3) ? 0.0 : Draw(s, 0.001);
    in.sigma = Draw(s, 5.8e7);
    in.f = s.Below(4) ? std::pow(10.0, 13.0 * s.Unit() - 3.0) : Draw(s, 1e10);
    in.length = Draw(s, 0.01);
    in.degrees = Draw(s, 90.0);
    in.target = Draw(s, 50.0);
    in.mode = s.Below(2);
    return in;
}

void Apply(Worksheet& sheet, const Inputs& in, int rows) {
    for (int i = 0; i < rows; ++i) sheet.SetRowValue(i + 1, in.rows[i]);
    sheet.dielConstant = in.er;
    sheet.lossTangent = in.tand;
    sheet.conductivity = in.sigma;
    sheet.frequency = in.f;
    sheet.physicalLength = in.length;
    sheet.electricalLength = in.degrees;
    sheet.impedance = in.target;
    sheet.modeIndex = in.mode;
}

// What the call wrote into the window, all of which must be finite (the rows
// are the user's own inputs, except the one a synthesis solves).
std::string NonFiniteOutput(const Worksheet& sheet, bool synthesized) {
    if (!std::isfinite(sheet.impedance)) return "impedance";
    if (!std::isfinite(sheet.effDielConst)) return "eeff";
    if (!sheet.lossBlank && !std::isfinite(sheet.lossDecibels)) return "loss";
    if (!std::isfinite(sheet.phaseConstant)) return "phase constant";
    if (!std::isfinite(sheet.electricalLength)) return "electrical length";
    if (!std::isfinite(sheet.physicalLength)) return "physical length";
    if (synthesized && !std::isfinite(sheet.rowValues[0])) return "row 1";
    return {};
}

std::string Describe(const Inputs& in, int rows) {
    std::string d;
    for (int i = 0; i < rows; ++i) d += "row" + std::to_string(i + 1) + "=" + std::to_string(in.rows[i]) + " ";
    d += "Er=" + std::to_string(in.er) + " tand=" + std::to_string(in.tand) + " sigma=" + std::to_string(in.sigma) +
         " f=" + std::to_string(in.f) + " L=" + std::to_string(in.length) + " E=" + std::to_string(in.degrees) +
         " Z0=" + std::to_string(in.target) + " mode=" + std::to_string(in.mode);
    return d;
}

class Torture : public ::testing::TestWithParam<std::string> {};

TEST_P(Torture, EveryInputEndsInResultsOrAMessage) {
    const LineType* type = FindLineType(GetParam());
    ASSERT_NE(type, nullptr);
    Worksheet sheet;
    std::unique_ptr<LineModel> model;
    try {
        model = CreateLineModel(*type, sheet);
    } catch (const std::exception& e) {
        GTEST_SKIP() << "model cannot be built here: " << e.what();
    }
    model->LoadAndSetup();
    const Worksheet defaults = sheet;
    const int rows = sheet.rowCount;

    // Reference analysis at the first-start values, to prove later calls left no damage.
    model->Analyze();
    const double referenceZ = sheet.impedance, referenceEeff = sheet.effDielConst;
    const std::size_t referenceErrors = sheet.errors.size();

    Sequence s(0x7A5E1u + static_cast<std::uint64_t>(type->tabIndex));
    int results = 0, messages = 0, escaped = 0;
    double slowest = 0.0;
    const int calls = kAnalysesPerLine + (type->coupled ? 0 : kSynthesesPerLine);
    for (int call = 0; call < calls; ++call) {
        const bool synthesize = call >= kAnalysesPerLine;
        const Inputs in = DrawInputs(s, defaults, rows);
        Apply(sheet, in, rows);
        const std::size_t errorsBefore = sheet.errors.size();
        const auto start = std::chrono::steady_clock::now();
        std::string escapedText;
        bool escapedAtAll = false;
        try {
            synthesize ? model->Synthesize() : model->Analyze();
        } catch (const std::exception& e) {
            escapedAtAll = true;
            escapedText = e.what();
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        slowest = std::max(slowest, seconds);
        ASSERT_LT(seconds, kCallBoundSeconds) << (synthesize ? "Synthesize " : "Analyze ") << Describe(in, rows);
        ASSERT_EQ(sheet.busyDepth, 0) << "busy cursor left on: " << Describe(in, rows);

        if (escapedAtAll) {
            ++escaped;
            ASSERT_FALSE(escapedText.empty()) << Describe(in, rows);
        } else if (sheet.errors.size() > errorsBefore) {
            ++messages;
            ASSERT_FALSE(sheet.errors.back().empty()) << Describe(in, rows);
        } else {
            ++results;
            const std::string bad = NonFiniteOutput(sheet, synthesize);
            ASSERT_TRUE(bad.empty()) << bad << " not finite after " << (synthesize ? "Synthesize " : "Analyze ")
                                     << Describe(in, rows);
        }

        if (call % 97 == 0 || call == calls - 1) {
            Worksheet fresh = defaults;
            sheet.rowValues = fresh.rowValues;
            Apply(sheet, Inputs{{fresh.rowValues[0], fresh.rowValues[1], fresh.rowValues[2], fresh.rowValues[3],
                                 fresh.rowValues[4], fresh.rowValues[5]},
                                fresh.dielConstant, fresh.lossTangent, fresh.conductivity, fresh.frequency,
                                fresh.physicalLength, fresh.electricalLength, fresh.impedance, defaults.modeIndex},
                  rows);
            const std::size_t before = sheet.errors.size();
            model->Analyze();
            ASSERT_EQ(sheet.errors.size() - before, referenceErrors) << "after " << Describe(in, rows);
            ASSERT_EQ(sheet.impedance, referenceZ) << "state left behind by " << Describe(in, rows);
            ASSERT_EQ(sheet.effDielConst, referenceEeff);
        }
    }
    RecordProperty("results", results);
    RecordProperty("messages", messages);
    RecordProperty("escaped", escaped);
    std::printf("%s: %d calls, %d results, %d messages, %d other errors, slowest %.2f ms\n", type->cliName, calls,
                results, messages, escaped, slowest * 1e3);
    EXPECT_GT(results, calls / 20) << "the sweep should reach valid inputs too";
}

std::vector<std::string> RegisteredLines() {
    std::vector<std::string> names;
    for (const LineType& type : LineTypes()) names.push_back(type.cliName);
    return names;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(AllLines, Torture, ::testing::ValuesIn(RegisteredLines()), TestName);
