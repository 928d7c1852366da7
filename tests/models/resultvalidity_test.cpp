#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/calculation.h"
#include "models/linetypes.h"
#include "models/mline.h"
#include "models/resultvalidity.h"
#include "models/slotlinecalc.h"
#include "models/striplinecalc.h"

namespace {

struct SlotlineCase {
    const char* what;
    double er, frequency, gap, height;
    bool impossible;
};

}  // namespace

// Outside their ranges the slotline fits give numbers no slot can have; in
// range they give ordinary ones.
TEST(ResultValidity, SlotlineFitsOutsideTheirRange) {
    const SlotlineCase cases[] = {
        {"worked value, middle band", 6.0, 10e9, 2.5e-3, 0.635e-3, false},
        {"worked value, high band", 10.2, 10e9, 0.1e-3, 0.635e-3, false},
        {"Z0 -85 ohms", 10.2, 100e9, 0.1e-3, 0.635e-3, true},
        {"eeff 11.3 above Er", 6.0, 100e6, 10e-6, 0.635e-3, true},
        {"eeff 0.93 below 1", 10.2, 100e6, 1e-3, 0.635e-3, true},
    };
    for (const SlotlineCase& c : cases) {
        const SlotlineResult r = SlotlineKernel(c.frequency, c.gap, c.height, c.er);
        EXPECT_EQ(IsImpossibleSlotlineResult(r.impedance, r.effDielConst, c.er), c.impossible) << c.what;
    }
}

// The step says why such an answer is none: the warning that marks the
// point on a sweep's charts comes with the error.
TEST(ResultValidity, EeffAboveErIsSaidBesideTheError) {
    LineInputs in;
    in.rows = {10e-6, 0.635e-3};
    in.er = 6.0;
    in.f = 100e6;
    const LineAnswer answer = CalculateLine(*FindLineType("slotline"), in, in.Row(1));
    EXPECT_FALSE(answer.Ok());
    ASSERT_FALSE(answer.warnings.empty());
    EXPECT_EQ(answer.warnings.back(), "eeff above Er: the formulas are outside their range here");
    in.f = 10e9; // in range: no such warning
    const LineAnswer fine = CalculateLine(*FindLineType("slotline"), in, in.Row(1));
    EXPECT_TRUE(fine.Ok());
    for (const std::string& warning : fine.warnings)
        EXPECT_EQ(warning.find("eeff above Er"), std::string::npos) << warning;
}

// A negative loss (the stripline's thin-metal loss once was -2.7e-5 dB/m) or
// a number that is not one.
TEST(ResultValidity, NegativeLossOrNotANumber) {
    EXPECT_FALSE(IsImpossibleResult(50.0, 6.5, 0.0));
    EXPECT_TRUE(IsImpossibleResult(50.0, 6.5, -3.1e-6));
    EXPECT_TRUE(IsImpossibleResult(std::numeric_limits<double>::quiet_NaN(), 6.5, 0.1));
}

// The predicate agrees with the formulas: where it says the conductor loss is
// left out, the line loses nothing in a lossless dielectric, and a hair
// thicker it does.  (The coplanar lines' formulas live in their library.)
TEST(ResultValidity, ThicknessThatLeavesOutTheConductorLoss) {
    const double w = 0.6e-3, s = 0.3e-3, h = 0.635e-3, f = 1e9, sigma = 5.8e7;
    const double rho = 1.0 / (sigma * 2.44e-8);
    auto conductorLoss = [&](const std::string& line, double t) {
        if (line == "microstrip") return MicrostripKernel(w, h, t, 9.8, 0.0, rho, f).loss;
        if (line == "coupled-microstrip") return CoupledMicrostripKernel(w, s, h, t, 9.8, 0.0, f, rho).ae;
        if (line == "stripline")
            return StriplineConductorLoss(StriplineImpedance(w, h, t, 2.2).z0, f, w, h, t, 2.2, sigma);
        const double z = CoupledStriplineOddImpedance(w, s, h, t, 2.2);
        return CoupledStriplineConductorLoss(CoupledMode::Odd, z, f, w, s, h, t, 2.2, sigma);
    };
    const struct {
        const char* line;
        double thickest;  // the thickest metal left without conductor loss
    } cases[] = {{"microstrip", 1e-9}, {"coupled-microstrip", 1e-9}, {"stripline", 0.0},
                 {"coupled-stripline", 0.0}};
    // The descriptor's thickness row and thin-metal limit, at thickness t.
    auto leavesOut = [](const char* line, double t) {
        const LineType& type = *FindLineType(line);
        LineInputs in;
        if (type.thicknessRow > 0) in.rows[static_cast<std::size_t>(type.thicknessRow - 1)] = t;
        return type.LeavesOutConductorLoss(in);
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(leavesOut(c.line, c.thickest)) << c.line;
        EXPECT_EQ(conductorLoss(c.line, c.thickest), 0.0) << c.line;
        const double thicker = c.thickest > 0.0 ? c.thickest * 1.1 : 1e-12;
        EXPECT_FALSE(leavesOut(c.line, thicker)) << c.line;
        EXPECT_GT(conductorLoss(c.line, thicker), 0.0) << c.line;
    }
    EXPECT_TRUE(leavesOut("cpw", 0.0));
    EXPECT_TRUE(leavesOut("cpw-ground", 0.0));
    EXPECT_FALSE(leavesOut("coax", 0.0));
    EXPECT_FALSE(leavesOut("slotline", 0.0));
}
