// Unit tables of the window: names as the lists show them, factors as display
// units per SI unit, and what a unit change does to a shown number.
#include <gtest/gtest.h>

#include "quantities/numberformat.h"
#include "quantities/units.h"

namespace {

std::vector<std::string> Names(const UnitTable& table) {
    return table.Names();
}

// Value shown after a unit change: the SI value read with the old unit,
// written with the new one through "%G".
std::string Converted(const UnitTable& table, const std::string& shown, int from, int to) {
    const double si = *ParseWholeNumber(shown) / table.Factor(from);
    return FormatG(si * table.Factor(to));
}

TEST(UnitTables, NamesInListOrder) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Names(LengthUnits()), (V{"um", "mm", "cm", "m", "mil", "inch"}));
    EXPECT_EQ(Names(FrequencyUnits()), (V{"Hz", "KHz", "MHz", "GHz"}));
    EXPECT_EQ(Names(AngleUnits()), (V{"deg", "rad"}));
    EXPECT_EQ(Names(ConductivityUnits()), (V{"S/um", "S/mm", "S/cm", "S/m", "S/mil", "S/inch"}));
    EXPECT_EQ(Names(LossUnits()), (V{"dB/um", "dB/mm", "dB/cm", "dB/m", "dB/mil", "dB/inch"}));
    EXPECT_EQ(Names(PhaseConstantUnits()),
              (V{"deg/um", "deg/mm", "deg/cm", "deg/m", "deg/mil", "deg/inch", "rad/um", "rad/mm",
                 "rad/cm", "rad/m", "rad/mil", "rad/inch"}));
    EXPECT_EQ(Names(ImpedanceUnits()), (V{"Ohms"}));
}

TEST(UnitTables, PerLengthFactorsAreReciprocalsOfLengthFactors) {
    // 1 / (display units per metre): 1e-6 S/um per S/m ... 0.0254 S/inch per S/m.
    const double expected[] = {0.000001, 0.001, 0.01, 1.0, 0.0000254, 0.0254};
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(ConductivityUnits().Factor(i), expected[i], expected[i] * 1e-15) << i;
        EXPECT_EQ(LossUnits().Factor(i), ConductivityUnits().Factor(i)) << i;
    }
    // The inch is exactly 0.0254 m.
    EXPECT_DOUBLE_EQ(LengthUnits().Factor(5) * 0.0254, 1.0);
    EXPECT_DOUBLE_EQ(LengthUnits().Factor(4) * 0.0000254, 1.0);
}

TEST(UnitTables, PhaseConstantFactorsAreAngleOverLength) {
    const UnitTable phase = PhaseConstantUnits();
    EXPECT_EQ(phase.Factor(3), 1.0);                  // deg/m
    EXPECT_DOUBLE_EQ(phase.Factor(0), 0.000001);      // deg/um
    EXPECT_EQ(phase.Factor(9), 0.017453292519943295); // rad/m, pi / 180
    EXPECT_DOUBLE_EQ(phase.Factor(6), 0.017453292519943295 / 1e6);
}

TEST(UnitTables, IndexOutsideTableFallsBackToFirstEntry) {
    const UnitTable length = LengthUnits();
    EXPECT_EQ(length.ValidIndex(9), 0);
    EXPECT_EQ(length.ValidIndex(-1), 0);
    EXPECT_EQ(length.ValidIndex(5), 5);
    EXPECT_EQ(length.Name(7), "um");
    EXPECT_EQ(length.Factor(7), 1000000.0);
}

struct ChangeCase {
    const char* what;
    UnitTable table;
    const char* shown;
    int from;
    int to;
    const char* expected;
};

TEST(UnitTables, UnitChangeKeepsQuantityAndRoundsToSixDigits) {
    const ChangeCase cases[] = {
        {"GHz to MHz", FrequencyUnits(), "10", 3, 2, "10000"},
        {"um to mm", LengthUnits(), "10000", 0, 1, "10"},
        {"mm to mil", LengthUnits(), "1", 1, 4, "39.3701"},
        // 39.3701 mil is 1.00000054 mm, which "%G" shows as 1.
        {"mil back to mm", LengthUnits(), "39.3701", 4, 1, "1"},
        {"deg/m to rad/m", PhaseConstantUnits(), "180", 3, 9, "3.14159"},
        {"S/m to S/cm", ConductivityUnits(), "5.88E+07", 3, 2, "588000"},
        {"dB/m to dB/mm", LossUnits(), "10", 3, 1, "0.01"},
        {"deg to rad", AngleUnits(), "90", 0, 1, "1.5708"},
    };
    for (const ChangeCase& c : cases)
        EXPECT_EQ(Converted(c.table, c.shown, c.from, c.to), c.expected) << c.what;
}

} // namespace
