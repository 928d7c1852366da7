// Two doubles computed side by side, for a formula evaluated at two inputs at
// once (an offset strip's two halves): the processor overlaps the two
// dependency chains, and SSE2 packs their arithmetic.  Packed add, subtract,
// multiply, divide and square root round each lane exactly as the scalar
// instruction does (no fused operations: the build keeps -ffp-contract=off),
// so every lane's result is that of the scalar formula, to the bit.
//
// A formula written once as a template over its number type serves double and
// Lanes alike, through the helpers below that have a form for each:
// - a comparison gives bool or LaneMask; Where(mask, a, b) picks per lane
//   without a branch (for clamps, whose both values are at hand);
// - Decide(mask) is a branch both lanes must take alike: where they differ it
//   throws LanesDisagree, and the caller evaluates each input alone;
// - PerLane(f, args...) runs a scalar function on each lane (a branch the
//   lanes may take differently, the table exp and log), lane 0 first;
// - Same(x) is an operand both lanes must hold to the bit (a strip's width
//   whose cached terms the lanes share), else LanesDisagree;
// - the checked square root and logarithm take their fast path when both
//   lanes may; otherwise LanesDisagree, so that an error is raised by the
//   scalar evaluation, input by input in the caller's order, as it would be
//   without lanes.
// Lanes raise no fault flag the scalar evaluation of both inputs would not:
// every packed operation is one that each input's formula performs.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "numeric/checkedmath.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Thrown where the two lanes would take different branches, or one lane
// would leave a checked function's fast path: the lanes' evaluation is
// abandoned for the inputs' own, one after the other.
struct LanesDisagree {};

struct LaneMask {
    using Bits = std::int64_t __attribute__((vector_size(16)));
    Bits bits; // all ones where the lane's comparison holds
};

struct Lanes {
    using Vector = double __attribute__((vector_size(16)));
    Vector v;

    Lanes() : v{0.0, 0.0} {}
    // A constant or an input common to both lanes.
    Lanes(double both) : v{both, both} {}
    Lanes(double lane0, double lane1) : v{lane0, lane1} {}
    explicit Lanes(Vector x) : v(x) {}
    double operator[](int lane) const { return v[lane]; }
};

inline Lanes operator+(Lanes a, Lanes b) {
    return Lanes(a.v + b.v);
}
inline Lanes operator-(Lanes a, Lanes b) {
    return Lanes(a.v - b.v);
}
inline Lanes operator*(Lanes a, Lanes b) {
    return Lanes(a.v * b.v);
}
inline Lanes operator/(Lanes a, Lanes b) {
    return Lanes(a.v / b.v);
}
inline Lanes operator-(Lanes a) {
    return Lanes(-a.v);
}
inline Lanes& operator+=(Lanes& a, Lanes b) {
    return a = a + b;
}

inline LaneMask operator<(Lanes a, Lanes b) {
    return {a.v < b.v};
}
inline LaneMask operator>(Lanes a, Lanes b) {
    return {a.v > b.v};
}
inline LaneMask operator<=(Lanes a, Lanes b) {
    return {a.v <= b.v};
}
inline LaneMask operator>=(Lanes a, Lanes b) {
    return {a.v >= b.v};
}
inline LaneMask operator!(LaneMask m) {
    return {~m.bits};
}
inline LaneMask operator&&(LaneMask a, LaneMask b) {
    return {a.bits & b.bits};
}

// Whether the comparison holds in every lane, in none.
inline bool All(bool holds) {
    return holds;
}
inline bool All(LaneMask m) {
    return m.bits[0] != 0 && m.bits[1] != 0;
}
inline bool None(bool holds) {
    return !holds;
}
inline bool None(LaneMask m) {
    return m.bits[0] == 0 && m.bits[1] == 0;
}

// Whether the lanes differ: the comparison holds in one lane only.
inline bool Mixed(bool) {
    return false;
}
inline bool Mixed(LaneMask m) {
    return !All(m) && !None(m);
}

// A branch both lanes must take alike.
inline bool Decide(bool holds) {
    return holds;
}
inline bool Decide(LaneMask m) {
    if (All(m)) return true;
    if (None(m)) return false;
    throw LanesDisagree{};
}

// `a` where the mask holds, else `b`: bit patterns picked, nothing computed.
inline double Where(bool holds, double a, double b) {
    return holds ? a : b;
}
inline Lanes Where(LaneMask m, Lanes a, Lanes b) {
    using Bits = LaneMask::Bits;
    const Bits picked = (std::bit_cast<Bits>(a.v) & m.bits) | (std::bit_cast<Bits>(b.v) & ~m.bits);
    return Lanes(std::bit_cast<Lanes::Vector>(picked));
}

// One lane of an operand, lane 0 or 1 (a double serves both).
inline double Lane(double x, int) {
    return x;
}
inline double Lane(Lanes x, int lane) {
    return x[lane];
}

// The operand both lanes hold, to the bit.
inline double Same(double x) {
    return x;
}
inline double Same(Lanes x) {
    if (std::bit_cast<std::uint64_t>(x[0]) != std::bit_cast<std::uint64_t>(x[1]))
        throw LanesDisagree{};
    return x[0];
}

// f on each lane, lane 0 first; f itself where no operand has lanes.
template <class F, class... Args> auto PerLane(F f, Args... args) {
    if constexpr ((std::is_same_v<Args, Lanes> || ...)) {
        const double lane0 = f(Lane(args, 0)...);
        return Lanes(lane0, f(Lane(args, 1)...));
    } else {
        return f(args...);
    }
}

// The number type of a formula's result from its operands': Lanes if any has.
template <class... Args>
using LanesOr = std::conditional_t<(std::is_same_v<Args, Lanes> || ...), Lanes, double>;

inline Lanes Sqrt(Lanes x) {
#if defined(__SSE2__)
    return Lanes(std::bit_cast<Lanes::Vector>(_mm_sqrt_pd(std::bit_cast<__m128d>(x.v))));
#else
    return Lanes(std::sqrt(x[0]), std::sqrt(x[1]));
#endif
}
inline double Sqrt(double x) {
    return std::sqrt(x);
}

// The table exp and log per lane (their fallbacks raise no error).
inline Lanes ExpFast(Lanes x) {
    return PerLane([](double v) { return ExpFast(v); }, x);
}
inline Lanes LogFast(Lanes x) {
    return PerLane([](double v) { return LogFast(v); }, x);
}

// The checked functions where both lanes stay on the fast path.  (A base's
// powers: CheckedPowers::Pow's own fast path, the base's logarithm from the
// table and the power's exp too.)
inline Lanes CheckedSqrt(Lanes x) {
    if (!All(x >= Lanes(0.0))) throw LanesDisagree{};
    return Sqrt(x);
}
inline Lanes CheckedLog(Lanes x) {
    if (!fastexplog::LogCoreTakes(x[0]) || !fastexplog::LogCoreTakes(x[1])) throw LanesDisagree{};
    return Lanes(fastexplog::LogCore(x[0]), fastexplog::LogCore(x[1]));
}
inline double Pow(const CheckedPowers& base, double y) {
    return base.Pow(y);
}
inline Lanes Pow(const CheckedPowers& base, Lanes y) {
    if (!fastexplog::LogCoreTakes(base.Base())) throw LanesDisagree{};
    const Lanes exponent = y * base.Log();
    if (!fastexplog::ExpCoreTakes(exponent[0]) || !fastexplog::ExpCoreTakes(exponent[1]))
        throw LanesDisagree{};
    return Lanes(fastexplog::ExpCore(exponent[0]), fastexplog::ExpCore(exponent[1]));
}

// `lanes()`, or where the lanes part, `alone()` (each input in turn).  The
// fault flags the abandoned lanes raised are left as they are: flags are not
// ordered against arithmetic the compiler may move or share, so clearing
// them could drop the inputs' own.  They are a part of the inputs' own
// evaluation's, unless that stops at an error before the second input: then
// the error is the answer, and its flags are not read.
template <class InLanes, class Alone> auto InLanesOrAlone(InLanes lanes, Alone alone) {
    try {
        return lanes();
    } catch (const LanesDisagree&) {
        return alone();
    }
}
