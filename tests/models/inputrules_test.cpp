// The input rules of every line's rows, as the window and tavrel-calc hold them.
#include <gtest/gtest.h>

#include "core/inputrules.h"
#include "models/linetypes.h"

// Every dimension must be above 0, but the command line also takes the
// thickness row (and only it) at 0: the ideal zero-thickness strip.  The
// window's edits refuse 0 on every row.  Rows that hold a number, not a
// length, take 0 and refuse only negative values.
TEST(InputRules, OnlyTheThicknessRowTakesZeroAndOnlyOnTheCommandLine) {
    for (const LineType& line : LineTypes()) {
        for (int row = 1; row <= line.RowCount(); ++row) {
            const InputRule rule = RowInputRule(line, row);
            if (line.FixedRowUnit(row) != nullptr) { // a number (twists, Er): 0 allowed
                EXPECT_TRUE(Passes(rule.window, 0.0) && Passes(rule.commandLine, 0.0));
                EXPECT_FALSE(Passes(rule.commandLine, -1e-12)) << line.cliName << " " << rule.key;
                continue;
            }
            const bool thickness = line.dimensionKeys[static_cast<std::size_t>(row - 1)] == "T";
            EXPECT_FALSE(Passes(rule.window, 0.0)) << line.cliName << " " << rule.key;
            EXPECT_EQ(Passes(rule.commandLine, 0.0), thickness) << line.cliName << " " << rule.key;
            EXPECT_FALSE(Passes(rule.commandLine, -1e-12)) << line.cliName << " " << rule.key;
            EXPECT_EQ(InputRuleMessage(rule, "T=0"), "[T=0] This value must be greater then zero");
        }
    }
    // The roughness has its own check; Er its own bound.
    EXPECT_EQ(FindInputRule(*FindLineType("coax"), "rough"), std::nullopt);
    const InputRule er = *FindInputRule(*FindLineType("coax"), "Er");
    EXPECT_TRUE(Passes(er.commandLine, 1.0));
    EXPECT_FALSE(Passes(er.window, 0.99));
}
