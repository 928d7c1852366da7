// Tick values of a logarithmic axis at 1-2-5 steps (1, 2, 5, 10, 20 ...),
// finer (1 to 9) on a range too short for three of those, coarser (whole
// decades) on a range too long to label every one.  Toolkit-free.
#pragma once

#include <vector>

// Ascending values in [low, high] (both > 0, low < high), at least three
// where the range allows any: a range inside one step gets its ends.
std::vector<double> LogTicks(double low, double high);
