// A sweep: one numeric input of a line stepped from start to stop, each point
// the one calculation step's answer at row 1 (core/calculation.h): its
// values, its warnings or its error, exactly as Analyze gives them.  Nothing
// is read from a window per point, so a sweep may run on any thread.  The
// line's model must exist (its `prepare` run: the coplanar lines load their
// library there).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/linedescriptor.h"

// The input a sweep steps.
struct SweepVariable {
    enum class Kind {
        Frequency,
        Row,
        Er,
        Tand,
        Conductivity,
        Roughness,
        MaskThickness,
        MaskEr,
        MaskTand,
        CoverHeight
    };
    Kind kind = Kind::Frequency;
    int row = 1; // for Kind::Row: the dimension row, 1 first

    // Frequency in hertz, a row in metres, conductivity in S/m.
    void Set(LineInputs& in, double value) const;
    // The value `in` holds, in the units of Set (conductivity 0 for a perfect
    // conductor).
    double Value(const LineInputs& in) const;
};

struct SweepRange {
    double start = 0.0;
    double stop = 0.0;
    int points = 0; // at least 1; one point sits at start
    bool logarithmic = false;
};

// Largest point count a sweep accepts: far beyond what a plot or a table
// shows, and the points (about 200 bytes each) are allocated up front.
inline constexpr int kMaxSweepPoints = 100000;

// Empty when the range can be swept, else why not (no points, too many,
// a logarithmic range that does not stay above zero, a non-finite end or
// point).
std::string SweepRangeProblem(const SweepRange& range);

// The swept values, start and stop exactly at the ends.  The range must
// have no problem.
std::vector<double> SweepValues(const SweepRange& range);

struct SweepPoint {
    double x = 0.0;                    // the swept value (units of SweepVariable::Set)
    LineResult values;                 // losses in nepers per metre
    std::vector<std::string> warnings; // the check's soft limits
    std::string error;                 // the calculation error; empty with values

    bool Ok() const { return error.empty(); }
};

// Called after each block of points with the count done so far; return
// false to stop the sweep (the points done are kept).
using SweepProgress = std::function<bool(int done, int total)>;

// Sweeps `variable` of `base` over `range` (which must have no problem).
// Every calculation error stays with its point; a cancelled sweep returns
// the points done so far.
std::vector<SweepPoint> RunSweep(const LineDescriptor& line, const LineInputs& base,
                                 const SweepVariable& variable, const SweepRange& range,
                                 const SweepProgress& progress = {});
