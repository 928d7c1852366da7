// The material lists and what a pick writes into the edits.
#include <gtest/gtest.h>

#include "ui/materials.h"
#include "ui/numberformat.h"
#include "ui/units.h"

namespace {

TEST(Materials, DefaultsAreGaAsAndSilver) {
    const Dielectric& gaas = DielectricTable().at(kDefaultDielectric);
    EXPECT_EQ(gaas.name, "GaAs");
    EXPECT_EQ(FormatG(gaas.dielConstant), "12.9");
    EXPECT_EQ(FormatG(gaas.lossTangent), "0.0005");
    const Conductor& silver = ConductorTable().at(kDefaultConductor);
    EXPECT_EQ(silver.name, "Silver");
    EXPECT_EQ(FormatG(silver.conductivity), "6.14E+07");
    EXPECT_EQ(DielectricTable().size(), 7u);
    EXPECT_EQ(ConductorTable().size(), 5u);
}

// A conductor pick writes its conductivity in the selected unit.
TEST(Materials, ConductivityShownInSelectedUnit) {
    const UnitTable units = ConductivityUnits();
    const auto shown = [&](const char* name, int unit) {
        for (const Conductor& c : ConductorTable())
            if (c.name == name) return FormatG(c.conductivity * units.Factor(unit));
        return std::string("missing");
    };
    EXPECT_EQ(shown("Copper", 1), "58800");    // S/mm
    EXPECT_EQ(shown("Nickel", 3), "1.47E+07"); // S/m
    EXPECT_EQ(shown("Gold", 2), "410000");     // S/cm
    EXPECT_EQ(shown("Aluminum", 3), "3.53E+07");
}

TEST(Materials, DielectricPicks) {
    EXPECT_EQ(DielectricTable().front().name, "Air");
    EXPECT_EQ(FormatG(DielectricTable().front().dielConstant), "1");
    EXPECT_EQ(FormatG(DielectricTable().front().lossTangent), "0");
    EXPECT_EQ(DielectricTable().back().name, "RT/Duroid 5880");
    EXPECT_EQ(FormatG(DielectricTable().back().dielConstant), "2.16");
    EXPECT_EQ(FormatG(DielectricTable().back().lossTangent), "0.001");
}

} // namespace
