// Where a line's closed form was checked against the field solver: a box of
// dimension ratios and Er, measured by tools/closedform_grid.py.  Outside it
// the answer says so and points to the field solver.
#pragma once

#include <string>
#include <vector>

#include "core/lineinputs.h"

struct VerifiedRatio {
    int row;          // the dimension, 1-based
    int referenceRow; // ... over this one
    double low;
    double high;
};

struct VerifiedRange {
    std::vector<VerifiedRatio> ratios;
    double erLow;
    double erHigh;
    // A second dielectric's row (0: none; 0 in the row: the same as Er) and
    // the highest contrast between the two, either way round, checked.
    int secondErRow = 0;
    double contrastHigh = 0.0;

    bool Contains(const LineInputs& in) const;
};

// Appends "Closed form not verified here ..." when `in` lies outside `range`.
void AddVerifiedRangeWarning(const VerifiedRange& range, const LineInputs& in,
                             std::vector<std::string>& warnings);

// True for the warning AddVerifiedRangeWarning appends.
bool IsVerifiedRangeWarning(const std::string& warning);
