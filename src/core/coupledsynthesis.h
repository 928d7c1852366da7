// Differential-pair figures of a coupled line and their synthesis: the strip
// width W (row 1), the gap S (row 2) or both, for targets given as any of
// Zdiff = 2 Zodd, Zcomm = Zeven / 2, Zeven and Zodd.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/linedescriptor.h"

enum class PairFigure { Zdiff, Zcomm, Zeven, Zodd };

struct PairTarget {
    PairFigure figure;
    double ohms;
};

// What to solve: W at the given S, S at the given W (one target each), or W
// and S together (one target of the odd mode, Zdiff or Zodd, and one of the
// even mode, Zcomm or Zeven).
enum class PairSolve { W, S, WS };

// The figures of a pair from its two modes.  The coupling factor
// 20 log10((Ze - Zo) / (Ze + Zo)) dB is nullopt for a pair without coupling
// (Ze not above Zo).
struct DifferentialFigures {
    double zdiff;
    double zcomm;
    std::optional<double> couplingDb;
};
DifferentialFigures PairFigures(const LineResult& result);

const char* PairFigureName(PairFigure figure);
double PairFigureValue(PairFigure figure, const LineResult& result);

struct PairSynthesis {
    double w; // metres
    double s; // metres
    LineResult result;
};

// Solves the coupled line `line` for the targets, every other input from
// `in` (rows 1 and 2 are the starting W and S; the one not solved is kept).
// W and S are sought between 0.02 and 10 times the height (row 3).  Raises
// std::invalid_argument for targets that do not fit `solve`, and
// TP_Exceptions naming the target that cannot be met, in which direction,
// and what would move it, when no W or S in that range meets it.
PairSynthesis SynthesizePair(const LineDescriptor& line, const LineInputs& in,
                             const std::vector<PairTarget>& targets, PairSolve solve);

// The solve a set of targets implies: one target W, two W and S.
PairSolve DefaultPairSolve(std::size_t targetCount);
