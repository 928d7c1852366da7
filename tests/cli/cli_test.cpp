#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/calcrun.h"
#include "core/worksheet.h"

namespace {

struct CliRun_ {
    int status;
    std::string out, err;
    nlohmann::json json() const { return nlohmann::json::parse(out); }
};

CliRun_ Call(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = RunCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(CliValues, UnitsAsTheWindowSpellsThemAndCaseInsensitively) {
    EXPECT_DOUBLE_EQ(ParseQuantity("0.6mm", Quantity::Length), 0.0006);
    EXPECT_DOUBLE_EQ(ParseQuantity("5mil", Quantity::Length), 5 * 25.4e-6);
    EXPECT_DOUBLE_EQ(ParseQuantity("10GHz", Quantity::Frequency), 1e10);
    EXPECT_DOUBLE_EQ(ParseQuantity("2.5KHz", Quantity::Frequency), 2500.0);
    EXPECT_DOUBLE_EQ(ParseQuantity("2.5khz", Quantity::Frequency), 2500.0);
    EXPECT_DOUBLE_EQ(ParseQuantity("90deg", Quantity::Angle), 90.0);
    EXPECT_NEAR(ParseQuantity("1.5rad", Quantity::Angle), 85.94366926962348, 1e-12);
    EXPECT_DOUBLE_EQ(ParseQuantity("5.8e7S/m", Quantity::Conductivity), 5.8e7);
    EXPECT_DOUBLE_EQ(ParseQuantity("58800S/mm", Quantity::Conductivity), 5.88e7);
    EXPECT_DOUBLE_EQ(ParseQuantity("1e-3", Quantity::Length), 0.001);
    EXPECT_DOUBLE_EQ(ParseQuantity("50Ohms", Quantity::Impedance), 50.0);
}

TEST(CliValues, MalformedValuesAreUsageErrors) {
    for (const char* bad :
         {"", "mm", "abc", "1.2.3mm", "10GHz", "inf", "nan", "1e999", "5 parsecs"})
        EXPECT_THROW(ParseQuantity(bad, Quantity::Length), UsageError) << bad;
    EXPECT_THROW(ParseQuantity("3mm", Quantity::Plain), UsageError);
}

TEST(CliRun, CoaxAnalysisPrintsTheWorkedValues) {
    const CliRun_ run = Call({"analyze", "coax", "Di=0.1mm", "Do=0.5mm", "Er=1", "tand=0",
                              "sigma=40983606.557", "f=1GHz"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const auto j = run.json();
    EXPECT_EQ(j["line"], "coax");
    EXPECT_EQ(j["operation"], "analyze");
    EXPECT_NEAR(j["impedance_ohm"].get<double>(), 96.4917, 5e-5);
    EXPECT_NEAR(j["loss_db_per_m"].get<double>(), 0.194261 * 8.685889638, 1e-5);
    EXPECT_DOUBLE_EQ(j["inputs"]["Di"].get<double>(), 0.0001);
    EXPECT_DOUBLE_EQ(j["inputs"]["f"].get<double>(), 1e9);
    EXPECT_TRUE(j["warnings"].empty());
    EXPECT_FALSE(j.contains("mode"));
}

// Every line starts from what the Worksheet shows after the line's set-up on
// a first start (the window's side of this is in tform1_start_test.cpp).
TEST(CliRun, DefaultsAreTheFirstStartValuesOfEveryLine) {
    for (const LineType& type : LineTypes()) {
        Worksheet sheet;
        CreateLineModel(type, sheet)->LoadAndSetup();
        const CliRun_ run = Call({"analyze", type.cliName});
        ASSERT_EQ(run.status, 0) << type.cliName << ": " << run.out;
        const auto inputs = run.json()["inputs"];
        for (std::size_t i = 0; i < type.dimensionKeys.size(); ++i) {
            EXPECT_EQ(inputs[type.dimensionKeys[i]].get<double>(), sheet.rowValues[i]);
            EXPECT_EQ(sheet.rowValues[i], type.rowDefaults[i]) << type.cliName;
        }
        for (const CommonKey& key : CommonKeys())
            EXPECT_EQ(inputs[key.key].get<double>(), sheet.*key.value) << type.cliName << key.key;
    }
    const auto coax = Call({"analyze", "coax"}).json()["inputs"];
    EXPECT_EQ(coax["Er"].get<double>(), 12.9);
    EXPECT_EQ(coax["tand"].get<double>(), 0.0005);
    EXPECT_EQ(coax["sigma"].get<double>(), 61400000.0);
    EXPECT_EQ(coax["f"].get<double>(), 1e10);
    EXPECT_EQ(coax["L"].get<double>(), 0.01);
    EXPECT_EQ(coax["Do"].get<double>(), 0.0005);
}

TEST(CliRun, SynthesisReportsTheSolvedDimension) {
    const CliRun_ run = Call({"synthesize", "coax", "Z0=50", "Er=1", "Do=0.5mm", "E=90deg"});
    ASSERT_EQ(run.status, 0) << run.out;
    const auto j = run.json();
    EXPECT_NEAR(j["dimensions"]["Di"].get<double>(), 0.217159e-3, 5e-10);
    EXPECT_NEAR(j["impedance_ohm"].get<double>(), 50.0, 1e-6);
    EXPECT_NEAR(j["physical_length_m"].get<double>(),
                90.0 / j["phase_constant_deg_per_m"].get<double>(), 1e-15);
}

TEST(CliRun, CalculationErrorsExitOneWithTheWindowText) {
    const CliRun_ run = Call({"synthesize", "coax", "Z0=500", "Er=1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        run.json()["error"],
        "No solution for these parameters!\r\rPlease try increase Do,decrease Zo,or decrease Er");
    const CliRun_ bad = Call({"analyze", "coax", "Di=1mm", "Do=0.5mm"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.json()["error"], "Di must be less than than Do");
    const CliRun_ zero = Call({"analyze", "coax", "sigma=0"});
    EXPECT_EQ(zero.status, 1);
    EXPECT_FALSE(zero.json()["error"].get<std::string>().empty());
}

TEST(CliRun, BadCommandLinesExitTwo) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"analyse", "coax"},
                                               {"analyze"},
                                               {"analyze", "waveguide"},
                                               {"analyze", "coax", "W=1mm"},
                                               {"analyze", "coax", "Di"},
                                               {"analyze", "coax", "Di=abc"},
                                               {"analyze", "coax", "mode=even"},
                                               {"analyze", "coax", "f=3mm"},
                                               {"synthesize", "coupled-microstrip"}}) {
        const CliRun_ run = Call(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(Call({"--help"}).status, 0);
    EXPECT_EQ(Call({"--version"}).status, 0);
}

TEST(CliRun, MaterialOptionKeysRoughnessAndWidebandDielectric) {
    const std::vector<std::string> fr4{"analyze", "microstrip", "W=0.3mm",     "H=0.2mm", "T=35um",
                                       "Er=4.3",  "tand=0.02",  "sigma=5.8e7", "f=10GHz"};
    const auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = fr4;
        args.insert(args.end(), extra.begin(), extra.end());
        return Call(args);
    };
    const auto smooth = with({}).json();
    EXPECT_EQ(smooth["inputs"]["rough"], 0.0);
    EXPECT_EQ(smooth["inputs"]["rough_model"], "hammerstad");
    EXPECT_EQ(smooth["inputs"]["dk_model"], "constant");
    EXPECT_EQ(smooth["er_at_f"], 4.3);

    const auto rough = with({"rough=2um", "rough_model=groiss"}).json();
    EXPECT_EQ(rough["inputs"]["rough_model"], "groiss");
    EXPECT_GT(rough["loss_conductor_db_per_m"].get<double>(),
              1.5 * smooth["loss_conductor_db_per_m"].get<double>());
    // Er 4.3 given at 1 GHz has fallen by 10 GHz (4.17 for poles 1 kHz .. 1 THz).
    const auto wide = with({"dk_model=djsarkar", "f_ref=1GHz"}).json();
    EXPECT_NEAR(wide["er_at_f"].get<double>(), 4.1738574017960275, 1e-12);

    const CliRun_ negative = with({"rough=-1um"});
    EXPECT_EQ(negative.status, 1);
    EXPECT_EQ(negative.json()["error"], "Surface roughness must be >= 0");
    const CliRun_ badPoles = with({"dk_model=djsarkar", "f_pole_low=1e12", "f_pole_high=1e3"});
    EXPECT_EQ(badPoles.status, 1) << badPoles.out;
    for (const char* bad : {"rough_model=smooth", "dk_model=debye", "rough=1parsec"})
        EXPECT_EQ(with({bad}).status, 2) << bad;
}
