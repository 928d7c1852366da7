// Losses of coplanar lines in nepers per metre.
#include <algorithm>
#include <cmath>

#include "cpwlib/cpwline.h"

namespace cpwlib {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPiOverC = 1.04792236416514530e-8; // pi / c, c = 2.997925e8 m/s
constexpr double kMu0 = 1.25663706143591729539e-6;  // 4 pi 1e-7 H/m
constexpr double kGoldResistivity = 2.44e-8;        // ohm metre
constexpr double k480Pi = 1507.96447372310075447;   // 480 pi = 4 eta0
constexpr double k8Pi = 25.1327412287183459077;     // 8 pi

// Skin-effect conductor loss after G. H. Owyang and T. T. Wu, IRE Trans. AP-6,
// 1958 (as given by Gupta et al., ch. 7), with k = k0, a = W/2, b = W/2 + G
// and the surface resistance Rs = sqrt(pi f mu0 rho):
//   alpha_s = Rs sqrt(eeff) / (480 pi K(k) K(k') (1 - k^2))
//             * { (1/a) [pi + ln(8 pi a (1 - k) / (T (1 + k)))]
//               + (1/b) [pi + ln(8 pi b (1 - k) / (T (1 + k)))] }
// The formula is for metal thin against the slot; an edge term that would turn
// negative for thicker metal is floored at zero rather than credit a gain.
double SkinEffectLoss(const CpwLine& line, double eeff, double resistivity, double frequency) {
    const Modulus k0 = CentreStripModulus(line.width, line.gap);
    const double a = 0.5 * line.width;
    const double b = a + line.gap;
    // (1 - k) / (1 + k) = G / (W + G), exactly
    const double lnEdge = std::log(k8Pi) + std::log(line.gap) - std::log(line.width + line.gap) -
                          std::log(line.thickness);
    const double edges = std::max(kPi + lnEdge + std::log(a), 0.0) / a +
                         std::max(kPi + lnEdge + std::log(b), 0.0) / b;

    const double rs = std::sqrt(kPi * frequency * kMu0 * resistivity);
    const double kk = EllipticK(k0) * EllipticKComplement(k0);
    return rs * std::sqrt(eeff) / (k480Pi * kk) / k0.kp / k0.kp * edges;
}

// x coth x: 1 at x = 0, rising smoothly and monotonically to x.
double SmoothFloor(double x) {
    if (x < 1e-8) return 1.0; // x coth x = 1 + x^2/3 + ...
    return x / std::tanh(x);
}

} // namespace

// Dielectric loss with the filling factor (Gupta et al., "Microstrip Lines and
// Slotlines", ch. 7):
//   alpha_d = pi f / c * er / sqrt(eeff) * (eeff - 1) / (er - 1) * tan delta.
double DielectricLoss(const CpwLine& line, double eeff, double lossTangent, double frequency) {
    if (!(line.er > 1.0) || !(lossTangent > 0.0) || !(frequency > 0.0)) return 0.0;
    return kPiOverC * frequency * line.er / std::sqrt(eeff) * ((eeff - 1.0) / (line.er - 1.0)) *
           lossTangent;
}

// Conductor loss from direct current to the skin-effect regime.  The current
// of a line at low frequency fills the strip uniformly, and the loss is that
// of its DC resistance, alpha_dc = rho / (W T) / (2 Z0); the ground planes,
// unbounded here, add no DC resistance.  At high frequency the skin-effect
// value alpha_s holds.  The two are joined as
//   alpha_c = alpha_dc * x coth x,   x = alpha_s / alpha_dc,
// which is smooth, never below either value, rises monotonically with f and
// falls with T, and differs from alpha_s by the factor coth x = 1 + 2 e^(-2x)
// once alpha_s is a few times alpha_dc.  Where the two are equal it is 31 %
// above them: the join is an interpolation of our choosing, not a field
// solution of the crossover.
double ConductorLoss(const CpwLine& line, LineValues values, double relativeResistivity,
                     double frequency) {
    if (!(line.thickness > 0.0) || !(relativeResistivity > 0.0) || !(frequency > 0.0)) return 0.0;
    const double rho = relativeResistivity * kGoldResistivity;
    const double direct = rho / line.width / line.thickness / (2.0 * values.impedance);
    const double skin = SkinEffectLoss(line, values.eeff, rho, frequency);
    return direct * SmoothFloor(skin / direct);
}

} // namespace cpwlib
