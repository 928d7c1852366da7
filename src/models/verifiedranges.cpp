#include "models/verifiedranges.h"

#include <limits>

namespace {

// Er of the grids: air to beyond the ceramics.
constexpr double kErLow = 1.0;
constexpr double kErHigh = 25.0;

} // namespace

// Rows W H T; metal at most half as thick as the strip is wide.
VerifiedRange MicrostripVerified() {
    return {{{1, 2, 0.1, 10.0}, {3, 2, 0.0, 0.3}, {3, 1, 0.0, 0.5}}, kErLow, kErHigh};
}

// Rows W B T.
VerifiedRange StriplineVerified() {
    return {{{1, 2, 0.1, 3.0}, {3, 2, 0.0, 0.25}, {3, 1, 0.0, 0.5}}, kErLow, kErHigh};
}

// Rows W G H T.
VerifiedRange CoplanarVerified() {
    return {{{1, 3, 0.2, 5.0}, {2, 1, 0.2, 3.0}, {4, 1, 0.0, 0.1}}, kErLow, kErHigh};
}

// The coaxial closed form is the exact field: verified everywhere.
VerifiedRange CoaxVerified() {
    constexpr double kAll = std::numeric_limits<double>::infinity();
    return {{}, 0.0, kAll};
}

// Rows W S H T.
VerifiedRange CoupledMicrostripVerified() {
    return {{{1, 3, 0.1, 10.0}, {2, 3, 0.1, 10.0}, {4, 3, 0.0, 0.35}, {4, 1, 0.0, 0.5}},
            kErLow, kErHigh};
}

// Rows W S B T.
VerifiedRange CoupledStriplineVerified() {
    return {{{1, 3, 0.1, 1.0}, {2, 3, 0.1, 1.0}, {4, 3, 0.0, 0.1}, {4, 1, 0.0, 0.5}}, kErLow,
            kErHigh};
}
