// The library's one export: checks the arguments, runs the line formulas and
// writes the three outputs, or NaN into all three with a status when the
// formulas do not apply (see qrx_cpw.h).
#include "cpwlib/qrx_cpw.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>

#include "cpwlib/callerfpstate.h"
#include "cpwlib/cpwline.h"

namespace {

using cpwlib::CpwLine;
using cpwlib::LineValues;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Outputs {
    double loss;
    double impedance;
    double eeff;
    double conductorLoss;
    double dielectricLoss;
};

bool AllFinite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

bool IsFlag(int value) {
    return value == 0 || value == 1;
}

// Finite dimensions above zero (T at least zero) and Er at least 1.
bool IsLine(double gap, double width, double height, double thickness, double er) {
    return AllFinite({gap, width, height, thickness, er}) && width > 0.0 && gap > 0.0 &&
           height > 0.0 && thickness >= 0.0 && er >= 1.0;
}

// The whole calculation; returns a status and fills `out` only on success.
int Calculate(const CpwLine& line, double lossTangent, double resistivity, double frequency,
              bool dispersion, Outputs& out) {
    const std::optional<LineValues> quasiStatic = cpwlib::QuasiStatic(line);
    if (!quasiStatic) return QRX_CPW_GAP_CLOSED;
    const LineValues values =
        dispersion ? cpwlib::Disperse(line, *quasiStatic, frequency) : *quasiStatic;
    const double dielectric = cpwlib::DielectricLoss(line, values.eeff, lossTangent, frequency);
    const double conductor = cpwlib::ConductorLoss(line, values, resistivity, frequency);
    const double loss = dielectric + conductor;

    // Extreme but valid ratios of the dimensions can leave the range of doubles;
    // such a value must not pass as a result.
    if (!AllFinite({loss, values.impedance, values.eeff}) || !(values.impedance > 0.0) ||
        !(values.eeff >= 1.0) || !(loss >= 0.0))
        return QRX_CPW_OUT_OF_RANGE;
    out = {loss, values.impedance, values.eeff, conductor, dielectric};
    return QRX_CPW_OK;
}

int CheckedCall(double gap, double width, double height, double thickness, double er,
                double lossTangent, double resistivity, double frequency, int dispersion,
                int groundPlane, double* loss, double* impedance, double* eeff,
                double* parts = nullptr) {
    if (loss == nullptr || impedance == nullptr || eeff == nullptr) return QRX_CPW_INVALID_ARGUMENT;
    if (!IsFlag(dispersion) || !IsFlag(groundPlane)) return QRX_CPW_INVALID_ARGUMENT;
    if (!AllFinite({lossTangent, resistivity, frequency}) ||
        !IsLine(gap, width, height, thickness, er))
        return QRX_CPW_INVALID_ARGUMENT;

    const CpwLine line{width, gap, height, thickness, er, groundPlane == 1};
    Outputs out{};
    const int status = Calculate(line, lossTangent, resistivity, frequency, dispersion == 1, out);
    if (status != QRX_CPW_OK) return status;
    *loss = out.loss;
    *impedance = out.impedance;
    *eeff = out.eeff;
    if (parts != nullptr) {
        parts[0] = out.conductorLoss;
        parts[1] = out.dielectricLoss;
    }
    return QRX_CPW_OK;
}

} // namespace

extern "C" QRX_CPW_API int QRX_CPW1(double gap, double /*gapAgain*/, double width, double height,
                                    double /*heightAgain*/, double thickness, double er,
                                    double lossTangent, double resistivity, double frequency,
                                    int dispersion, int /*reserved*/, int groundPlane, double* loss,
                                    double* impedance, double* eeff) {
    // Extreme inputs may overflow or underflow inside (and are then reported
    // by the status), but the caller, which tests its own floating-point
    // flags, must see none of it.
    const cpwlib::CallerFloatingPointState callerState;

    if (loss != nullptr) *loss = kNaN;
    if (impedance != nullptr) *impedance = kNaN;
    if (eeff != nullptr) *eeff = kNaN;
    const int status = CheckedCall(gap, width, height, thickness, er, lossTangent, resistivity,
                                   frequency, dispersion, groundPlane, loss, impedance, eeff);

    return status;
}

extern "C" QRX_CPW_API int QRX_CPW_Parts(double gap, double width, double height,
                                         double thickness, double er, double lossTangent,
                                         double resistivity, double frequency, int groundPlane,
                                         double* loss, double* impedance, double* eeff,
                                         double* conductorLoss, double* dielectricLoss) {
    const cpwlib::CallerFloatingPointState callerState;
    for (double* out : {loss, impedance, eeff, conductorLoss, dielectricLoss})
        if (out != nullptr) *out = kNaN;
    int status = QRX_CPW_INVALID_ARGUMENT;
    if (conductorLoss != nullptr && dielectricLoss != nullptr) {
        double parts[2] = {kNaN, kNaN};
        status = CheckedCall(gap, width, height, thickness, er, lossTangent, resistivity,
                             frequency, 1, groundPlane, loss, impedance, eeff, parts);
        *conductorLoss = parts[0];
        *dielectricLoss = parts[1];
    }
    return status;
}

extern "C" QRX_CPW_API int QRX_CPW_Validity(double gap, double width, double height,
                                            double thickness, double er, int groundPlane) {
    const cpwlib::CallerFloatingPointState callerState;
    int warnings = 0;
    if (IsLine(gap, width, height, thickness, er) && IsFlag(groundPlane) &&
        cpwlib::ThicknessBeyondVerifiedRange(gap, thickness))
        warnings |= QRX_CPW_WARN_THICK_METAL;
    return warnings;
}
