#include "models/linetypes.h"

#include "models/coaxlinecalc.h"
#include "models/cpwlinecalc.h"
#include "models/mline.h"
#include "models/slotlinecalc.h"
#include "models/striplinecalc.h"

namespace {

template <class Model>
std::unique_ptr<LineModel> Create(WindowServices& window) {
    return std::make_unique<Model>(window);
}

}  // namespace

const std::vector<std::string>& TabNames() {
    static const std::vector<std::string> names{
        "Microstrip", "Stripline", "CPW", "CPW Ground",
        "Round Coaxial", "Slotline", "Coupled MSLine", "Coupled Stripline"};
    return names;
}

const std::vector<LineType>& LineTypes() {
    static const std::vector<LineType> types{
        {0, "Microstrip", "microstrip", {"W", "H", "T"}, false, true, &Create<MicrostripModel>},
        {1, "Stripline", "stripline", {"W", "B", "T"}, false, true, &Create<StriplineModel>},
        {2, "CPW", "cpw", {"W", "G", "H", "T"}, false, true, &Create<CpwModel>},
        {3, "CPW Ground", "cpw-ground", {"W", "G", "H", "T"}, false, true, &Create<GroundedCpwModel>},
        {4, "Round Coaxial", "coax", {"Di", "Do"}, false, true, &Create<CoaxModel>},
        {5, "Slotline", "slotline", {"G", "H"}, false, false, &Create<SlotlineModel>},
        {6, "Coupled MSLine", "coupled-microstrip", {"W", "S", "H", "T"}, true, true,
         &Create<CoupledMicrostripModel>},
        {7, "Coupled Stripline", "coupled-stripline", {"W", "S", "B", "T"}, true, true,
         &Create<CoupledStriplineModel>},
    };
    return types;
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
