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
    const std::set<std::string> split{"microstrip",
                                      "stripline",
                                      "cpw",
                                      "cpw-ground",
                                      "coax",
                                      "coupled-microstrip",
                                      "coupled-stripline",
                                      "waveguide",
                                      "twisted-pair",
                                      "offset-stripline",
                                      "offset-coupled-stripline",
                                      "broadside-coupled-stripline"};
    // The coplanar library splits in the same call what a loss-free
    // dielectric and a perfect conductor would give, to the last bit.
    const std::set<std::string> splitAsTwoMore{"cpw", "cpw-ground"};
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
            if (splitAsTwoMore.count(type.cliName) != 0) {
                LineInputs lossFreeDielectric = in, perfectConductor = in;
                lossFreeDielectric.tand = 0.0;
                perfectConductor.rho = 0.0;
                EXPECT_EQ(r.conductorLoss, type.evaluate(AtFrequency(lossFreeDielectric), in.Row(1)).loss);
                EXPECT_EQ(r.dielectricLoss, type.evaluate(AtFrequency(perfectConductor), in.Row(1)).loss);
            }
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
