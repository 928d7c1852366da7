#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/batchrun.h"
#include "cli/calcrun.h"
#include "cli/jsontext.h"
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
    // Units below the SI unit convert exactly, so the echoed inputs read 1e9, not 999999999.9999999.
    EXPECT_EQ(ParseQuantity("1GHz", Quantity::Frequency), 1e9);
    EXPECT_EQ(ParseQuantity("3.3GHz", Quantity::Frequency), 3.3e9);
    EXPECT_EQ(ParseQuantity("58S/um", Quantity::Conductivity), 5.8e7);
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

// The output names the solver that answered; a field-solved pair reports
// both modes and its figures as the closed form does.  A sweep is closed
// form only and refuses the key rather than ignore it.
TEST(CliRun, SolverFieldAnswersAndIsNamed) {
    const std::vector<std::string> coax{"analyze", "coax", "Di=0.1mm", "Do=0.5mm", "Er=1"};
    const CliRun_ closed = Call(coax);
    ASSERT_EQ(closed.status, 0) << closed.out;
    EXPECT_EQ(closed.json()["solver"], "closed form");
    std::vector<std::string> fieldArgs = coax;
    fieldArgs.push_back("solver=field");
    const CliRun_ field = Call(fieldArgs);
    ASSERT_EQ(field.status, 0) << field.out;
    EXPECT_EQ(field.json()["solver"], "field");
    // The coaxial field is exact: 60 ohm ln(Do / Di) in air.
    EXPECT_NEAR(field.json()["impedance_ohm"].get<double>(), 59.9585 * std::log(5.0), 1e-3);

    const CliRun_ pair = Call({"analyze", "coupled-microstrip", "mode=both", "W=0.1mm", "S=0.1mm",
                               "H=0.1mm", "T=35um", "Er=4.3", "solver=field"});
    ASSERT_EQ(pair.status, 0) << pair.out;
    const auto j = pair.json();
    EXPECT_LT(j["field_solution"]["estimated_error_pct"].get<double>(), 0.3);
    EXPECT_DOUBLE_EQ(j["z_diff_ohm"].get<double>(), 2 * j["odd"]["impedance_ohm"].get<double>());
    EXPECT_GT(j["even"]["impedance_ohm"].get<double>(), j["odd"]["impedance_ohm"].get<double>());

    EXPECT_EQ(Call({"sweep", "coax", "f=1GHz:2GHz:2", "solver=field"}).status, 2);
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

// What the window refuses when the focus leaves an edit, the command line
// refuses with the same message; a result the formulas cannot give is no
// result.
TEST(CliRun, WindowInputRulesAndFalseSuccesses) {
    const std::string positive = "] This value must be greater then zero";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"analyze", "stripline", "f=-10GHz"}, "[f=-10GHz" + positive},
        {{"analyze", "stripline", "tand=-0.01"}, "[tand=-0.01] Loss Tangent must be >= 0."},
        {{"analyze", "stripline", "Er=0.5"}, "[Er=0.5] Er must be >= 1"},
        {{"analyze", "microstrip", "L=-1m"}, "[L=-1m" + positive},
        {{"analyze", "microstrip", "E=-90"}, "[E=-90" + positive},
        {{"analyze", "microstrip", "sigma=-1"}, "[sigma=-1" + positive},
        {{"analyze", "coax", "Di=0"}, "[Di=0" + positive},
        {{"analyze", "microstrip", "T=-1um"}, "[T=-1um" + positive},
        {{"analyze", "coupled-microstrip", "W=48um", "S=6um", "H=4mm", "T=1um", "Er=2.64",
          "mode=odd"},
         "No valid result: the formulas are outside their range here"},
        // The even mode alone is no answer where the pair's odd mode has none.
        {{"analyze", "coupled-microstrip", "W=48um", "S=6um", "H=4mm", "T=1um", "Er=2.64",
          "mode=even"},
         "No valid result: the formulas are outside their range here"},
    };
    for (const auto& [args, error] : cases) {
        const CliRun_ run = Call(args);
        EXPECT_EQ(run.status, 1) << args.back();
        EXPECT_EQ(run.json()["error"], error) << args.back();
    }
    const CliRun_ signs = Call({"analyze", "microstrip", "T=+-1"});
    EXPECT_EQ(signs.status, 2);
}

TEST(CliRun, BadCommandLinesExitTwo) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"analyse", "coax"},
                                               {"analyze"},
                                               {"analyze", "circular-waveguide"},
                                               {"analyze", "coax", "W=1mm"},
                                               {"analyze", "coax", "Di"},
                                               {"analyze", "coax", "Di=abc"},
                                               {"analyze", "coax", "mode=even"},
                                               {"analyze", "coax", "f=3mm"},
                                               {"analyze", "coax", "f=1GHz", "f=2GHz"},
                                               {"analyze", "coax", "dk_model=constant",
                                                "dk_model=djsarkar"},
                                               {"synthesize", "coupled-microstrip"}}) {
        const CliRun_ run = Call(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(Call({"--help"}).status, 0);
    EXPECT_EQ(Call({"--version"}).status, 0);
}

// Both modes in one call are each mode's own call, to the last bit.
TEST(CliPairs, BothModesAgreeWithEvenAndOddAndGiveThePairFigures) {
    for (const char* line : {"coupled-microstrip", "coupled-stripline"}) {
        const auto both = Call({"analyze", line, "mode=both", "f=5GHz"}).json();
        ASSERT_EQ(both["mode"], "both") << line;
        for (const char* mode : {"even", "odd"}) {
            const auto single =
                Call({"analyze", line, std::string("mode=") + mode, "f=5GHz"}).json();
            for (const char* key :
                 {"impedance_ohm", "eeff", "loss_db_per_m", "loss_conductor_db_per_m",
                  "loss_dielectric_db_per_m", "phase_constant_deg_per_m", "electrical_length_deg"})
                EXPECT_EQ(both[mode][key], single[key]) << line << ' ' << mode << ' ' << key;
            EXPECT_EQ(both["skin_depth_m"], single["skin_depth_m"]);
        }
        const double ze = both["even"]["impedance_ohm"], zo = both["odd"]["impedance_ohm"];
        EXPECT_DOUBLE_EQ(both["z_diff_ohm"].get<double>(), 2 * zo);
        EXPECT_DOUBLE_EQ(both["z_comm_ohm"].get<double>(), ze / 2);
        EXPECT_DOUBLE_EQ(both["coupling_db"].get<double>(), 20 * std::log10((ze - zo) / (ze + zo)));
    }
}

TEST(CliPairs, CoupledSynthesisSolvesAndReportsTheAchievedFigures) {
    const CliRun_ run = Call({"synthesize", "coupled-stripline", "Zdiff=100", "Zcomm=30"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const auto j = run.json();
    EXPECT_EQ(j["solved"], nlohmann::json({"W", "S"}));
    EXPECT_NEAR(j["z_diff_ohm"].get<double>(), 100.0, 1e-6);
    EXPECT_NEAR(j["z_comm_ohm"].get<double>(), 30.0, 1e-6);
    const CliRun_ far = Call({"synthesize", "coupled-microstrip", "Zdiff=400", "solve=S"});
    EXPECT_EQ(far.status, 1);
    EXPECT_NE(far.json()["error"].get<std::string>().find("Zdiff 400 ohm cannot be reached"),
              std::string::npos);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"synthesize", "coupled-microstrip", "Zdiff=100", "Zodd=50"},
             {"synthesize", "coupled-microstrip", "Zdiff=100", "solve=WS"},
             {"analyze", "coupled-microstrip", "Zdiff=100"},
             {"analyze", "coupled-microstrip", "mode=all"}})
        EXPECT_EQ(Call(args).status, 2) << args.back();
}

TEST(CliBatch, OneCompactObjectPerCallWithErrorsNumbered) {
    const std::string path = ::testing::TempDir() + "tavrel_batch_test.txt";
    std::ofstream(path) << "# stack-ups\n"
                           "analyze microstrip W=0.6mm H=0.635mm\n"
                           "\n"
                           "analyze coax Di=1mm Do=0.5mm\n"
                           "   analyze   coupled-stripline   mode=both  \n"
                           "analyze nothing\n";
    const CliRun_ run = Call({"batch", path});
    EXPECT_EQ(run.status, 1); // a line gave no result
    std::istringstream lines(run.out);
    std::vector<nlohmann::json> answers;
    for (std::string line; std::getline(lines, line);)
        answers.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(answers.size(), 4u) << run.out;
    EXPECT_EQ(answers[0], Call({"analyze", "microstrip", "W=0.6mm", "H=0.635mm"}).json());
    EXPECT_EQ(answers[1]["error"], "Di must be less than than Do");
    EXPECT_EQ(answers[1]["input_line"], 4);
    EXPECT_EQ(answers[2]["mode"], "both");
    EXPECT_EQ(answers[3]["input_line"], 6);
    EXPECT_EQ(Call({"batch", path + ".missing"}).status, 2);
}

TEST(CliOutput, AFailedWriteIsNeverSuccess) {
    std::ostringstream full, err;
    full.setstate(std::ios::badbit);
    EXPECT_EQ(FinishOutput(0, full, err), 1);
    EXPECT_FALSE(err.str().empty());
    std::ostringstream fine;
    EXPECT_EQ(FinishOutput(0, fine, err), 0);
    EXPECT_EQ(FinishOutput(2, full, err), 2);
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

    // The material models reach every point as they reach analyze.
    const auto wideband =
        Call({"sweep", "microstrip", "f=5GHz:10GHz:2", "dk_model=djsarkar", "--format=json"}).json();
    const auto analyzed = Call({"analyze", "microstrip", "f=5GHz", "dk_model=djsarkar"}).json();
    EXPECT_EQ(wideband["points"][0]["eeff"], analyzed["eeff"]);

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
                                               {"sweep", "coax", "f=1:2:3", "f=5"},
                                               // points beyond the doubles
                                               {"sweep", "coax", "f=1e-300:1e300:5", "log"},
                                               {"sweep", "coax", "rough=-1e308:1e308:3"},
                                               {"sweep", "coax", "f=1:2:3", "--format", "xml"},
                                               {"sweep", "coax", "Di=1mm:2mm:3", "--format=touchstone"},
                                               {"sweep", "coax", "f=1:2:3", "--z-ref", "0"},
                                               {"sweep", "coax", "f=1:2:3", "--z-ref"}}) {
        const CliRun_ run = Call(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    const CliRun_ zero = Call({"sweep", "coax", "f=1GHz:2GHz:3", "sigma=0"});
    EXPECT_EQ(zero.status, 1);
    EXPECT_EQ(zero.json()["error"], "[sigma=0] This value must be greater then zero");
    const CliRun_ negative = Call({"sweep", "coax", "f=-1GHz:2GHz:3"});
    EXPECT_EQ(negative.status, 1);
    EXPECT_EQ(negative.json()["error"], "[f=-1GHz] This value must be greater then zero");
    // A Touchstone file has no row for a frequency without a result: none is written.
    const CliRun_ gap = Call({"sweep", "coax", "f=1GHz:2GHz:3", "Di=0.5mm", "Do=0.5mm",
                              "--format", "touchstone"});
    EXPECT_EQ(gap.status, 1);
    const std::string gapError = gap.json()["error"];
    EXPECT_EQ(gapError.rfind("no result at ", 0), 0u) << gapError;
    EXPECT_NE(gapError.find(" Hz: Di must be less than Do"), std::string::npos) << gapError;
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

    // Accepted, but beyond every roughness model: said, after the line's own warnings.
    const auto huge = with({"rough=1e300"}).json();
    ASSERT_FALSE(huge["warnings"].empty());
    EXPECT_EQ(huge["warnings"].back(), "rough=1e300 is above 1 mm: no roughness model reaches that far");
    const CliRun_ sweep = Call({"sweep", "microstrip", "rough=0:2mm:3"});
    EXPECT_EQ(sweep.status, 0);
    EXPECT_NE(sweep.err.find("warning: rough=2mm is above 1 mm"), std::string::npos) << sweep.err;
}

namespace {

std::vector<nlohmann::json> BatchAnswers(const std::string& input, int& status, std::string& err) {
    std::ostringstream out, errors;
    std::size_t at = 0;
    status = RunBatch(
        [&](char* buffer, std::size_t size) -> long {
            const std::size_t n = std::min(size, input.size() - at);
            input.copy(buffer, n, at);
            at += n;
            return static_cast<long>(n);
        },
        out, errors, "test input");
    err = errors.str();
    std::istringstream lines(out.str());
    std::vector<nlohmann::json> answers;
    for (std::string line; std::getline(lines, line);)
        answers.push_back(nlohmann::json::parse(line));
    return answers;
}

} // namespace

// Hostile input lines: each gets its own error and the next line still runs.
TEST(CliBatch, HostileLinesAreAnsweredOneByOne) {
    const std::string good = "analyze coax\n";
    const struct {
        const char* name;
        std::string line;
        const char* error;
    } cases[] = {
        {"Latin-1 micro sign", "analyze microstrip W=50\xb5m\n", "not valid UTF-8"},
        {"lone continuation byte", "\x80\n", "not valid UTF-8"},
        {"overlong slash", "analyze coax Di=\xc0\xafmm\n", "not valid UTF-8"},
        {"UTF-16 surrogate", "analyze coax Di=\xed\xa0\x80\n", "not valid UTF-8"},
        {"line of 100 KB", std::string(100000, 'x') + "\n", "longer than 65536 bytes"},
        {"NUL bytes", std::string("analyze coax Di=1\0mm\n", 21), "unknown unit"},
        {"UTF-8 unit echoed", "analyze coax Di=50\xc2\xb5m\n", "unknown unit"},
        {"key given twice", "analyze coax Di=1mm Di=2mm\n", "given twice"},
    };
    for (const auto& c : cases) {
        int status = 0;
        std::string err;
        const auto answers = BatchAnswers(good + c.line + good, status, err);
        EXPECT_EQ(status, 1) << c.name;
        ASSERT_EQ(answers.size(), 3u) << c.name;
        EXPECT_NE(answers[1]["error"].get<std::string>().find(c.error), std::string::npos)
            << c.name << ": " << answers[1];
        EXPECT_EQ(answers[1]["input_line"], 2) << c.name;
        EXPECT_EQ(answers[2], answers[0]) << c.name;
    }
    // A read error ends the run with a message, after the answers so far.
    int calls = 0;
    std::ostringstream out, err;
    const int status = RunBatch(
        [&](char* buffer, std::size_t size) -> long {
            if (calls++ > 0) {
                errno = EIO;
                return -1;
            }
            return static_cast<long>(good.copy(buffer, size));
        },
        out, err, "the disk");
    EXPECT_EQ(status, 1);
    const std::string answered = out.str();
    EXPECT_EQ(std::count(answered.begin(), answered.end(), '\n'), 1);
    EXPECT_NE(err.str().find("cannot read the disk"), std::string::npos) << err.str();
    EXPECT_EQ(Call({"batch", ::testing::TempDir()}).status, 1); // a directory
    // Any text that still carries such a byte is written, not thrown.
    EXPECT_EQ(JsonText({{"error", "50\xb5m"}}), "{\"error\":\"50\xef\xbf\xbdm\"}");
}

TEST(CliRun, SolderMaskAndCoverKeys) {
    const auto value = [](std::vector<std::string> args, const char* key) {
        const CliRun_ run = Call(args);
        EXPECT_EQ(run.status, 0) << run.out;
        return run.json()[key].get<double>();
    };
    const std::vector<std::string> strip{"analyze", "microstrip", "W=0.38mm", "H=0.2mm",
                                         "T=35um",  "Er=4.3",     "f=5GHz"};
    const auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = strip;
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    // No mask and no cover is the uncoated line to the last digit, whatever
    // the mask's material.
    for (const char* key : {"impedance_ohm", "eeff", "loss_db_per_m"})
        EXPECT_EQ(value(with({"Tm=0", "Hc=0", "Erm=4", "tandm=0.05"}), key), value(strip, key));
    // A mask lowers Z and raises eeff and the loss; a low cover lowers Z.
    const double z = value(strip, "impedance_ohm"), e = value(strip, "eeff");
    EXPECT_LT(value(with({"Tm=25um"}), "impedance_ohm"), z);
    EXPECT_GT(value(with({"Tm=25um"}), "eeff"), e);
    EXPECT_GT(value(with({"Tm=25um"}), "loss_dielectric_db_per_m"),
              value(strip, "loss_dielectric_db_per_m"));
    EXPECT_LT(value(with({"Hc=0.4mm"}), "impedance_ohm"), z);
    // Both modes of a pair follow; the keys are the microstrip family's only.
    const auto pair = Call({"analyze", "coupled-microstrip", "Tm=1mil", "mode=both"}).json();
    const auto bare = Call({"analyze", "coupled-microstrip", "mode=both"}).json();
    EXPECT_LT(pair["z_diff_ohm"].get<double>(), bare["z_diff_ohm"].get<double>());
    EXPECT_EQ(pair["inputs"]["Tm"].get<double>(), 25.4e-6);
    EXPECT_EQ(Call({"analyze", "stripline", "Tm=25um"}).status, 2);
    EXPECT_EQ(Call({"analyze", "microstrip", "Tm=-1um"}).status, 1);
    EXPECT_EQ(Call({"analyze", "microstrip", "T=35um", "Tm=25um", "Hc=50um"}).status, 1);
    const CliRun_ low = Call({"analyze", "microstrip", "H=0.2mm", "Hc=0.3mm"});
    EXPECT_NE(low.out.find("Cover lower than verified (Hc < 2 H)"), std::string::npos);
    // Tm and Hc sweep like a row.
    const CliRun_ sweep = Call({"sweep", "microstrip", "Tm=0:40um:3"});
    ASSERT_EQ(sweep.status, 0) << sweep.out << sweep.err;
    EXPECT_EQ(sweep.out.rfind("Tm_m,", 0), 0u) << sweep.out;
    // So do the mask's Er and loss tangent.
    for (const char* swept : {"Erm=3:4:2", "tandm=0.01:0.03:2"}) {
        std::vector<std::string> args = with({"Tm=25um", swept, "--format=json"});
        args[0] = "sweep";
        const auto points = Call(args).json()["points"];
        EXPECT_NE(points[0]["loss_db_per_m"], points[1]["loss_db_per_m"]) << swept;
    }
}
