// A weight that hands over from one formula to another across a band of its
// argument without a step in value or slope: 0 at or below `from`, 1 at or
// above `to`, 3t^2 - 2t^3 in between (t running from 0 to 1 across the band).
#pragma once

inline double SmoothStep(double x, double from, double to) {
    if (!(x > from)) return 0.0;
    if (!(x < to)) return 1.0;
    const double t = (x - from) / (to - from);
    return t * t * (3.0 - 2.0 * t);
}
