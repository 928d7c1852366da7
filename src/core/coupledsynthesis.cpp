// Coupled-line synthesis by nested Brent solves.  In the usual ranges the
// mode impedances are monotone in the two dimensions: both fall as the strips
// widen, Zodd rises and Zeven falls as the gap opens.  One target is one
// bracketed 1-D solve.  Two targets hold the odd mode on its target by
// solving W for every trial gap; along that curve Zeven falls strictly with
// the gap, so the outer solve over S is bracketed too.
#include "core/coupledsynthesis.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "core/calculation.h"
#include "core/solver.h"
#include "numeric/tpexceptions.h"

namespace {

constexpr double kLowest = 0.02;    // smallest W or S, times the height
constexpr double kHighest = 10.0;   // largest W or S, times the height
constexpr double kTolerance = 1e-9; // of W and S, times the height

bool IsOddMode(PairFigure figure) {
    return figure == PairFigure::Zdiff || figure == PairFigure::Zodd;
}

enum class Dimension { W, S };

std::string Ohms(double value) {
    std::ostringstream text;
    text.precision(4);
    text << value << " ohm";
    return text.str();
}

std::string Times(double factor, const std::string& height) {
    std::ostringstream text;
    text << factor << ' ' << height;
    return text.str();
}

// The pair at trial dimensions, every other input fixed.
class Pair {
  public:
    Pair(const LineDescriptor& line, const LineInputs& in)
        : line_(line), in_(in), heightKey_(line.dimensionKeys.at(2)) {
        if (!line.coupled) throw std::invalid_argument("not a coupled line");
        height_ = in.Row(3);
        if (!(height_ > 0.0) || !std::isfinite(height_))
            throw TP_Exceptions("The height must be greater than zero");
    }

    LineResult At(double w, double s) const {
        LineInputs trial = in_;
        trial.rows[0] = w;
        trial.rows[1] = s;
        return LineCalculation(line_, trial).Values(w);
    }
    double Figure(PairFigure figure, double w, double s) const {
        return PairFigureValue(figure, At(w, s));
    }

    double Low() const { return kLowest * height_; }
    double High() const { return kHighest * height_; }
    double Tolerance() const { return kTolerance * height_; }
    const std::string& HeightKey() const { return heightKey_; }

    // "the widest gap (S = 10 H)"
    std::string End(Dimension dimension, bool high) const {
        const char* which = dimension == Dimension::W
                                ? (high ? "the widest strips (W = " : "the narrowest strips (W = ")
                                : (high ? "the widest gap (S = " : "the narrowest gap (S = ");
        return which + Times(high ? kHighest : kLowest, heightKey_) + ")";
    }

  private:
    const LineDescriptor& line_;
    LineInputs in_;
    std::string heightKey_;
    double height_ = 0.0;
};

[[noreturn]] void Unreachable(PairTarget target, const std::string& context,
                              const std::string& extreme, bool tooHigh, double reached,
                              const std::string& advice) {
    throw TP_Exceptions(std::string(PairFigureName(target.figure)) + " " + Ohms(target.ohms) +
                        " cannot be reached" + context + ": " + extreme +
                        // "the widest strips give", "the widest gap gives"
                        (extreme.find(" strips ") != std::string::npos ? " give" : " gives") +
                        (tooHigh ? " at most " : " at least ") + Ohms(reached) + "; " + advice);
}

// What moves a figure when `solved` is the dimension already at its end.
std::string Advice(PairFigure figure, Dimension solved, bool raise, const std::string& h) {
    const std::string substrate =
        raise ? "thicken the substrate (" + h + ")" : "thin the substrate (" + h + ")";
    if (solved == Dimension::S)
        return std::string(raise ? "narrow the strips" : "widen the strips") + " or " + substrate;
    // Zodd rises with the gap, Zeven falls with it.
    const bool widenGap = IsOddMode(figure) == raise;
    return std::string(widenGap ? "widen the gap" : "narrow the gap") + " or " + substrate;
}

// The dimension that meets one target, the other dimension fixed.
double SolveOne(const Pair& pair, PairTarget target, Dimension dimension, double w, double s) {
    const auto residual = [&](double x) {
        return dimension == Dimension::W ? pair.Figure(target.figure, x, s) - target.ohms
                                         : pair.Figure(target.figure, w, x) - target.ohms;
    };
    const double atLow = residual(pair.Low());
    const double atHigh = residual(pair.High());
    if (atLow * atHigh > 0.0) {
        const bool tooHigh = atLow < 0.0; // the target lies above both ends
        const bool highEnd = tooHigh == (atHigh > atLow);
        const double reached = target.ohms + (highEnd ? atHigh : atLow);
        Unreachable(target, "", pair.End(dimension, highEnd), tooHigh, reached,
                    Advice(target.figure, dimension, tooHigh, pair.HeightKey()));
    }
    return SolveBrent(residual, pair.Low(), pair.High(), pair.Tolerance());
}

// The width that puts the odd-mode figure on its target at gap s, or the
// end of the width range nearer to it where no width does.
double OddWidth(const Pair& pair, PairTarget odd, double s) {
    const auto residual = [&](double w) { return pair.Figure(odd.figure, w, s) - odd.ohms; };
    const double atLow = residual(pair.Low());
    const double atHigh = residual(pair.High());
    if (atLow * atHigh > 0.0)
        return std::fabs(atLow) < std::fabs(atHigh) ? pair.Low() : pair.High();
    return SolveBrent(residual, pair.Low(), pair.High(), pair.Tolerance());
}

PairSynthesis SolveBoth(const Pair& pair, PairTarget odd, PairTarget even) {
    // The odd figure's range over the box: highest for narrow strips far
    // apart, lowest for wide strips close together.
    const double oddHigh = pair.Figure(odd.figure, pair.Low(), pair.High());
    const double oddLow = pair.Figure(odd.figure, pair.High(), pair.Low());
    if (odd.ohms > oddHigh || odd.ohms < oddLow) {
        const bool tooHigh = odd.ohms > oddHigh;
        const std::string extreme =
            tooHigh ? pair.End(Dimension::W, false) + " at " + pair.End(Dimension::S, true)
                    : pair.End(Dimension::W, true) + " at " + pair.End(Dimension::S, false);
        Unreachable(odd, "", extreme, tooHigh, tooHigh ? oddHigh : oddLow,
                    tooHigh ? "thicken the substrate (" + pair.HeightKey() + ")"
                            : "thin the substrate (" + pair.HeightKey() + ")");
    }
    const auto residual = [&](double s) {
        return pair.Figure(even.figure, OddWidth(pair, odd, s), s) - even.ohms;
    };
    const double atLow = residual(pair.Low());
    const double atHigh = residual(pair.High());
    if (atLow * atHigh > 0.0) {
        const bool tooHigh = atLow < 0.0;
        const bool highEnd = tooHigh == (atHigh > atLow);
        const std::string oddName = PairFigureName(odd.figure);
        const std::string evenName = PairFigureName(even.figure);
        Unreachable(even, " with " + oddName + " " + Ohms(odd.ohms),
                    pair.End(Dimension::S, highEnd), tooHigh,
                    even.ohms + (highEnd ? atHigh : atLow),
                    tooHigh ? "lower " + evenName + " or raise " + oddName
                            : "raise " + evenName + " or lower " + oddName);
    }
    PairSynthesis solved;
    solved.s = SolveBrent(residual, pair.Low(), pair.High(), pair.Tolerance());
    solved.w = OddWidth(pair, odd, solved.s);
    solved.result = pair.At(solved.w, solved.s);
    // A width held at its end leaves the odd target unmet.
    if (std::fabs(PairFigureValue(odd.figure, solved.result) - odd.ohms) > 1e-6 * odd.ohms)
        throw TP_Exceptions(std::string(PairFigureName(odd.figure)) + " " + Ohms(odd.ohms) +
                            " and " + PairFigureName(even.figure) + " " + Ohms(even.ohms) +
                            " cannot be reached together with W and S from " +
                            Times(kLowest, pair.HeightKey()) + " to " +
                            Times(kHighest, pair.HeightKey()));
    return solved;
}

} // namespace

DifferentialFigures PairFigures(const LineResult& result) {
    const double ze = result.even.impedance;
    const double zo = result.odd.impedance;
    DifferentialFigures figures{2.0 * zo, ze / 2.0, std::nullopt};
    const double k = (ze - zo) / (ze + zo);
    if (k > 0.0 && std::isfinite(k)) figures.couplingDb = 20.0 * std::log10(k);
    return figures;
}

const char* PairFigureName(PairFigure figure) {
    switch (figure) {
    case PairFigure::Zdiff:
        return "Zdiff";
    case PairFigure::Zcomm:
        return "Zcomm";
    case PairFigure::Zeven:
        return "Zeven";
    case PairFigure::Zodd:
        return "Zodd";
    }
    return "?";
}

double PairFigureValue(PairFigure figure, const LineResult& result) {
    switch (figure) {
    case PairFigure::Zdiff:
        return 2.0 * result.odd.impedance;
    case PairFigure::Zcomm:
        return result.even.impedance / 2.0;
    case PairFigure::Zeven:
        return result.even.impedance;
    case PairFigure::Zodd:
        return result.odd.impedance;
    }
    return 0.0;
}

PairSolve DefaultPairSolve(std::size_t targetCount) {
    return targetCount >= 2 ? PairSolve::WS : PairSolve::W;
}

PairSynthesis SynthesizePair(const LineDescriptor& line, const LineInputs& in,
                             const std::vector<PairTarget>& targets, PairSolve solve) {
    for (const PairTarget& target : targets)
        if (!(target.ohms > 0.0) || !std::isfinite(target.ohms))
            throw std::invalid_argument(std::string(PairFigureName(target.figure)) +
                                        " must be a positive impedance");
    const Pair pair(line, in);
    if (solve == PairSolve::WS) {
        if (targets.size() != 2 || IsOddMode(targets[0].figure) == IsOddMode(targets[1].figure))
            throw std::invalid_argument("W and S together need one target of the odd mode (Zdiff "
                                        "or Zodd) and one of the even mode (Zcomm or Zeven)");
        const bool firstOdd = IsOddMode(targets[0].figure);
        return SolveBoth(pair, targets[firstOdd ? 0 : 1], targets[firstOdd ? 1 : 0]);
    }
    if (targets.size() != 1)
        throw std::invalid_argument("solving W or S alone needs exactly one target");
    PairSynthesis solved{in.Row(1), in.Row(2), {}};
    const Dimension dimension = solve == PairSolve::W ? Dimension::W : Dimension::S;
    const double x = SolveOne(pair, targets[0], dimension, solved.w, solved.s);
    (dimension == Dimension::W ? solved.w : solved.s) = x;
    solved.result = pair.At(solved.w, solved.s);
    return solved;
}
