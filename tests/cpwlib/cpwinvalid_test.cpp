// Inputs where the coplanar formulas do not apply: NaN in all three outputs
// and a non-zero status, never a number that looks like a result, never a
// crash, and never a floating-point flag left for the caller.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "cpwcall.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kDenormal = 4.9406564584124654e-324;
constexpr int kFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

void ExpectRejected(const CpwOutputs& out, int status, const char* what) {
    EXPECT_EQ(out.status, status) << what;
    EXPECT_TRUE(std::isnan(out.loss)) << what;
    EXPECT_TRUE(std::isnan(out.impedance)) << what;
    EXPECT_TRUE(std::isnan(out.eeff)) << what;
}

// A successful call's outputs are plausible; a failed one's are all NaN.
void ExpectResultOrNaN(const CpwOutputs& out, const char* what) {
    if (out.status == QRX_CPW_OK) {
        EXPECT_TRUE(std::isfinite(out.impedance) && out.impedance > 0.0) << what;
        EXPECT_TRUE(std::isfinite(out.eeff) && out.eeff >= 1.0) << what;
        EXPECT_TRUE(std::isfinite(out.loss) && out.loss >= 0.0) << what;
    } else {
        EXPECT_TRUE(std::isnan(out.loss) && std::isnan(out.impedance) && std::isnan(out.eeff))
            << what << " status " << out.status;
    }
}

TEST(CpwInvalid, RejectsGeometryAndMaterialsOutsideTheFormulas) {
    struct Case {
        const char* what;
        std::function<void(CpwInputs&)> change;
    };
    const std::vector<Case> cases = {
        {"W = 0", [](CpwInputs& in) { in.width = 0.0; }},
        {"W < 0", [](CpwInputs& in) { in.width = -0.5e-3; }},
        {"G = 0", [](CpwInputs& in) { in.gap = 0.0; }},
        {"G < 0", [](CpwInputs& in) { in.gap = -1e-6; }},
        {"H = 0", [](CpwInputs& in) { in.height = 0.0; }},
        {"H < 0", [](CpwInputs& in) { in.height = -1e-3; }},
        {"T < 0", [](CpwInputs& in) { in.thickness = -1e-6; }},
        {"Er < 1", [](CpwInputs& in) { in.er = 0.999; }},
        {"Er = 0", [](CpwInputs& in) { in.er = 0.0; }},
        {"Er NaN", [](CpwInputs& in) { in.er = kNaN; }},
        {"W NaN", [](CpwInputs& in) { in.width = kNaN; }},
        {"W inf", [](CpwInputs& in) { in.width = kInf; }},
        {"G inf", [](CpwInputs& in) { in.gap = kInf; }},
        {"H inf", [](CpwInputs& in) { in.height = kInf; }},
        {"T inf", [](CpwInputs& in) { in.thickness = kInf; }},
        {"tan delta NaN", [](CpwInputs& in) { in.lossTangent = kNaN; }},
        {"resistivity inf", [](CpwInputs& in) { in.resistivity = kInf; }},
        {"frequency -inf", [](CpwInputs& in) { in.frequency = -kInf; }},
        {"dispersion flag 2", [](CpwInputs& in) { in.dispersion = 2; }},
        {"dispersion flag -1", [](CpwInputs& in) { in.dispersion = -1; }},
        {"ground flag 2", [](CpwInputs& in) { in.groundPlane = 2; }},
    };
    for (int ground : {0, 1}) {
        for (const Case& c : cases) {
            CpwInputs in;
            in.thickness = 1e-6;
            in.groundPlane = ground;
            c.change(in);
            ExpectRejected(CallCpw(in), QRX_CPW_INVALID_ARGUMENT, c.what);
        }
    }
}

TEST(CpwInvalid, MetalAsThickAsTheGapFillsTheSlots) {
    // Any T below G computes, at every strip width; T >= G does not.
    CpwInputs in;
    in.gap = 10e-6;
    for (int ground : {0, 1}) {
        in.groundPlane = ground;
        for (double w : {0.5e-6, 50e-6, 2e-3}) {
            in.width = w;
            in.thickness = 9.99e-6;
            EXPECT_EQ(CallCpw(in).status, QRX_CPW_OK) << "T just below G, W " << w;
            in.thickness = 10e-6;
            ExpectRejected(CallCpw(in), QRX_CPW_GAP_CLOSED, "T = G");
            in.thickness = 1e-3;
            ExpectRejected(CallCpw(in), QRX_CPW_GAP_CLOSED, "T far above G");
        }
    }
}

TEST(CpwInvalid, NullOutputsAreNotWrittenAndOthersGetNaN) {
    double loss = 1.0, z0 = 1.0, eeff = 1.0;
    EXPECT_EQ(QRX_CPW1(0.1e-3, 0.1e-3, 0.5e-3, 1e-3, 1e-3, 0, 9.8, 0, 1, 1e9, 1, 0, 0, nullptr, &z0,
                       &eeff),
              QRX_CPW_INVALID_ARGUMENT);
    EXPECT_TRUE(std::isnan(z0) && std::isnan(eeff));
    EXPECT_EQ(QRX_CPW1(0.1e-3, 0.1e-3, 0.5e-3, 1e-3, 1e-3, 0, 9.8, 0, 1, 1e9, 1, 0, 0, &loss,
                       nullptr, nullptr),
              QRX_CPW_INVALID_ARGUMENT);
    EXPECT_TRUE(std::isnan(loss));
    EXPECT_EQ(QRX_CPW1(0.1e-3, 0.1e-3, 0.5e-3, 1e-3, 1e-3, 0, 9.8, 0, 1, 1e9, 1, 0, 0, nullptr,
                       nullptr, nullptr),
              QRX_CPW_INVALID_ARGUMENT);
}

TEST(CpwInvalid, RepeatedArgumentsAndReservedAreNotUsed) {
    // Arguments 2 and 5 repeat the gap and the height; 12 is reserved.
    double loss, z0, eeff, loss2, z02, eeff2;
    ASSERT_EQ(QRX_CPW1(0.1e-3, 0.1e-3, 0.5e-3, 1e-3, 1e-3, 1e-6, 9.8, 1e-3, 1, 1e9, 1, 0, 1, &loss,
                       &z0, &eeff),
              QRX_CPW_OK);
    ASSERT_EQ(QRX_CPW1(0.1e-3, kNaN, 0.5e-3, 1e-3, -7.0, 1e-6, 9.8, 1e-3, 1, 1e9, 1, 99, 1, &loss2,
                       &z02, &eeff2),
              QRX_CPW_OK);
    EXPECT_EQ(loss, loss2);
    EXPECT_EQ(z0, z02);
    EXPECT_EQ(eeff, eeff2);
}

TEST(CpwInvalid, AnyInputGivesAResultOrNaN) {
    // Every pair of arguments set to awkward values, the rest sensible: a
    // plausible result or NaN everywhere, and no fault flag left behind.
    const double awkward[] = {0.0,    -0.0,   -1.0,      kNaN,  kInf, -kInf, 1e308,
                              -1e308, 1e-308, kDenormal, 1e-12, 1e-3, 1.0,   1e6};
    const int flags[][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    double* slots[8];
    std::feclearexcept(FE_ALL_EXCEPT);
    int computed = 0;
    for (int i = 0; i < 8; ++i) {
        for (int j = i + 1; j < 8; ++j) {
            for (double a : awkward) {
                for (double b : awkward) {
                    for (const auto& flag : flags) {
                        CpwInputs in;
                        in.thickness = 1e-6;
                        in.lossTangent = 1e-3;
                        in.frequency = 10e9;
                        in.dispersion = flag[0];
                        in.groundPlane = flag[1];
                        double* fields[] = {&in.width,       &in.gap,      &in.height,
                                            &in.thickness,   &in.er,       &in.lossTangent,
                                            &in.resistivity, &in.frequency};
                        std::copy(std::begin(fields), std::end(fields), slots);
                        *slots[i] = a;
                        *slots[j] = b;
                        const CpwOutputs out = CallCpw(in);
                        if (out.status == QRX_CPW_OK) ++computed;
                        ExpectResultOrNaN(out, "awkward pair");
                        if (HasFailure()) {
                            ADD_FAILURE()
                                << "arguments " << i << ", " << j << " = " << a << ", " << b;
                            return;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(computed, 1000) << "most awkward values of the loss inputs are still valid";
    EXPECT_EQ(std::fetestexcept(kFaults), 0);
}

TEST(CpwInvalid, ExtremeButValidGeometryStaysComputable) {
    // Ratios far outside practice still have a definite answer.
    struct Case {
        const char* what;
        double w, g, h;
    };
    const Case cases[] = {
        {"substrate 1000 times thinner than the strip", 1e-3, 0.1e-3, 1e-6},
        {"substrate 1e8 times thicker", 1e-6, 1e-6, 100.0},
        {"gap 1e-9 of the strip", 1e-3, 1e-12, 1e-3},
        {"strip 1e-9 of the gap", 1e-12, 1e-3, 1e-3},
        {"subnormal line on a subnormal substrate", 1e-315, 1e-315, 1e-315},
    };
    for (int ground : {0, 1}) {
        for (const Case& c : cases) {
            CpwInputs in;
            in.width = c.w;
            in.gap = c.g;
            in.height = c.h;
            in.groundPlane = ground;
            const CpwOutputs out = CallCpw(in);
            EXPECT_EQ(out.status, QRX_CPW_OK) << c.what << " ground " << ground;
            ExpectResultOrNaN(out, c.what);
        }
    }
}

TEST(CpwInvalid, CallerFloatingPointStateIsKept) {
    // The caller tests its own fault flags around each call: the library must
    // neither leave faults of its own nor clear the caller's.
    std::feclearexcept(FE_ALL_EXCEPT);
    CpwInputs overflowing;
    overflowing.width = 1e308;
    overflowing.gap = 1e-308;
    overflowing.height = 1e-308;
    overflowing.groundPlane = 1;
    const CpwOutputs out = CallCpw(overflowing);
    ExpectResultOrNaN(out, "1e308 against 1e-308");
    EXPECT_EQ(std::fetestexcept(kFaults), 0);

    std::feraiseexcept(FE_DIVBYZERO);
    CallCpw(CpwInputs{});
    EXPECT_EQ(std::fetestexcept(kFaults), FE_DIVBYZERO);
    std::feclearexcept(FE_ALL_EXCEPT);

#if defined(__GLIBC__) && (defined(__x86_64__) || defined(__i386__))
    // A caller running with trapping enabled is not killed by the library.
    feenableexcept(kFaults);
    const CpwOutputs trapped = CallCpw(overflowing);
    const CpwOutputs nan = CallCpw(CpwInputs{.width = kNaN});
    fedisableexcept(kFaults);
    ExpectResultOrNaN(trapped, "trapping enabled");
    EXPECT_EQ(nan.status, QRX_CPW_INVALID_ARGUMENT);
#endif
}

} // namespace
