// Reference values of the waveguide, the twisted pair and the offset
// striplines: textbook values (with their source), values of the in-app
// field solver, and the reduction cases that must give another line's
// numbers.  Everything goes through the one calculation step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/calculation.h"
#include "core/verifiedrange.h"
#include "core/widebanddielectric.h"
#include "models/linetypes.h"
#include "models/waveguidecalc.h"
#include "numeric/constants.h"

namespace {

LineInputs Inputs(std::vector<double> rows, double er, double f, double tand = 0.0,
                  double sigma = 0.0) {
    LineInputs in;
    for (std::size_t i = 0; i < rows.size(); ++i)
        in.rows[i] = rows[i];
    in.er = er;
    in.f = f;
    in.tand = tand;
    in.rho = sigma > 0.0 ? 1.0 / (sigma * constants::kGoldResistivity) : 0.0;
    in.mode = 0;
    return in;
}

LineAnswer Answer(const char* line, const LineInputs& in) {
    const LineAnswer answer = CalculateLine(*FindLineType(line), in, in.Row(1));
    EXPECT_TRUE(answer.Ok()) << line << ": " << answer.ErrorText();
    return answer;
}

// Textbook values, to the digits the source gives.
TEST(NewLineReferences, WaveguideAgreesWithPozar) {
    // WR-90 in air (Pozar, "Microwave Engineering", 4th ed., section 3.3).
    const LineAnswer wr90 = Answer("waveguide", Inputs({22.86e-3, 10.16e-3}, 1.0, 10e9));
    EXPECT_NEAR(WaveguideCutoff(1, 0, 22.86e-3, 10.16e-3, 1.0), 6.557e9, 0.0005e9);
    EXPECT_NEAR(wr90.result.impedance, 498.97, 0.005);
    EXPECT_TRUE(wr90.warnings.empty());

    // Pozar's Example 3.1: Teflon-filled K-band guide, copper, 15 GHz.  The
    // book's cut-offs use c = 3e8 m/s, 0.07 % above ours.
    const LineAnswer k = Answer("waveguide", Inputs({1.07e-2, 0.43e-2}, 2.08, 15e9, 4e-4, 5.813e7));
    EXPECT_NEAR(k.result.conductorLoss, 0.050, 0.0005);
    EXPECT_NEAR(k.result.dielectricLoss, 0.119, 0.0005);
    const std::vector<GuideMode> modes = waveguide::Modes(k.inputs);
    const std::vector<std::pair<std::string, double>> pozar{{"TE10", 9.72e9},  {"TE20", 19.44e9},
                                                            {"TE01", 24.19e9}, {"TE11", 26.06e9},
                                                            {"TM11", 26.06e9}, {"TE30", 29.16e9}};
    ASSERT_EQ(modes.size(), pozar.size());
    for (std::size_t i = 0; i < modes.size(); ++i) {
        EXPECT_EQ(modes[i].name, pozar[i].first);
        EXPECT_NEAR(modes[i].cutoff, pozar[i].second, 1.5e-3 * pozar[i].second);
        EXPECT_EQ(modes[i].propagates, i == 0);
    }
    // Above TE20's cut-off the guide is multimode, and says which mode.
    const LineAnswer multi = Answer("waveguide", Inputs({1.07e-2, 0.43e-2}, 2.08, 20e9));
    ASSERT_EQ(multi.warnings.size(), 1u);
    EXPECT_EQ(multi.warnings[0], "Multimode: the TE20 mode propagates above 19.427 GHz");
}

// A square guide's cut-offs tie in pairs: ties keep the order of the
// indices, TE before TM.
TEST(NewLineReferences, WaveguideModesOfEqualCutoffKeepTheirIndexOrder) {
    const LineInputs in = Inputs({10e-3, 10e-3}, 1.0, 20e9);
    std::vector<std::string> names;
    for (const GuideMode& mode : waveguide::Modes(AtFrequency(in)))
        names.push_back(mode.name);
    EXPECT_EQ(names, (std::vector<std::string>{"TE01", "TE10", "TE11", "TM11", "TE02", "TE20"}));
    // A flat guide (b < a / 6): TE60 comes before TE01.
    names.clear();
    for (const GuideMode& mode : waveguide::Modes(AtFrequency(Inputs({22.86e-3, 3e-3}, 1.0, 10e9))))
        names.push_back(mode.name);
    EXPECT_EQ(names, (std::vector<std::string>{"TE10", "TE20", "TE30", "TE40", "TE50", "TE60"}));
}

TEST(NewLineReferences, WaveguideBelowCutoffShowsOnlyThatItDoesNotPropagate) {
    const LineInputs in = Inputs({22.86e-3, 10.16e-3}, 1.0, 6e9);
    const LineAnswer below = CalculateLine(*FindLineType("waveguide"), in, in.Row(1));
    ASSERT_FALSE(below.Ok());
    EXPECT_EQ(below.ErrorText(),
              "Below the TE10 cut-off (f_c = 6.55714 GHz): the guide does not propagate");
    EXPECT_TRUE(below.warnings.empty());
}

// Reduction cases: in air the twisted pair is the exact two-wire line, and
// the offset striplines with H1 = H2 and one Er are the centred ones.
TEST(NewLineReferences, ReductionsGiveTheSimplerLine) {
    for (double ratio : {1.1, 2.0, 5.0}) {
        const LineAnswer pair =
            Answer("twisted-pair", Inputs({ratio * 0.5e-3, 0.5e-3, 60, 1.0}, 1.0, 1e8));
        EXPECT_NEAR(pair.result.impedance, constants::kEta0 / constants::kPi * std::acosh(ratio),
                    1e-12 * pair.result.impedance);
        EXPECT_EQ(pair.result.eeff, 1.0);
    }
    for (double t : {0.0, 35e-6}) {
        const double h = 0.4e-3;
        const LineAnswer offset =
            Answer("offset-stripline", Inputs({0.3e-3, h, h, t, 0.0}, 4.4, 1e9, 0.02, 5.8e7));
        const LineAnswer centred =
            Answer("stripline", Inputs({0.3e-3, 2 * h + t, t}, 4.4, 1e9, 0.02, 5.8e7));
        for (auto [a, b] : {std::pair{offset.result.impedance, centred.result.impedance},
                            {offset.result.eeff, centred.result.eeff},
                            {offset.result.conductorLoss, centred.result.conductorLoss},
                            {offset.result.dielectricLoss, centred.result.dielectricLoss}})
            EXPECT_NEAR(a, b, 1e-9 * std::fabs(b)) << "T = " << t;
        const LineAnswer offsetPair =
            Answer("offset-coupled-stripline",
                   Inputs({0.3e-3, 0.2e-3, h, h, t, 4.4}, 4.4, 1e9, 0.02, 5.8e7));
        const LineAnswer centredPair = Answer(
            "coupled-stripline", Inputs({0.3e-3, 0.2e-3, 2 * h + t, t}, 4.4, 1e9, 0.02, 5.8e7));
        for (auto [a, b] : {std::pair{&offsetPair.result.even, &centredPair.result.even},
                            {&offsetPair.result.odd, &centredPair.result.odd}}) {
            EXPECT_NEAR(a->impedance, b->impedance, 1e-9 * b->impedance) << "T = " << t;
            EXPECT_NEAR(a->loss, b->loss, 1e-9 * b->loss) << "T = " << t;
            EXPECT_EQ(a->eeff, b->eeff);
        }
    }
    // A thin centred strip's plane carries no field beside the strip: two
    // dielectrics fill it in parallel, eeff their mean.
    const LineAnswer layered =
        Answer("offset-stripline", Inputs({0.3e-3, 0.4e-3, 0.4e-3, 0.0, 2.2}, 4.4, 1e9));
    EXPECT_NEAR(layered.result.eeff, (4.4 + 2.2) / 2.0, 1e-12);
}

// The in-app field solver at its default meshes with Richardson
// extrapolation (estimated error 0.02-0.16 %), e.g.
//   tavrel-calc fieldsolve offset-stripline W=0.5mm H1=0.3mm H2=0.6mm T=35um Er=4.4
// The closed forms must stay within 1 % of them, in Z and, with two
// dielectrics, in eeff.
struct FieldValue {
    const char* line;
    std::vector<double> rows;
    double er;
    double even, eeffEven; // ohms; the single line's impedance and eeff
    double odd, eeffOdd;   // 0 for a single line
};

TEST(NewLineReferences, OffsetStriplinesAgreeWithTheFieldSolver) {
    const FieldValue values[] = {
        {"offset-stripline", {0.5e-3, 0.3e-3, 0.6e-3, 35e-6, 0.0}, 4.4, 39.2705, 4.4, 0.0, 0.0},
        {"offset-stripline", {0.25e-3, 0.2e-3, 0.8e-3, 17.5e-6, 0.0}, 4.4, 49.7169, 4.4, 0.0, 0.0},
        // A core below, a prepreg above (... Er=4.4 Er2=3.0): eeff was 1.7 % off.
        {"offset-stripline", {0.3e-3, 0.2e-3, 0.5e-3, 35e-6, 3.0}, 4.4, 45.1692, 3.80894, 0.0, 0.0},
        // A thick wide strip near a core of 5.7 under a prepreg of 2.2 (... W=1.36mm
        // H1=0.5mm H2=1.93mm T=80um Er=5.7 Er2=2.2): eeff was 1.03 % high.
        {"offset-stripline",
         {1.36e-3, 0.5e-3, 1.93e-3, 80e-6, 2.2},
         5.7,
         31.4749,
         4.47763,
         0.0,
         0.0},
        {"offset-coupled-stripline",
         {0.3e-3, 0.2e-3, 0.3e-3, 0.6e-3, 35e-6, 0.0},
         4.4,
         60.5385,
         4.4,
         39.1044,
         4.4},
        {"offset-coupled-stripline",
         {0.2e-3, 0.25e-3, 0.2e-3, 0.4e-3, 17.5e-6, 6.0},
         3.66,
         55.3510,
         4.62100,
         43.9454,
         4.79231},
        // The solver's stacked pair behind its symmetry plane:
        //   tavrel-calc fieldsolve broadside-coupled-stripline W=0.3mm S=0.2mm B=1mm T=17.5um
        //   Er=4.4
        {"broadside-coupled-stripline",
         {0.3e-3, 0.2e-3, 1e-3, 17.5e-6},
         4.4,
         83.1320,
         4.4,
         29.7330,
         4.4},
        // Narrow strips far apart: the even mode was 5 % low.
        {"broadside-coupled-stripline",
         {0.15e-3, 0.25e-3, 1e-3, 17.5e-6},
         4.4,
         97.2988,
         4.4,
         48.1845,
         4.4},
        // Wide thin strips close together: the odd half lies past Cohn's
        // clamped modulus, where the odd mode was 190 % high.
        {"broadside-coupled-stripline",
         {1.5e-3, 0.1e-3, 1e-3, 0.0},
         4.4,
         40.3970,
         4.4,
         5.0403,
         4.4},
    };
    for (const FieldValue& v : values) {
        const LineAnswer a = Answer(v.line, Inputs(v.rows, v.er, 1e6));
        const bool pair = v.odd > 0.0;
        const LineValues& first = pair ? a.result.even : a.result;
        EXPECT_NEAR(first.impedance, v.even, 0.01 * v.even) << v.line;
        EXPECT_NEAR(first.eeff, v.eeffEven, 0.01 * v.eeffEven) << v.line;
        if (!pair) continue;
        EXPECT_NEAR(a.result.odd.impedance, v.odd, 0.01 * v.odd) << v.line;
        EXPECT_NEAR(a.result.odd.eeff, v.eeffOdd, 0.01 * v.eeffOdd) << v.line;
    }
}

// eeff lies between the two dielectrics' Er: above Er, up to the second
// one's, is no formula leaving its range (it was warned as one).
TEST(NewLineReferences, ASecondDielectricAboveErIsNoWarning) {
    const struct {
        const char* line;
        std::vector<double> rows;
        double er;
    } lines[] = {
        {"offset-coupled-stripline", {0.2e-3, 0.25e-3, 0.2e-3, 0.4e-3, 17.5e-6, 6.0}, 3.66},
        {"twisted-pair", {1e-3, 0.5e-3, 60, 4.0}, 2.0}};
    for (const auto& l : lines) {
        const LineAnswer a = Answer(l.line, Inputs(l.rows, l.er, 1e8));
        EXPECT_GT(a.result.eeff, l.er) << l.line;
        EXPECT_TRUE(a.warnings.empty()) << l.line << ": " << a.warnings.front();
    }
}

// The boxes the closed forms were measured in: just inside, no warning; just
// past one edge, the verified-range warning.
TEST(NewLineReferences, OffsetStriplinesWarnOutsideTheirVerifiedBoxes) {
    const struct {
        const char* line;
        std::vector<double> inside, outside;
    } edges[] = {
        // H2/H1 at 4, then 4.4.
        {"offset-stripline",
         {0.3e-3, 0.1e-3, 0.4e-3, 10e-6, 0.0},
         {0.3e-3, 0.1e-3, 0.44e-3, 10e-6, 0.0}},
        // A prepreg above of three times Er (4.4), then of three and a half.
        {"offset-stripline",
         {0.3e-3, 0.2e-3, 0.4e-3, 10e-6, 13.2},
         {0.3e-3, 0.2e-3, 0.4e-3, 10e-6, 15.4}},
        // ... and of a third of it, then of less.
        {"offset-coupled-stripline",
         {0.2e-3, 0.2e-3, 0.2e-3, 0.3e-3, 20e-6, 4.4 / 3.0},
         {0.2e-3, 0.2e-3, 0.2e-3, 0.3e-3, 20e-6, 1.2}},
        // T = W/5, then T = W/4: the centred pair's own 1.2 %.
        {"offset-coupled-stripline",
         {0.2e-3, 0.2e-3, 0.2e-3, 0.3e-3, 40e-6, 0.0},
         {0.2e-3, 0.2e-3, 0.2e-3, 0.3e-3, 50e-6, 0.0}},
        // S = 2 W, then 2.5 W.
        {"broadside-coupled-stripline",
         {0.1e-3, 0.2e-3, 1e-3, 17.5e-6},
         {0.08e-3, 0.2e-3, 1e-3, 17.5e-6}},
    };
    const auto unverified = [](const char* line, const std::vector<double>& rows) {
        const std::vector<std::string> warnings = Answer(line, Inputs(rows, 4.4, 1e9)).warnings;
        return std::any_of(warnings.begin(), warnings.end(), IsVerifiedRangeWarning);
    };
    for (const auto& edge : edges) {
        EXPECT_FALSE(unverified(edge.line, edge.inside)) << edge.line;
        EXPECT_TRUE(unverified(edge.line, edge.outside)) << edge.line;
    }
}

} // namespace
