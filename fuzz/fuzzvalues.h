// What the fuzz targets share: the values they feed the calculation, and how
// they stop on a broken invariant.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

// Stops the run, naming the target, the broken invariant and the line type.
[[noreturn]] inline void FuzzFail(const char* target, const char* what, const char* line) {
    std::fprintf(stderr, "%s: %s (%s)\n", target, what, line);
    std::abort();
}

// A number as a user or a file could give it: anything (NaN, infinities),
// small, ordinary, or any power of two from subnormal to huge.
inline double FuzzValue(FuzzedDataProvider& fdp) {
    switch (fdp.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return fdp.ConsumeFloatingPoint<double>();
    case 1: return fdp.ConsumeFloatingPointInRange<double>(-1e-3, 1e-3);
    case 2: return fdp.ConsumeFloatingPointInRange<double>(0.0, 100.0);
    default:
        return std::ldexp(fdp.ConsumeFloatingPointInRange<double>(0.5, 1.0),
                          fdp.ConsumeIntegralInRange<int>(-1074, 1023));
    }
}
