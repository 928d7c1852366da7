#include "models/resultvalidity.h"

#include <cmath>

#include "models/mline.h"

bool IsImpossibleResult(double z0, double eeff, double loss) {
    const bool finite = std::isfinite(z0) && std::isfinite(eeff) && std::isfinite(loss);
    return !finite || !(z0 > 0.0) || !(eeff > 0.0) || !(loss >= 0.0);
}

bool IsImpossibleSlotlineResult(double z0, double eeff, double er) {
    return IsImpossibleResult(z0, eeff, 0.0) || !(eeff >= 1.0) || !(eeff <= er);
}

bool ThicknessLeavesOutConductorLoss(std::string_view cliName, double t) {
    if (cliName == "microstrip" || cliName == "coupled-microstrip")
        return !(t > kThinnestConductor);
    if (cliName == "stripline" || cliName == "coupled-stripline" || cliName == "cpw" ||
        cliName == "cpw-ground")
        return !(t > 0.0);
    return false;
}

bool ImpossibleLineValues(const LineInputs&, const LineValues& shown) {
    return IsImpossibleResult(shown.impedance, shown.eeff, shown.loss);
}

bool ImpossibleSlotlineValues(const LineInputs& in, const LineValues& shown) {
    return IsImpossibleSlotlineResult(shown.impedance, shown.eeff, in.er);
}

bool MicrostripLeavesOutConductorLoss(const LineInputs& in) {
    return ThicknessLeavesOutConductorLoss("microstrip", in.Row(3));
}

bool CoupledMicrostripLeavesOutConductorLoss(const LineInputs& in) {
    return ThicknessLeavesOutConductorLoss("coupled-microstrip", in.Row(4));
}

bool StriplineLeavesOutConductorLoss(const LineInputs& in) {
    return ThicknessLeavesOutConductorLoss("stripline", in.Row(3));
}

bool FourRowLineLeavesOutConductorLoss(const LineInputs& in) {
    return ThicknessLeavesOutConductorLoss("cpw", in.Row(4));
}
