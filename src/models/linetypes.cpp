#include "models/linetypes.h"

#include "models/coatedmicrostrip.h"
#include "models/coaxlinecalc.h"
#include "models/crosssections.h"
#include "models/dcconductors.h"
#include "models/cpwlinecalc.h"
#include "models/mline.h"
#include "models/offsetstriplinecalc.h"
#include "models/resultvalidity.h"
#include "models/slotlinecalc.h"
#include "models/striplinecalc.h"
#include "models/verifiedranges.h"
#include "models/twistedpaircalc.h"
#include "models/waveguidecalc.h"

namespace {

// "No solution for these parameters!" and what to try: the impedance stays
// above the target over the whole scan, or below it.
#define NO_SOLUTION "No solution for these parameters!\r\rPlease try "
const char* const kDecreaseH = NO_SOLUTION "decrease H,increase Zo,or increase Er";
const char* const kIncreaseH = NO_SOLUTION "increase H,decrease Zo,or decrease Er";
const char* const kDecreaseDo = NO_SOLUTION "decrease Do,increase Zo,or increase Er";
const char* const kIncreaseDo = NO_SOLUTION "increase Do,decrease Zo,or decrease Er";
const char* const kGuideAbove = NO_SOLUTION "increase Zo (above eta0 / sqrt(Er)),or decrease Er";
const char* const kPairAbove = NO_SOLUTION "increase Zo,or decrease Er";
const char* const kPairBelow = NO_SOLUTION "decrease Zo,or decrease Er";
const char* const kGuideBelow = NO_SOLUTION "decrease Zo,or increase f";
#undef NO_SOLUTION

const std::vector<std::string> kCoplanarLabels{"Width (W)", "Gap (G)", "Height (H)",
                                               "Thickness (T)"};
const std::vector<const char*> kCoplanarKeys{"Width", "Gap", "Height", "Thickness"};

// Coplanar synthesis: strip widths from 0.005 H to 20 H in 10 steps.  Brent
// stops within about half the tolerance of the root; 1e-6 m is a fifth of a
// 5 um strip, whose synthesized impedance missed its target by 5 %, so below
// H = 1 m the tolerance shrinks with H.  An input the library rejects at the
// narrowest strip is rejected at every width.
SynthesisRule CoplanarSynthesis() {
    return {.referenceRow = 3,
            .first = 0.005,
            .second = 20.0,
            .tolerance = 1e-6,
            .toleranceScales = true,
            .steps = 10,
            .aboveTarget = kDecreaseH,
            .belowTarget = kIncreaseH,
            .stopCodes = {kCpwInvalidInputCode, kCpwGapClosedCode}};
}

// Strip widths (or diameters, gaps) from `first` to `second` times the
// reference row, 1e-10 m apart at the end.
SynthesisRule Scan(int referenceRow, double first, double second, int steps,
                   const char* aboveTarget, const char* belowTarget) {
    return {.referenceRow = referenceRow,
            .first = first,
            .second = second,
            .tolerance = 1e-10,
            .toleranceScales = false,
            .steps = steps,
            .aboveTarget = aboveTarget,
            .belowTarget = belowTarget,
            .stopCodes = {}};
}

SynthesisRule WithScaledRows(SynthesisRule rule, std::vector<int> rows) {
    rule.scaledRows = std::move(rows);
    return rule;
}

} // namespace

const std::vector<LineType>& LineTypes() {
    static const std::vector<LineType> types{
        {.tabIndex = 0,
         .tabName = "Microstrip",
         .cliName = "microstrip",
         .title = "Microstrip",
         .rowLabels = {"Width (W)", "Height (H)", "Thickness (T)"},
         .dimensionKeys = {"W", "H", "T"},
         .rowDefaults = {0.00005, 0.0001, 1e-6},
         .settings = {"Microstrip Line", {"Width", "Height", "Thickness"}},
         .synthesis = Scan(2, 0.005, 100.0, 1000, kDecreaseH, kIncreaseH),
         .lossShown = true,
         .coupled = false,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &coatedmicrostrip::Evaluate,
         .evaluateReusing = &coatedmicrostrip::EvaluateReusing,
         .impedance = nullptr,
         .check = &coatedmicrostrip::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 3,
         .thinMetalLimit = kThinnestConductor,
         .picture = "microstrip",
         .crossSection = &MicrostripCrossSection,
         .verified = MicrostripVerified(),
         .dcConductor = &StripAtDc<3, true>,
         .coated = true},
        {.tabIndex = 1,
         .tabName = "Stripline",
         .cliName = "stripline",
         .title = "Stripline",
         .rowLabels = {"Width (W)", "Height (B)", "Thickness (T)"},
         .dimensionKeys = {"W", "B", "T"},
         .rowDefaults = {5e-5, 1e-4, 1e-6},
         .settings = {"Strip Line", {"Width", "Height", "Thickness"}},
         .synthesis = Scan(2, 0.005, 100.0, 1000, kDecreaseH, kIncreaseH),
         .lossShown = true,
         .coupled = false,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &stripline::Evaluate,
         .impedance = &stripline::Impedance,
         .check = &stripline::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 3,
         .thinMetalLimit = 0.0,
         .picture = "stripline",
         .crossSection = &StriplineCrossSection,
         .verified = StriplineVerified(),
         .dcConductor = &StripAtDc<3, false>},
        {.tabIndex = 2,
         .tabName = "CPW",
         .cliName = "cpw",
         .title = "CPW",
         .rowLabels = kCoplanarLabels,
         .dimensionKeys = {"W", "G", "H", "T"},
         .rowDefaults = {0.00005, 0.00001, 0.0001, 0.000001},
         .settings = {"CPW Line", kCoplanarKeys},
         .synthesis = CoplanarSynthesis(),
         .lossShown = true,
         .coupled = false,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::EveryError,
         .evaluate = &cpw::Evaluate,
         .impedance = nullptr,
         .check = &cpw::Check,
         .prepare = &BindCpwLibrary,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 4,
         .thinMetalLimit = 0.0,
         .picture = "cpw",
         .crossSection = &CpwCrossSection,
         .verified = CoplanarVerified(),
         .dcConductor = &StripAtDc<4, false>},
        {.tabIndex = 3,
         .tabName = "CPW Ground",
         .cliName = "cpw-ground",
         .title = "CPW",
         .rowLabels = kCoplanarLabels,
         .dimensionKeys = {"W", "G", "H", "T"},
         .rowDefaults = {0.00005, 0.00001, 0.0001, 0.000001},
         .settings = {"Grounded CPW Line", kCoplanarKeys},
         .synthesis = CoplanarSynthesis(),
         .lossShown = true,
         .coupled = false,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::EveryError,
         .evaluate = &groundedcpw::Evaluate,
         .impedance = nullptr,
         .check = &cpw::Check,
         .prepare = &BindCpwLibrary,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 4,
         .thinMetalLimit = 0.0,
         .picture = "cpw-ground",
         .crossSection = &GroundedCpwCrossSection,
         .verified = CoplanarVerified(),
         .dcConductor = &StripAtDc<4, false>},
        {.tabIndex = 4,
         .tabName = "Round Coaxial",
         .cliName = "coax",
         .title = "Round Coaxial",
         .rowLabels = {"Inner diameter (Di)", "Outer diameter (Do)"},
         .dimensionKeys = {"Di", "Do"},
         .rowDefaults = {0.0001, 0.0005},
         .settings = {"Coax Line", {"Inner diameter ", "Outer diameter"}},
         .synthesis = Scan(2, 0.001, 0.99, 1000, kDecreaseDo, kIncreaseDo),
         .lossShown = true,
         .coupled = false,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &coax::Evaluate,
         .impedance = &coax::Impedance,
         .check = &coax::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 0,
         .thinMetalLimit = 0.0,
         .picture = "coax",
         .crossSection = &CoaxCrossSection,
         .verified = CoaxVerified(),
         .dcConductor = &CoaxAtDc},
        // The scan runs from the wide slot (0.99 H) towards the narrow one, so
        // the objective's sign at the first end is that of the widest slot.
        {.tabIndex = 5,
         .tabName = "Slotline",
         .cliName = "slotline",
         .title = "Slotline",
         .rowLabels = {"Gap (G)", "Height (H)"},
         .dimensionKeys = {"G", "H"},
         .rowDefaults = {0.00001, 0.00003},
         .settings = {"Slot Line", {"Gap", "Height"}},
         .synthesis = Scan(2, 0.99, 0.001, 10000, kIncreaseH, kDecreaseH),
         .lossShown = false,
         .coupled = false,
         .readsLossInputs = false,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &slotline::Evaluate,
         .impedance = &slotline::Impedance,
         .check = &slotline::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleSlotlineValues,
         .thicknessRow = 0,
         .thinMetalLimit = 0.0,
         .picture = "slotline",
         .crossSection = nullptr},
        {.tabIndex = 6,
         .tabName = "Coupled MSLine",
         .cliName = "coupled-microstrip",
         .title = "Microstrip Coupled Line",
         .rowLabels = {"Width (W)", "Gap (S)", "Height(H)", "Thickness (T)"},
         .dimensionKeys = {"W", "S", "H", "T"},
         .rowDefaults = {4.6e-5, 5e-5, 5e-5, 1e-6},
         .settings = {"Coupled Microstrip Line", {"Width", "Gap", "Height", "Thickness"}},
         .synthesis = std::nullopt,
         .lossShown = true,
         .coupled = true,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &coatedcoupledmicrostrip::Evaluate,
         .impedance = nullptr,
         .check = &coatedcoupledmicrostrip::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 4,
         .thinMetalLimit = kThinnestConductor,
         .picture = "coupled-microstrip",
         .crossSection = &CoupledMicrostripCrossSection,
         .verified = CoupledMicrostripVerified(),
         .dcConductor = &StripAtDc<4, true>,
         .coated = true},
        {.tabIndex = 7,
         .tabName = "Coupled Stripline",
         .cliName = "coupled-stripline",
         .title = "Strip Coupled Line",
         .rowLabels = {"Width (W)", "Gap (S)", "Height (B)", "Thickness (T)"},
         .dimensionKeys = {"W", "S", "B", "T"},
         .rowDefaults = {5e-5, 5e-5, 1e-4, 1e-6},
         .settings = {"Coupled Strip Line", {"Width", "Gap", "Height", "Thickness"}},
         .synthesis = std::nullopt,
         .lossShown = true,
         .coupled = true,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &coupledstripline::Evaluate,
         .impedance = nullptr,
         .check = &coupledstripline::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 4,
         .thinMetalLimit = 0.0,
         .picture = "coupled-stripline",
         .crossSection = &CoupledStriplineCrossSection,
         .verified = CoupledStriplineVerified(),
         .dcConductor = &StripAtDc<4, false>},
        // The scan runs from the wide guide (impedance near eta) towards its
        // TE10 cut-off width, where the impedance grows without bound; b
        // keeps its ratio to a.
        {.tabIndex = 8,
         .tabName = "Waveguide",
         .cliName = "waveguide",
         .title = "Rectangular Waveguide",
         .rowLabels = {"Width (a)", "Height (b)"},
         .dimensionKeys = {"a", "b"},
         .rowDefaults = {0.02286, 0.01143},
         .settings = {"Rectangular Waveguide", {"Width", "Height"}},
         .synthesis = WithScaledRows(Scan(1, 20.0, 0.05, 1000, kGuideAbove, kGuideBelow), {2}),
         .lossShown = true,
         .coupled = false,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &waveguide::Evaluate,
         .impedance = &waveguide::Impedance,
         .check = &waveguide::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 0,
         .thinMetalLimit = 0.0,
         .picture = "waveguide",
         .crossSection = nullptr,
         .modes = &waveguide::Modes},
        // The scan runs from wires almost touching (impedance near 0) to
        // 100 diameters apart.
        {.tabIndex = 9,
         .tabName = "Twisted Pair",
         .cliName = "twisted-pair",
         .title = "Twisted Pair",
         .rowLabels = {"Spacing (D)", "Diameter (d)", "Twists per metre", "Er surroundings"},
         .dimensionKeys = {"D", "d", "twists", "Er_env"},
         .rowDefaults = {0.0008, 0.0005, 40.0, 1.0},
         .fixedRowUnits = {nullptr, nullptr, "1/m", "-"},
         .settings = {"Twisted Pair", {"Spacing", "Diameter", "Twists", "Er Surroundings"}},
         .synthesis = Scan(2, 1.0001, 100.0, 1000, kPairAbove, kPairBelow),
         .lossShown = true,
         .coupled = false,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &twistedpair::Evaluate,
         .impedance = &twistedpair::Impedance,
         .check = &twistedpair::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 0,
         .thinMetalLimit = 0.0,
         .picture = "twisted-pair",
         .crossSection = nullptr,
         .dcConductor = &TwistedPairAtDc,
         .secondErRow = 4},
        {.tabIndex = 10,
         .tabName = "Offset Stripline",
         .cliName = "offset-stripline",
         .title = "Offset Stripline",
         .rowLabels = {"Width (W)", "Below (H1)", "Above (H2)", "Thickness (T)", "Er above (0: Er)"},
         .dimensionKeys = {"W", "H1", "H2", "T", "Er2"},
         .rowDefaults = {5e-5, 5e-5, 1e-4, 1e-6, 0.0},
         .fixedRowUnits = {nullptr, nullptr, nullptr, nullptr, "-"},
         .settings = {"Offset Strip Line", {"Width", "Below", "Above", "Thickness", "Er Above"}},
         .synthesis = Scan(2, 0.005, 100.0, 1000, kDecreaseH, kIncreaseH),
         .lossShown = true,
         .coupled = false,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &offsetstripline::Evaluate,
         .impedance = &offsetstripline::Impedance,
         .check = &offsetstripline::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 4,
         .thinMetalLimit = 0.0,
         .picture = "offset-stripline",
         .crossSection = &OffsetStriplineCrossSection,
         .verified = OffsetStriplineVerified(),
         .dcConductor = &StripAtDc<4, false>,
         .secondErRow = 5},
        {.tabIndex = 11,
         .tabName = "Offset Coupled Stripline",
         .cliName = "offset-coupled-stripline",
         .title = "Offset Strip Coupled Line",
         .rowLabels = {"Width (W)", "Gap (S)", "Below (H1)", "Above (H2)", "Thickness (T)",
                       "Er above (0: Er)"},
         .dimensionKeys = {"W", "S", "H1", "H2", "T", "Er2"},
         .rowDefaults = {5e-5, 5e-5, 5e-5, 1e-4, 1e-6, 0.0},
         .fixedRowUnits = {nullptr, nullptr, nullptr, nullptr, nullptr, "-"},
         .settings = {"Offset Coupled Strip Line",
                      {"Width", "Gap", "Below", "Above", "Thickness", "Er Above"}},
         .synthesis = std::nullopt,
         .lossShown = true,
         .coupled = true,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &offsetcoupledstripline::Evaluate,
         .impedance = nullptr,
         .check = &offsetcoupledstripline::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 5,
         .thinMetalLimit = 0.0,
         .picture = "offset-coupled-stripline",
         .crossSection = &OffsetCoupledStriplineCrossSection,
         .verified = OffsetCoupledStriplineVerified(),
         .dcConductor = &StripAtDc<5, false>,
         .secondErRow = 6},
        {.tabIndex = 12,
         .tabName = "Broadside Stripline",
         .cliName = "broadside-coupled-stripline",
         .title = "Broadside Coupled Stripline",
         .rowLabels = {"Width (W)", "Between (S)", "Height (B)", "Thickness (T)"},
         .dimensionKeys = {"W", "S", "B", "T"},
         .rowDefaults = {1e-4, 5e-5, 2e-4, 1e-6},
         .settings = {"Broadside Coupled Strip Line", {"Width", "Between", "Height", "Thickness"}},
         .synthesis = std::nullopt,
         .lossShown = true,
         .coupled = true,
         .readsLossInputs = true,
         .analyzeShows = AnalyzeShows::CalculationErrors,
         .evaluate = &broadsidestripline::Evaluate,
         .impedance = nullptr,
         .check = &broadsidestripline::Check,
         .prepare = nullptr,
         .impossible = &ImpossibleLineValues,
         .thicknessRow = 4,
         .thinMetalLimit = 0.0,
         .picture = "broadside-coupled-stripline",
         .crossSection = &BroadsideStriplineCrossSection,
         .verified = BroadsideStriplineVerified(),
         .dcConductor = &StripAtDc<4, false>},
    };
    return types;
}

const std::vector<std::string>& TabNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> tabs;
        for (const LineType& type : LineTypes())
            tabs.push_back(type.tabName);
        return tabs;
    }();
    return names;
}

const LineType* FindLineType(std::string_view cliName) {
    for (const LineType& type : LineTypes())
        if (cliName == type.cliName) return &type;
    return nullptr;
}

const LineType* LineTypeForTab(int tabIndex) {
    for (const LineType& type : LineTypes())
        if (type.tabIndex == tabIndex) return &type;
    return nullptr;
}

std::unique_ptr<LineModel> CreateLineModel(const LineType& type, WindowServices& window) {
    return std::make_unique<LineModel>(window, type);
}
