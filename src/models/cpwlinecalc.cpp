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

namespace {

const SettingsSection kCpwSection{"CPW Line", {"Width", "Gap", "Height", "Thickness"}};
const SettingsSection kGroundedCpwSection{"Grounded CPW Line",
                                          {"Width", "Gap", "Height", "Thickness"}};

const char* const kLoadFailure = "Could not load CPW for Tavrel.dll";
const char* const kMissingEntry = "CPW for Tavrel.dll has no entry point QRX_CPW1";

// No sign change over the scan: the impedance stays above, or below, the target.
const char* const kAboveTarget =
    "No solution for these parameters!\r\rPlease try decrease H,increase Zo,or increase Er";
const char* const kBelowTarget =
    "No solution for these parameters!\r\rPlease try increase H,decrease Zo,or decrease Er";

// Codes of the calculation errors made from the library's status, beside the
// solver's 10001.
constexpr int kInvalidInputCode = 10101;
constexpr int kGapClosedCode = 10102;
constexpr int kOutOfRangeCode = 10103;
constexpr int kUnknownStatusCode = 10104;

constexpr int kDispersion = 1; // impedance and eeff at the frequency
constexpr int kReserved = 0;

// Synthesis: strip widths from 0.005 H to 20 H, scanned in 10 steps.
constexpr double kNarrowestWidth = 0.005;
constexpr double kWidestWidth = 20.0;
constexpr int kScanSteps = 10;
// Brent stops within about half the tolerance of the root.  1e-6 m is a fifth
// of a 5 um strip, and the synthesized impedance of such a strip missed its
// target by 5 %; for substrates thinner than a metre the tolerance therefore
// shrinks with H.
constexpr double kWidthTolerance = 1e-6; // metres, and times H below H = 1 m

// Process-wide: written by every model's constructor with the same values,
// never released.
struct CpwLibraryBinding {
    void* handle = nullptr;
    QRX_CPW1_Function entry = nullptr;
};
constinit CpwLibraryBinding binding;

std::string& LibraryFileName() {
    static std::string fileName = SharedLibraryFileName("CPW for Tavrel");
    return fileName;
}

void BindCpwLibrary() {
    void* handle = LoadSharedLibrary(LibraryFileName());
    if (handle == nullptr) throw std::domain_error(kLoadFailure);
    // A library without the export would leave nothing to call: stop at
    // start-up with a message rather than at the first calculation.
    void* entry = FindSharedLibraryExport(handle, "QRX_CPW1");
    if (entry == nullptr) throw std::domain_error(kMissingEntry);
    binding.handle = handle;
    binding.entry = reinterpret_cast<QRX_CPW1_Function>(entry);
}

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
        return TP_Exceptions(kInvalidInputCode, InvalidInputText(in), in.w);
    case QRX_CPW_GAP_CLOSED:
        return TP_Exceptions(kGapClosedCode, "Gap too small for the strip thickness", in.w);
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

CpwModel::CpwModel(WindowServices& window) : LineModel(window, 4) {
    BindCpwLibrary();
}

double CpwModel::CoplanarObjective(double w, int groundPlane) {
    CoplanarInputs in{w, 0, 0, 0, 0, 0, 0, 0};
    in.g = GetParameter(2);
    in.h = GetParameter(3);
    in.t = GetParameter(4);
    in.er = GetDielectricConstant();
    in.lossTangent = GetLossTangent();
    in.rho = GetRelativeResistivity();
    in.f = GetFrequency();
    // The library writes NaN on failure: the results of the last good call
    // stay in the model until a call succeeds.
    double lineLoss = 0.0, lineImpedance = 0.0, lineEeff = 0.0;
    const int status =
        binding.entry(in.g, in.g, in.w, in.h, in.h, in.t, in.er, in.lossTangent, in.rho, in.f,
                      kDispersion, kReserved, groundPlane, &lineLoss, &lineImpedance, &lineEeff);
    if (status != QRX_CPW_OK) throw LibraryError(status, in);
    loss = lineLoss;
    impedance = lineImpedance;
    effDielConst = lineEeff;
    return impedance - GetTargetImpedance();
}

double CpwModel::Objective(double x) {
    return CoplanarObjective(x, 0);
}

void CpwModel::SetUp(const SettingsSection& section) {
    ShowParameterRows();
    SetTitle("CPW");
    ShowCaption();
    SetParameterLabel("Width (W)", 1);
    SetParameterLabel("Gap (G)", 2);
    SetParameterLabel("Height (H)", 3);
    SetParameterLabel("Thickness (T)", 4);
    SetParameter(0.00005, 1);
    SetParameter(0.00001, 2);
    SetParameter(0.0001, 3);
    SetParameter(0.000001, 4);
    LoadSettingsSection(section);
    SetCoupledMode(-1);
    RefreshWindow();
}

void CpwModel::LoadAndSetup() {
    SetUp(kCpwSection);
}
void CpwModel::SaveSettings() {
    SaveSettingsSection(kCpwSection);
}

bool CpwModel::SynthesisCanStart(double narrowestWidth) {
    try {
        EvaluateObjective(narrowestWidth);
    } catch (const TP_Exceptions& e) {
        // The thickness correction grows with the strip width, so a gap it
        // closes at the narrowest strip is closed at every width.
        if (e.hasCode() && (e.code() == kInvalidInputCode || e.code() == kGapClosedCode)) {
            ReportError(e.text());
            return false;
        }
    } catch (const std::exception&) {
        // Anything else is left to the scan, which steps inward past it.
    }
    return true;
}

void CpwModel::Synthesize() {
    const double h = GetParameter(3);
    if (!SynthesisCanStart(kNarrowestWidth * h)) return;
    const double tolerance = std::min(kWidthTolerance, kWidthTolerance * h);
    SynthesizeRow1(kNarrowestWidth * h, kWidestWidth * h, tolerance, kScanSteps, kAboveTarget,
                   kBelowTarget);
}

void CpwModel::Analyze() {
    try {
        AnalyzeRow1(LossOutput::Show, ReportedErrors::WithDomainErrors);
    } catch (const std::exception& e) {
        // Every standard-library error gets its box here too (a zero
        // conductivity's division, for one), not only the domain errors.
        ReportError(e.what());
    }
}

void CpwModel::CheckParameters() {
    ClearWarnings();
    CheckQuarterWave();
    ShowWarnings();
}

double GroundedCpwModel::Objective(double x) {
    return CoplanarObjective(x, 1);
}
void GroundedCpwModel::LoadAndSetup() {
    SetUp(kGroundedCpwSection);
}
void GroundedCpwModel::SaveSettings() {
    SaveSettingsSection(kGroundedCpwSection);
}
