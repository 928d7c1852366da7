// tavrel-calc fieldsolve: the field solution beside the loss-free closed form.
#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/calcrun.h"

namespace {

struct SolveRun {
    int status;
    std::string out, err;
};

SolveRun FieldSolve(std::vector<std::string> args) {
    args.insert(args.begin(), "fieldsolve");
    std::ostringstream out, err;
    const int status = RunCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

// A mode's field values agree with its closed form, and the difference the
// output states is the one between them.
void ExpectAgreement(const nlohmann::json& field, const nlohmann::json& closed, double pct) {
    for (const char* key : {"impedance_ohm", "eeff"}) {
        const double f = field[key].get<double>(), c = closed[key].get<double>();
        EXPECT_NEAR(c, f, f * pct / 100) << key;
        EXPECT_NEAR(closed["difference_pct"][key].get<double>(), 100 * (c - f) / f, 1e-9) << key;
        EXPECT_GE(field["estimated_error_pct"][key].get<double>(), 0.0) << key;
    }
}

} // namespace

TEST(CliFieldSolve, MicrostripAgreesWithTheStaticClosedForm) {
    // The worked alumina line (static 50.41 ohms, eeff 6.505) with copper at
    // 10 GHz: the closed form is compared loss-free and quasi-static.
    const std::vector<std::string> line{"microstrip", "W=0.6mm",        "H=0.635mm", "T=5um",
                                        "Er=9.8",     "sigma=5.8e7S/m", "tand=1e-4", "f=10GHz"};
    const SolveRun run = FieldSolve(line);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["operation"], "fieldsolve");
    EXPECT_GT(j["mesh_cells"].get<int>(), 1000);
    EXPECT_GT(j["seconds"].get<double>(), 0.0);
    const auto& closed = j["closed_form"];
    EXPECT_EQ(closed["frequency_hz"].get<double>(), 1e6);
    EXPECT_NEAR(closed["impedance_ohm"].get<double>(), 50.41, 0.01);
    EXPECT_NEAR(closed["eeff"].get<double>(), 6.505, 0.001);
    ExpectAgreement(j, closed, 0.5);
    // At the line's own frequency and losses: what analyze shows.
    std::vector<std::string> analyze = line;
    analyze.insert(analyze.begin(), "analyze");
    std::ostringstream out, err;
    ASSERT_EQ(RunCommandLine(analyze, out, err), 0);
    const auto shown = nlohmann::json::parse(out.str());
    EXPECT_EQ(closed["at_line_frequency"]["frequency_hz"].get<double>(), 1e10);
    for (const char* key : {"impedance_ohm", "eeff"})
        EXPECT_DOUBLE_EQ(closed["at_line_frequency"][key].get<double>(), shown[key].get<double>());
}

TEST(CliFieldSolve, CoupledLinesReportBothModes) {
    const SolveRun run = FieldSolve({"coupled-stripline", "W=50um", "S=50um", "B=100um", "T=0"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const auto j = nlohmann::json::parse(run.out);
    ASSERT_TRUE(j.contains("even") && j.contains("odd")) << run.out;
    EXPECT_FALSE(j.contains("impedance_ohm"));
    ExpectAgreement(j["even"], j["closed_form"]["even"], 0.2); // Cohn's exact values
    ExpectAgreement(j["odd"], j["closed_form"]["odd"], 0.2);
    EXPECT_LT(j["odd"]["impedance_ohm"].get<double>(), j["even"]["impedance_ohm"].get<double>());
}

TEST(CliFieldSolve, CoaxIsExactSlotlineAndBadInputsAreRefused) {
    const SolveRun coax = FieldSolve({"coax", "Di=0.1mm", "Do=0.5mm", "Er=1"});
    ASSERT_EQ(coax.status, 0) << coax.out;
    const auto j = nlohmann::json::parse(coax.out);
    EXPECT_EQ(j["mesh_cells"].get<int>(), 0);
    EXPECT_NE(j["method"].get<std::string>().find("exact"), std::string::npos);
    ExpectAgreement(j, j["closed_form"], 0.1);

    const SolveRun slot = FieldSolve({"slotline"});
    EXPECT_EQ(slot.status, 1);
    EXPECT_NE(slot.out.find("not a quasi-TEM line"), std::string::npos) << slot.out;

    const SolveRun limits = FieldSolve({"coax", "Di=1mm", "Do=0.5mm"}); // the line's own hard limit
    EXPECT_EQ(limits.status, 1);
    EXPECT_EQ(nlohmann::json::parse(limits.out)["error"], "Di must be less than than Do");

    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"waveguide"}, {"microstrip", "G=1mm"}, {"microstrip", "W=3GHz"}}) {
        const SolveRun bad = FieldSolve(args);
        EXPECT_EQ(bad.status, 2);
        EXPECT_NE(bad.err.find("fieldsolve <line>"), std::string::npos);
    }
}
