// tavrel-calc fieldsolve: the field solution beside the loss-free closed form.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

nlohmann::json Analyze(std::vector<std::string> args) {
    args.insert(args.begin(), "analyze");
    std::ostringstream out, err;
    EXPECT_EQ(RunCommandLine(args, out, err), 0) << out.str() << err.str();
    return nlohmann::json::parse(out.str());
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
    const auto shown = Analyze(line);
    EXPECT_EQ(closed["at_line_frequency"]["frequency_hz"].get<double>(), 1e10);
    for (const char* key : {"impedance_ohm", "eeff"})
        EXPECT_DOUBLE_EQ(closed["at_line_frequency"][key].get<double>(), shown[key].get<double>());
}

TEST(CliFieldSolve, MaterialModelsApplyAtTheLinesFrequency) {
    // The wideband dielectric lowers Er at 20 GHz: the cross-section is solved
    // with that Er, and the closed form at the line's frequency is analyze's.
    const std::vector<std::string> line{"microstrip", "dk_model=djsarkar", "f=20GHz"};
    const SolveRun run = FieldSolve(line);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const auto j = nlohmann::json::parse(run.out);
    const auto shown = Analyze(line);
    EXPECT_EQ(j["er_at_f"].get<double>(), shown["er_at_f"].get<double>());
    EXPECT_LT(j["er_at_f"].get<double>(), j["inputs"]["Er"].get<double>());
    EXPECT_LT(j["eeff"].get<double>(), j["er_at_f"].get<double>());
    for (const char* key : {"impedance_ohm", "eeff"})
        EXPECT_EQ(j["closed_form"]["at_line_frequency"][key].get<double>(),
                  shown[key].get<double>())
            << key;
    ExpectAgreement(j, j["closed_form"], 0.5);
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
             {}, {"circular-waveguide"}, {"microstrip", "G=1mm"}, {"microstrip", "W=3GHz"}}) {
        const SolveRun bad = FieldSolve(args);
        EXPECT_EQ(bad.status, 2);
        EXPECT_NE(bad.err.find("fieldsolve <line>"), std::string::npos);
    }
}

TEST(CliFieldSolve, FieldSolutionStandsWhenTheClosedFormFails) {
    // W/H = S/H = 1e-3: the coupled-microstrip formulas overflow in exp.
    const SolveRun run = FieldSolve({"coupled-microstrip", "W=1um", "S=1um", "H=1mm", "T=0"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const auto j = nlohmann::json::parse(run.out);
    for (const char* mode : {"even", "odd"})
        EXPECT_GT(j[mode]["impedance_ohm"].get<double>(), 0.0) << mode;
    EXPECT_NE(j["closed_form"]["error"].get<std::string>().find("exp"), std::string::npos);
    EXPECT_FALSE(j["closed_form"].contains("even"));
}

namespace {

// A fieldsolve in a child process: its exit status, output, CPU and wall
// seconds and peak resident memory.
struct Measured {
    int status = -1;
    std::string out;
    double cpuSeconds = 0.0, wallSeconds = 0.0;
    double peakMb = 0.0;
};

Measured FieldSolveInChild(std::vector<std::string> args) {
    args.insert(args.begin(), "fieldsolve");
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::ostringstream out, err;
        const int status = RunCommandLine(args, out, err);
        const std::string text = out.str();
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = write(pipeEnds[1], text.data() + done, text.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        _exit(status);
    }
    close(pipeEnds[1]);
    Measured m;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        m.out.append(buffer, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return m;
    m.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    m.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                   1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    m.peakMb = usage.ru_maxrss / 1024.0;
    return m;
}

} // namespace

// AddressSanitizer runs the solver several times slower and adds its shadow
// memory: the bounds stretch with it.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSanitizerSlowdown = 15.0;
#else
constexpr double kSanitizerSlowdown = 1.0;
#endif

// Cross-sections at and beyond the solver's reach: refused before meshing
// with the extreme ratio named, marked unreliable, or solved within the budget (2 s and 500 MB
// on a quiet machine; the bounds allow for a loaded one).
TEST(CliFieldSolve, ExtremeCrossSectionsAreRefusedOrSolvedWithinTheBudget) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* says; // in the output
    } cases[] = {
        {{"microstrip", "W=1e300", "H=1mm", "T=0"}, 1, "W/H = 1e+303"},
        {{"stripline", "W=1e-300", "B=2mm", "T=0"}, 1, "B/W = 2e+297"},
        {{"stripline", "W=1e-40", "B=2mm", "T=0"}, 1, "resolution of their coordinates"},
        {{"stripline", "W=1e-40", "B=2mm"}, 1, "(T/W)"}, // the line's own limit first
        {{"cpw", "W=1.7e308", "G=1mm", "H=1.7e308", "T=0"}, 1, "far boundary overflows"},
        {{"microstrip", "W=1mm", "H=1mm", "T=1e200"}, 1, "T/W = 1e+203"},
        {{"cpw", "H=1000m"}, 1, "H/T = 1e+09"}, // H/G = 1e8
        {{"coupled-microstrip", "W=1um", "S=300mm", "H=300mm", "T=0"}, 1, "more than the 200000"},
        // Metal 50 times the substrate's height: solved, but its field reaches
        // the outer walls, so the whole answer stands behind an error.
        {{"microstrip", "T=5mm"}, 1, "field has not decayed"},
        {{"cpw", "H=1m"}, 0, "\"closed_form\""},
        // The largest mesh accepted: 180 880 cells.
        {{"coupled-microstrip", "W=1um", "S=100mm", "H=100mm", "T=0"}, 0, "\"odd\""},
    };
    for (const auto& c : cases) {
        const std::string name = testing::PrintToString(c.args);
        const Measured m = FieldSolveInChild(c.args);
        EXPECT_EQ(m.status, c.status) << name << "\n" << m.out;
        EXPECT_NE(m.out.find(c.says), std::string::npos) << name << "\n" << m.out;
        EXPECT_LT(m.cpuSeconds, 8.0 * kSanitizerSlowdown) << name;
        EXPECT_LT(m.wallSeconds, 60.0 * kSanitizerSlowdown) << name;
        EXPECT_LT(m.peakMb, 500.0 * (kSanitizerSlowdown > 1.0 ? 4.0 : 1.0)) << name;
        if (c.status == 0) {
            EXPECT_FALSE(nlohmann::json::parse(m.out).contains("error")) << name;
        }
    }
}

TEST(CliFieldSolve, SolderMaskAndCoverAgreeWithTheFieldSolver) {
    // A 50-ohm-class FR-4 strip and a 100-ohm-class pair under 25 um of mask
    // and a cover 3 H up: the field solver meshes both, the fitted closed
    // form stays within 1 % of it (tools/coating_grid.py measures the grid).
    const SolveRun single = FieldSolve({"microstrip", "W=0.38mm", "H=0.2mm", "T=35um", "Er=4.3",
                                        "Tm=25um", "Erm=3.5", "Hc=0.6mm"});
    ASSERT_EQ(single.status, 0) << single.out;
    const auto s = nlohmann::json::parse(single.out);
    ExpectAgreement(s, s["closed_form"], 1.0);
    // The inputs echo the mask and cover solved.
    for (const auto& [key, value] :
         {std::pair{"Tm", 25e-6}, {"Erm", 3.5}, {"tandm", 0.02}, {"Hc", 0.6e-3}})
        EXPECT_EQ(s["inputs"][key].get<double>(), value) << key;
    const SolveRun pair = FieldSolve({"coupled-microstrip", "W=0.2mm", "S=0.2mm", "H=0.2mm",
                                      "T=35um", "Er=4.3", "Tm=25um"});
    ASSERT_EQ(pair.status, 0) << pair.out;
    const auto p = nlohmann::json::parse(pair.out);
    ExpectAgreement(p["even"], p["closed_form"]["even"], 1.0);
    ExpectAgreement(p["odd"], p["closed_form"]["odd"], 1.0);
    // A cover at the mask's top leaves no cross-section.
    EXPECT_EQ(FieldSolve({"microstrip", "T=35um", "Tm=25um", "Hc=50um"}).status, 1);
}
