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

namespace {

// RFC 4180 rows: quoted cells may hold separators, doubled quotes and newlines.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& cell = rows.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                cell += text[++i];
            else if (c == '"')
                quoted = false;
            else
                cell += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\n') {
            rows.emplace_back(1);
        } else {
            cell += c;
        }
    }
    if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
    return rows;
}

} // namespace

TEST(CliSweep, CsvReadsBackAsTheJsonPointsWithAnErrorPerRow) {
    // Di from 0.1 to 1 mm against Do = 0.5 mm: the last six fail, the sweep goes on.
    const std::vector<std::string> args{"sweep", "coax", "Di=0.1mm:1mm:10", "Do=0.5mm",
                                        "tand=1e-3"};
    const CliRun_ csv = Call(args);
    ASSERT_EQ(csv.status, 0) << csv.err;
    std::vector<std::string> jsonArgs = args;
    jsonArgs.push_back("--format=json");
    const auto json = Call(jsonArgs).json();
    const auto rows = ParseCsv(csv.out);
    ASSERT_EQ(rows.size(), 11u);
    ASSERT_EQ(json["points"].size(), 10u);
    const auto& header = rows[0];
    EXPECT_EQ(header.front(), "Di_m");
    EXPECT_EQ(header, json["columns"].get<std::vector<std::string>>());
    int failed = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto& point = json["points"][r - 1];
        ASSERT_EQ(rows[r].size(), header.size());
        const std::string& error = rows[r].back();
        failed += !error.empty();
        EXPECT_EQ(error, point["error"].is_null() ? "" : point["error"].get<std::string>());
        for (std::size_t c = 0; c + 2 < header.size(); ++c) {
            if (rows[r][c].empty()) {
                EXPECT_TRUE(point[header[c]].is_null()) << header[c];
                continue;
            }
            EXPECT_EQ(std::stod(rows[r][c]), point[header[c]].get<double>()) << header[c];
        }
    }
    EXPECT_EQ(failed, 6); // Di from 0.5 mm = Do on
    EXPECT_EQ(rows[10].back(), "Di must be less than than Do");

    const auto coupled = Call({"sweep", "coupled-stripline", "f=1GHz:2GHz:2", "log"});
    const auto coupledHeader = ParseCsv(coupled.out).front();
    EXPECT_NE(std::find(coupledHeader.begin(), coupledHeader.end(), "z_diff_ohm"),
              coupledHeader.end());
}

TEST(CliSweep, BadSweepsExitTwoAndUnsweepableInputsExitOne) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"sweep"},
                                               {"sweep", "coax"},
                                               {"sweep", "coax", "f=1GHz"},
                                               {"sweep", "coax", "f=1GHz:2GHz"},
                                               {"sweep", "coax", "f=1GHz:2GHz:x"},
                                               {"sweep", "coax", "f=1GHz:2GHz:0"},
                                               {"sweep", "coax", "f=0:2GHz:5", "log"},
                                               {"sweep", "coax", "f=1:2:3", "Er=1:2:3"},
                                               {"sweep", "coax", "L=1:2:3"},
                                               {"sweep", "coax", "W=1:2:3"},
                                               {"sweep", "coax", "f=1:2:3", "Di=abc"},
                                               {"sweep", "coax", "f=1:2:3", "--format", "xml"}}) {
        const CliRun_ run = Call(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    const CliRun_ zero = Call({"sweep", "coax", "f=1GHz:2GHz:3", "sigma=0"});
    EXPECT_EQ(zero.status, 1);
    EXPECT_EQ(zero.json()["error"], "Floating point division by zero");
}
