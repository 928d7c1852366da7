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
            kErLow,
            kErHigh};
}

// Rows W S B T.
VerifiedRange CoupledStriplineVerified() {
    return {
        {{1, 3, 0.1, 1.0}, {2, 3, 0.1, 1.0}, {4, 3, 0.0, 0.1}, {4, 1, 0.0, 0.5}}, kErLow, kErHigh};
}

// Rows W H1 H2 T (Er2 5): the strip's width against the nearer plane from
// above and the farther one from below, tools/offset_field_grid.py's box.
// With one dielectric Er only scales the answer; with a second one only the
// contrast counts (eeff scales with both), checked up to five to one and
// within 1 % up to three to one (the --contrast grids).
constexpr double kOffsetContrast = 3.0;

VerifiedRange OffsetStriplineVerified() {
    return {{{3, 2, 0.25, 4.0},
             {1, 2, 0.2, 6.0},
             {1, 3, 0.2, 6.0},
             {4, 2, 0.0, 0.2},
             {4, 3, 0.0, 0.2},
             {4, 1, 0.0, 0.5}},
            kErLow,
            kErHigh,
            5,
            kOffsetContrast};
}

// Rows W S H1 H2 T (Er2 6).  The pair inherits the centred coupled
// stripline's own 1.2 % for thick strips (T > W/5) and narrow gaps (S/H
// below 0.3), so the box stops there.
VerifiedRange OffsetCoupledStriplineVerified() {
    return {{{4, 3, 0.25, 4.0},
             {1, 3, 0.2, 6.0},
             {1, 4, 0.2, 6.0},
             {2, 3, 0.3, 4.0},
             {2, 4, 0.3, 4.0},
             {5, 3, 0.0, 0.2},
             {5, 4, 0.0, 0.2},
             {5, 1, 0.0, 0.2}},
            kErLow,
            kErHigh,
            6,
            kOffsetContrast};
}

// Rows W S B T; strips no farther apart than twice their width.
VerifiedRange BroadsideStriplineVerified() {
    return {
        {{1, 3, 0.1, 3.0}, {2, 3, 0.05, 0.6}, {4, 3, 0.0, 0.1}, {2, 1, 0.0, 2.0}}, kErLow, kErHigh};
}
