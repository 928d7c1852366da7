#include "models/linetypes.h"

#include "models/coaxlinecalc.h"
#include "models/cpwlinecalc.h"
#include "models/mline.h"
#include "models/resultvalidity.h"
#include "models/slotlinecalc.h"
#include "models/striplinecalc.h"

namespace {

// "No solution for these parameters!" and what to try: the impedance stays
// above the target over the whole scan, or below it.
#define NO_SOLUTION "No solution for these parameters!\r\rPlease try "
const char* const kDecreaseH = NO_SOLUTION "decrease H,increase Zo,or increase Er";
const char* const kIncreaseH = NO_SOLUTION "increase H,decrease Zo,or decrease Er";
const char* const kDecreaseDo = NO_SOLUTION "decrease Do,increase Zo,or increase Er";
const char* const kIncreaseDo = NO_SOLUTION "increase Do,decrease Zo,or decrease Er";
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
    return {3,          0.005,      20.0,
            1e-6,       true,       10,
            kDecreaseH, kIncreaseH, {kCpwInvalidInputCode, kCpwGapClosedCode}};
}

} // namespace

const std::vector<LineType>& LineTypes() {
    static const std::vector<LineType> types{
        {0,
         "Microstrip",
         "microstrip",
         "Microstrip",
         {"Width (W)", "Height (H)", "Thickness (T)"},
         {"W", "H", "T"},
         {0.00005, 0.0001, 1e-6},
         {"Microstrip Line", {"Width", "Height", "Thickness"}},
         SynthesisRule{2, 0.005, 100.0, 1e-10, false, 1000, kDecreaseH, kIncreaseH, {}},
         true,
         false,
         true,
         AnalyzeShows::CalculationErrors,
         &microstrip::Evaluate,
         nullptr,
         &microstrip::Check,
         nullptr,
         &ImpossibleLineValues,
         &MicrostripLeavesOutConductorLoss},
        {1,
         "Stripline",
         "stripline",
         "Stripline",
         {"Width (W)", "Height (B)", "Thickness (T)"},
         {"W", "B", "T"},
         {5e-5, 1e-4, 1e-6},
         {"Strip Line", {"Width", "Height", "Thickness"}},
         SynthesisRule{2, 0.005, 100.0, 1e-10, false, 1000, kDecreaseH, kIncreaseH, {}},
         true,
         false,
         true,
         AnalyzeShows::CalculationErrors,
         &stripline::Evaluate,
         &stripline::Impedance,
         &stripline::Check,
         nullptr,
         &ImpossibleLineValues,
         &StriplineLeavesOutConductorLoss},
        {2,
         "CPW",
         "cpw",
         "CPW",
         kCoplanarLabels,
         {"W", "G", "H", "T"},
         {0.00005, 0.00001, 0.0001, 0.000001},
         {"CPW Line", kCoplanarKeys},
         CoplanarSynthesis(),
         true,
         false,
         true,
         AnalyzeShows::EveryError,
         &cpw::Evaluate,
         nullptr,
         &cpw::Check,
         &BindCpwLibrary,
         &ImpossibleLineValues,
         &FourRowLineLeavesOutConductorLoss},
        {3,
         "CPW Ground",
         "cpw-ground",
         "CPW",
         kCoplanarLabels,
         {"W", "G", "H", "T"},
         {0.00005, 0.00001, 0.0001, 0.000001},
         {"Grounded CPW Line", kCoplanarKeys},
         CoplanarSynthesis(),
         true,
         false,
         true,
         AnalyzeShows::EveryError,
         &groundedcpw::Evaluate,
         nullptr,
         &cpw::Check,
         &BindCpwLibrary,
         &ImpossibleLineValues,
         &FourRowLineLeavesOutConductorLoss},
        {4,
         "Round Coaxial",
         "coax",
         "Round Coaxial",
         {"Inner diameter (Di)", "Outer diameter (Do)"},
         {"Di", "Do"},
         {0.0001, 0.0005},
         {"Coax Line", {"Inner diameter ", "Outer diameter"}},
         SynthesisRule{2, 0.001, 0.99, 1e-10, false, 1000, kDecreaseDo, kIncreaseDo, {}},
         true,
         false,
         true,
         AnalyzeShows::CalculationErrors,
         &coax::Evaluate,
         nullptr,
         &coax::Check,
         nullptr,
         &ImpossibleLineValues,
         nullptr},
        // The scan runs from the wide slot (0.99 H) towards the narrow one, so
        // the objective's sign at the first end is that of the widest slot.
        {5,
         "Slotline",
         "slotline",
         "Slotline",
         {"Gap (G)", "Height (H)"},
         {"G", "H"},
         {0.00001, 0.00003},
         {"Slot Line", {"Gap", "Height"}},
         SynthesisRule{2, 0.99, 0.001, 1e-10, false, 10000, kIncreaseH, kDecreaseH, {}},
         false,
         false,
         false,
         AnalyzeShows::CalculationErrors,
         &slotline::Evaluate,
         nullptr,
         &slotline::Check,
         nullptr,
         &ImpossibleSlotlineValues,
         nullptr},
        {6,
         "Coupled MSLine",
         "coupled-microstrip",
         "Microstrip Coupled Line",
         {"Width (W)", "Gap (S)", "Height(H)", "Thickness (T)"},
         {"W", "S", "H", "T"},
         {4.6e-5, 5e-5, 5e-5, 1e-6},
         {"Coupled Microstrip Line", {"Width", "Gap", "Height", "Thickness"}},
         std::nullopt,
         true,
         true,
         true,
         AnalyzeShows::CalculationErrors,
         &coupledmicrostrip::Evaluate,
         nullptr,
         &coupledmicrostrip::Check,
         nullptr,
         &ImpossibleLineValues,
         &CoupledMicrostripLeavesOutConductorLoss},
        {7,
         "Coupled Stripline",
         "coupled-stripline",
         "Strip Coupled Line",
         {"Width (W)", "Gap (S)", "Height (B)", "Thickness (T)"},
         {"W", "S", "B", "T"},
         {5e-5, 5e-5, 1e-4, 1e-6},
         {"Coupled Strip Line", {"Width", "Gap", "Height", "Thickness"}},
         std::nullopt,
         true,
         true,
         true,
         AnalyzeShows::CalculationErrors,
         &coupledstripline::Evaluate,
         nullptr,
         &coupledstripline::Check,
         nullptr,
         &ImpossibleLineValues,
         &FourRowLineLeavesOutConductorLoss},
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
