// Round coaxial line, closed-form TEM formulas: Z0 = eta ln(b/a) / 2 pi and
// the surface-resistance conductor loss plus the dielectric loss (Pozar,
// "Microwave Engineering", section 2.7).
#include "models/coaxlinecalc.h"

#include <stdexcept>

#include "numeric/checkedmath.h"

namespace {

const SettingsSection kSection{"Coax Line", {"Inner diameter ", "Outer diameter"}};

constexpr double kTwoPi = 6.283185307179586;
constexpr double kInverseSpeedOfLight = 3.3356404846685622e-9;  // 1 / 2.997925e8 s/m
constexpr double kMu0 = 1.256637061435917e-6;                  // H/m
constexpr double kOneOverTwoPi = 0.15915494309189534198;

}  // namespace

CoaxResult CoaxLineKernel(double outerDiameter, double innerDiameter, double er, double rho,
                          double lossTangent, double frequency) {
    const double b = outerDiameter * 0.5;
    const double a = innerDiameter * 0.5;
    const double omega = kTwoPi * frequency;
    const double k0 = omega * kInverseSpeedOfLight;
    const double n = CheckedSqrt(er);
    const double eta = 376.7 / n;
    const double logRatio = CheckedLog(b / a);
    // Surface resistance of a conductor of resistivity Rho times gold's.
    const double rs = CheckedSqrt(0.5 * omega * kMu0 * rho * LineModel::kGoldResistivity);
    const double alpha = rs * 0.5 * (a + b) / (eta * logRatio * b * a) + 0.5 * k0 * lossTangent * n;
    return {eta * logRatio * kOneOverTwoPi, alpha};
}

double CoaxTe11Cutoff(double outerDiameter, double innerDiameter, double er) {
    // k_c = 2 / (a + b) for the TE11 mode, the usual approximation, good to a
    // few per cent for common diameter ratios (Pozar, "Microwave
    // Engineering", section 3.5).
    constexpr double kPi = 3.141592653589793;
    return LineModel::kSpeedOfLight /
           (kPi * 0.5 * (innerDiameter + outerDiameter) * CheckedSqrt(er));
}

double CoaxModel::Objective(double x) {
    const double outer = GetParameter(2);
    const double er = GetDielectricConstant();
    const double tand = GetLossTangent();
    const double rho = GetRelativeResistivity();
    const double f = GetFrequency();
    effDielConst = er;
    const CoaxResult result = CoaxLineKernel(outer, x, er, rho, tand, f);
    loss = result.loss;
    impedance = result.impedance;
    return impedance - GetTargetImpedance();
}

void CoaxModel::LoadAndSetup() {
    ShowParameterRows();
    SetTitle("Round Coaxial");
    ShowCaption();
    SetParameterLabel("Inner diameter (Di)", 1);
    SetParameterLabel("Outer diameter (Do)", 2);
    SetParameter(0.0001, 1);
    SetParameter(0.0005, 2);
    LoadSettingsSection(kSection);
    SetCoupledMode(-1);
}

void CoaxModel::SaveSettings() { SaveSettingsSection(kSection); }

void CoaxModel::Synthesize() {
    const double outer = GetParameter(2);
    SynthesizeRow1(0.001 * outer, 0.99 * outer, 1e-10, 1000,
                   "No solution for these parameters!\r\rPlease try decrease Do,increase Zo,or increase Er",
                   "No solution for these parameters!\r\rPlease try increase Do,decrease Zo,or decrease Er");
}

void CoaxModel::Analyze() { AnalyzeRow1(LossOutput::Show, ReportedErrors::WithDomainErrors); }

void CoaxModel::CheckParameters() {
    const double inner = GetParameter(1);
    const double outer = GetParameter(2);
    if (inner > outer) throw std::domain_error("Di must be less than than Do");
    // Equal diameters leave no dielectric (zero impedance, a conductor loss
    // divided by ln 1 = 0); a diameter that is not positive has no line at all.
    if (inner == outer) throw std::domain_error("Di must be less than Do: equal diameters leave no line");
    if (!(inner > 0.0) || !(outer > 0.0)) throw std::domain_error("Di and Do must be greater than zero");
    ClearWarnings();
    CheckQuarterWave();
    ShowWarnings();
}
