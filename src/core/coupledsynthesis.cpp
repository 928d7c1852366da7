// Coupled-line synthesis by nested Brent solves.  In the usual ranges the
// mode impedances are monotone in the two dimensions: both fall as the strips
// widen, Zodd rises and Zeven falls as the gap opens, so a target between the
// values at the two ends of the range is one bracketed Brent solve.  Where an
// end gives no answer (thick metal on the narrowest strips) or the figure
// turns (thick metal again), a geometric scan of the range finds the first
// bracket, and a target no scanned point brackets is reported with the
// extreme the scan found, refined, as the limit.  Two targets hold the odd
// mode on its target by solving W for every trial gap; the outer solve over
// S runs the same way over the gaps where that width exists.
#include "core/coupledsynthesis.h"

#include <cmath>
#include <functional>
#include <optional>
#include <vector>
#include <sstream>
#include <stdexcept>

#include "core/calculation.h"
#include "core/solver.h"
#include "numeric/tpexceptions.h"

namespace {

constexpr double kLowest = 0.02;    // smallest W or S, times the height
constexpr double kHighest = 10.0;   // largest W or S, times the height
constexpr double kTolerance = 1e-9; // of W and S, times the height
constexpr int kScanSteps = 40;      // geometric: neighbours 17 % apart
constexpr int kLimitRefinements = 40;

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
    text.precision(3);
    text << factor << ' ' << height;
    return text.str();
}

using Function = std::function<double(double)>;

// f(x), or nothing where the line has no answer at x (a calculation error or
// a floating-point fault).
std::optional<double> TryValue(const Function& f, double x) {
    try {
        const double value = f(x);
        if (std::isfinite(value)) return value;
    } catch (const std::runtime_error&) {
    }
    return std::nullopt;
}

struct Sample {
    double x;
    double value;
};

// The first root of `residual` on [low, high]: Brent between the ends where
// they bracket it, else between the first two neighbours of a geometric scan
// that do.  Without a root, `samples` holds every point that had an answer.
std::optional<double> FirstRoot(const Function& residual, double low, double high,
                                double tolerance, std::vector<Sample>& samples) {
    const auto atLow = TryValue(residual, low);
    const auto atHigh = TryValue(residual, high);
    if (atLow && atHigh && *atLow * *atHigh <= 0.0)
        return SolveBrent(residual, low, high, tolerance);
    samples.clear();
    for (int i = 0; i <= kScanSteps; ++i) {
        const double x =
            i == kScanSteps ? high : low * std::pow(high / low, double(i) / kScanSteps);
        const auto value = i == 0 ? atLow : i == kScanSteps ? atHigh : TryValue(residual, x);
        if (!value) continue;
        if (!samples.empty() && samples.back().value * *value <= 0.0)
            return SolveBrent(residual, samples.back().x, x, tolerance);
        samples.push_back({x, *value});
    }
    return std::nullopt;
}

// Where a residual that never changes sign comes nearest to zero: the
// extreme sample, refined by golden section between its neighbours.
struct Limit {
    double x;
    double value;
    bool atLowEnd;
    bool atHighEnd;
};

Limit NearestApproach(const Function& residual, const std::vector<Sample>& samples) {
    const bool below = samples.front().value < 0.0; // all below: seek the largest
    const auto better = [below](double a, double b) { return below ? a > b : a < b; };
    std::size_t best = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        if (better(samples[i].value, samples[best].value)) best = i;
    Limit limit{samples[best].x, samples[best].value, best == 0, best + 1 == samples.size()};
    if (limit.atLowEnd || limit.atHighEnd) return limit;
    double a = samples[best - 1].x, b = samples[best + 1].x;
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    for (int i = 0; i < kLimitRefinements; ++i) {
        const double c = b - ratio * (b - a), d = a + ratio * (b - a);
        const auto fc = TryValue(residual, c), fd = TryValue(residual, d);
        if (!fc || !fd) break;
        if (better(*fc, *fd)) b = d;
        else a = c;
        const double x = (a + b) / 2;
        if (const auto f = TryValue(residual, x); f && better(*f, limit.value)) limit = {x, *f, false, false};
    }
    return limit;
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

    // "the widest gap (S = 10 H)", or "W = 1.2 H" inside the range.
    std::string Place(Dimension dimension, const Limit& limit) const {
        if (!limit.atLowEnd && !limit.atHighEnd)
            return (dimension == Dimension::W ? "W = " : "S = ") +
                   Times(limit.x / height_, heightKey_);
        return End(dimension, limit.atHighEnd, limit.x);
    }
    std::string End(Dimension dimension, bool high, double x) const {
        const char* which = dimension == Dimension::W
                                ? (high ? "the widest strips (W = " : "the narrowest strips (W = ")
                                : (high ? "the widest gap (S = " : "the narrowest gap (S = ");
        return which + Times(x / height_, heightKey_) + ")";
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
    // "the widest strips give", "the widest gap gives", "W = 1.2 H gives"
    const bool plural = extreme.find(" strips ") != std::string::npos;
    throw TP_Exceptions(std::string(PairFigureName(target.figure)) + " " + Ohms(target.ohms) +
                        " cannot be reached" + context + ": " + extreme +
                        (plural ? " give" : " gives") + (tooHigh ? " at most " : " at least ") +
                        Ohms(reached) + "; " + advice);
}

// What moves a figure when `solved` is the dimension already at its limit.
std::string Advice(PairFigure figure, Dimension solved, bool raise, const std::string& h) {
    const std::string substrate =
        raise ? "thicken the substrate (" + h + ")" : "thin the substrate (" + h + ")";
    if (solved == Dimension::S)
        return std::string(raise ? "narrow the strips" : "widen the strips") + " or " + substrate;
    // Zodd rises with the gap, Zeven falls with it.
    const bool widenGap = IsOddMode(figure) == raise;
    return std::string(widenGap ? "widen the gap" : "narrow the gap") + " or " + substrate;
}

// Raises the error of `residual` at x (no point of the range had an answer).
[[noreturn]] void NoAnswer(const Function& residual, double x, const std::string& range) {
    residual(x);
    throw TP_Exceptions("No " + range + " gives an answer for these inputs");
}

std::string Range(Dimension dimension, const std::string& h) {
    return std::string(dimension == Dimension::W ? "W" : "S") + " from " + Times(kLowest, h) +
           " to " + Times(kHighest, h);
}

// The dimension that meets one target, the other dimension fixed.
double SolveOne(const Pair& pair, PairTarget target, Dimension dimension, double w, double s) {
    const Function residual = [&](double x) {
        return dimension == Dimension::W ? pair.Figure(target.figure, x, s) - target.ohms
                                         : pair.Figure(target.figure, w, x) - target.ohms;
    };
    std::vector<Sample> samples;
    if (const auto root = FirstRoot(residual, pair.Low(), pair.High(), pair.Tolerance(), samples))
        return *root;
    if (samples.empty()) NoAnswer(residual, pair.Low(), Range(dimension, pair.HeightKey()));
    const Limit limit = NearestApproach(residual, samples);
    const bool tooHigh = limit.value < 0.0; // the target lies above every value
    Unreachable(target, "", pair.Place(dimension, limit), tooHigh, target.ohms + limit.value,
                Advice(target.figure, dimension, tooHigh, pair.HeightKey()));
}

// The width that puts the odd-mode figure on its target at gap s, or nothing
// where no width does.
std::optional<double> OddWidth(const Pair& pair, PairTarget odd, double s) {
    const Function residual = [&](double w) { return pair.Figure(odd.figure, w, s) - odd.ohms; };
    std::vector<Sample> samples;
    return FirstRoot(residual, pair.Low(), pair.High(), pair.Tolerance(), samples);
}

// The odd target is out of reach at every gap: its limit is that of the
// narrowest strips far apart (too high) or of wide strips close together.
[[noreturn]] void OddUnreachable(const Pair& pair, PairTarget odd) {
    for (const bool tooHigh : {true, false}) {
        const double s = tooHigh ? pair.High() : pair.Low();
        const Function residual = [&](double w) { return pair.Figure(odd.figure, w, s) - odd.ohms; };
        std::vector<Sample> samples;
        if (FirstRoot(residual, pair.Low(), pair.High(), pair.Tolerance(), samples) ||
            samples.empty() || (samples.front().value < 0.0) != tooHigh)
            continue;
        const Limit limit = NearestApproach(residual, samples);
        const std::string gap = pair.End(Dimension::S, tooHigh, s);
        Unreachable(odd, "", pair.Place(Dimension::W, limit) + " at " + gap, tooHigh,
                    odd.ohms + limit.value,
                    tooHigh ? "thicken the substrate (" + pair.HeightKey() + ")"
                            : "thin the substrate (" + pair.HeightKey() + ")");
    }
    throw TP_Exceptions(std::string(PairFigureName(odd.figure)) + " " + Ohms(odd.ohms) +
                        " cannot be reached with W and S from " +
                        Times(kLowest, pair.HeightKey()) + " to " +
                        Times(kHighest, pair.HeightKey()));
}

PairSynthesis SolveBoth(const Pair& pair, PairTarget odd, PairTarget even) {
    // The even figure along the curve where the odd one is on its target.
    const Function residual = [&](double s) {
        const auto w = OddWidth(pair, odd, s);
        if (!w) throw TP_Exceptions("no width meets the odd target at this gap");
        return pair.Figure(even.figure, *w, s) - even.ohms;
    };
    std::vector<Sample> samples;
    const auto s = FirstRoot(residual, pair.Low(), pair.High(), pair.Tolerance(), samples);
    if (!s) {
        if (samples.empty()) OddUnreachable(pair, odd);
        const Limit limit = NearestApproach(residual, samples);
        const bool tooHigh = limit.value < 0.0;
        const std::string oddName = PairFigureName(odd.figure);
        const std::string evenName = PairFigureName(even.figure);
        Unreachable(even, " with " + oddName + " " + Ohms(odd.ohms),
                    pair.Place(Dimension::S, limit), tooHigh, even.ohms + limit.value,
                    tooHigh ? "lower " + evenName + " or raise " + oddName
                            : "raise " + evenName + " or lower " + oddName);
    }
    PairSynthesis solved;
    solved.s = *s;
    solved.w = OddWidth(pair, odd, solved.s).value();
    solved.result = pair.At(solved.w, solved.s);
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
