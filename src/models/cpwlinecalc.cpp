// Coplanar waveguide and grounded coplanar waveguide through the coplanar
// library's QRX_CPW1 (quasi-static values after Ghione and Naldi, thickness
// after Gupta et al., dispersion after Frankel et al., losses after Owyang
// and Wu; see cpwlib/qrx_cpw.h).  The library reports input its formulas do
// not cover with NaN outputs and a status; the models turn that status into a
// calculation error with a plain text, so no NaN ever reaches the window.
#include "models/cpwlinecalc.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <stdexcept>

#include "cpwlib/qrx_cpw.h"
#include "models/sharedlibrary.h"
#include "numeric/tpexceptions.h"

namespace {

const char* const kLoadFailure = "Could not load CPW for Tavrel.dll";
const char* const kMissingEntry = "CPW for Tavrel.dll has no entry point QRX_CPW1";

// Codes of the calculation errors made from the library's status, beside
// kCpwInvalidInputCode and kCpwGapClosedCode.
constexpr int kOutOfRangeCode = 10103;
constexpr int kUnknownStatusCode = 10104;

constexpr int kDispersion = 1; // impedance and eeff at the frequency
constexpr int kReserved = 0;

// Process-wide: written by every model's constructor with the same values,
// never released.
using QRX_CPW_Validity_Function = int (*)(double, double, double, double, double, int);

struct CpwLibraryBinding {
    void* handle = nullptr;
    QRX_CPW1_Function entry = nullptr;
    QRX_CPW_Validity_Function validity = nullptr; // null: a library that names no limits
    QRX_CPW_Parts_Function parts = nullptr; // null: the parts from two more calls of `entry`
};
constinit CpwLibraryBinding binding;

std::string& LibraryFileName() {
    static std::string fileName = SharedLibraryFileName("CPW for Tavrel");
    return fileName;
}

} // namespace

void BindCpwLibrary() {
    void* handle = LoadSharedLibrary(LibraryFileName());
    if (handle == nullptr) throw std::domain_error(kLoadFailure);
    // A library without the export would leave nothing to call: stop at
    // start-up with a message rather than at the first calculation.
    void* entry = FindSharedLibraryExport(handle, "QRX_CPW1");
    if (entry == nullptr) throw std::domain_error(kMissingEntry);
    binding.handle = handle;
    binding.entry = reinterpret_cast<QRX_CPW1_Function>(entry);
    binding.validity = reinterpret_cast<QRX_CPW_Validity_Function>(
        FindSharedLibraryExport(handle, "QRX_CPW_Validity"));
    binding.parts =
        reinterpret_cast<QRX_CPW_Parts_Function>(FindSharedLibraryExport(handle, "QRX_CPW_Parts"));
}

namespace {

struct CoplanarInputs {
    double w, g, h, t, er, lossTangent, rho, f;
};

bool AllFinite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// The message for an input the library rejected (QRX_CPW_INVALID_ARGUMENT),
// naming the first input at fault in the order the library checks them.
const char* InvalidInputText(const CoplanarInputs& in) {
    if (!AllFinite({in.w, in.g, in.h, in.t, in.er, in.lossTangent, in.rho, in.f}))
        return "CPW inputs must be finite numbers";
    if (!(in.w > 0.0) || !(in.g > 0.0) || !(in.h > 0.0)) return "W, G and H must be > 0";
    if (!(in.t >= 0.0)) return "T must be >= 0";
    if (!(in.er >= 1.0)) return "Er must be >= 1";
    return "Invalid input for the CPW calculation";
}

TP_Exceptions LibraryError(int status, const CoplanarInputs& in) {
    switch (status) {
    case QRX_CPW_INVALID_ARGUMENT:
        return TP_Exceptions(kCpwInvalidInputCode, InvalidInputText(in), in.w);
    case QRX_CPW_GAP_CLOSED:
        return TP_Exceptions(kCpwGapClosedCode, "Gap too small for the strip thickness", in.w);
    case QRX_CPW_OUT_OF_RANGE:
        return TP_Exceptions(kOutOfRangeCode, "Dimensions out of the range of the CPW calculation",
                             in.w);
    default:
        return TP_Exceptions(kUnknownStatusCode,
                             "CPW calculation failed with status " + std::to_string(status), in.w);
    }
}

} // namespace

const std::string& CpwLibraryFileName() {
    return LibraryFileName();
}
void SetCpwLibraryFileName(const std::string& fileName) {
    LibraryFileName() = fileName;
}

namespace {

LineResult CoplanarEvaluate(const LineInputs& line, double w, int groundPlane) {
    const CoplanarInputs in{w,       line.Row(2), line.Row(3), line.Row(4),
                            line.er, line.tand,   line.rho,    line.f};
    LineResult result;
    // One call with the loss parts where the library splits them; the total
    // alone otherwise (the calculation step then finds the parts).
    const int status =
        binding.parts != nullptr
            ? binding.parts(in.g, in.w, in.h, in.t, in.er, in.lossTangent, in.rho, in.f,
                            groundPlane, &result.loss, &result.impedance, &result.eeff,
                            &result.conductorLoss, &result.dielectricLoss)
            : binding.entry(in.g, in.g, in.w, in.h, in.h, in.t, in.er, in.lossTangent, in.rho,
                            in.f, kDispersion, kReserved, groundPlane, &result.loss,
                            &result.impedance, &result.eeff);
    if (status != QRX_CPW_OK) throw LibraryError(status, in);
    return result;
}

} // namespace

LineResult cpw::Evaluate(const InputsAtFrequency& in, double w) {
    return CoplanarEvaluate(in, w, 0);
}

LineResult groundedcpw::Evaluate(const InputsAtFrequency& in, double w) {
    return CoplanarEvaluate(in, w, 1);
}

// The library checks its own inputs: no limits of the line's own.
void cpw::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    // The library names where its thick-metal model has not been verified
    // against field solutions (the same for both ground-plane flags).
    if (binding.validity == nullptr) return;
    const int flags = binding.validity(in.Row(2), in.Row(1), in.Row(3), in.Row(4), in.er, 0);
    if (flags & QRX_CPW_WARN_THICK_METAL) warnings.push_back("(T/G) Recommended <= 0.9");
}
