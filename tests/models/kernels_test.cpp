// The pure kernels of every line type, called as a sweep would call them:
// the loss parts where a model separates them, and both modes of a coupled
// line from one evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "core/widebanddielectric.h"
#include "models/linetypes.h"

TEST(LineKernels, LossPartsAndBothModesFromOneEvaluation) {
    const std::set<std::string> split{"microstrip",       "stripline",
                                      "coax",             "coupled-microstrip",
                                      "coupled-stripline", "waveguide",
                                      "twisted-pair",     "offset-stripline",
                                      "offset-coupled-stripline", "broadside-coupled-stripline"};
    for (const LineType& type : LineTypes()) {
        if (type.prepare != nullptr) type.prepare();
        LineInputs in;
        for (std::size_t i = 0; i < type.rowDefaults.size(); ++i)
            in.rows[i] = type.rowDefaults[i];
        in.er = 9.8;
        in.tand = 1e-3;
        in.rho = 1.0;
        in.f = 10e9;
        in.mode = 1;
        const LineResult r = type.evaluate(AtFrequency(in), in.Row(1));
        SCOPED_TRACE(type.cliName);
        if (split.count(type.cliName) != 0) {
            EXPECT_GT(r.conductorLoss, 0.0);
            EXPECT_GT(r.dielectricLoss, 0.0);
            EXPECT_NEAR(r.conductorLoss + r.dielectricLoss, r.loss, 1e-12 * r.loss);
        } else {
            EXPECT_TRUE(std::isnan(r.conductorLoss) && std::isnan(r.dielectricLoss));
        }
        if (!type.coupled) continue;
        EXPECT_EQ(r.impedance, r.odd.impedance);
        EXPECT_EQ(r.loss, r.odd.loss);
        EXPECT_LT(r.odd.impedance, r.even.impedance);
        in.mode = 0;
        const LineResult even = type.evaluate(AtFrequency(in), in.Row(1));
        EXPECT_EQ(even.impedance, r.even.impedance);
        EXPECT_EQ(even.eeff, r.even.eeff);
        EXPECT_EQ(even.loss, r.even.loss);
    }
}
