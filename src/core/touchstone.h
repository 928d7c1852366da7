// Touchstone 1.1 files of a uniform line section: its S-parameters at each
// frequency from the characteristic impedance and propagation constant (both
// complex), the section's length and the reference impedance of its ports.
// A single line gives a 2-port file (.s2p), a symmetric coupled pair a 4-port
// file (.s4p) from its even and odd modes.
#pragma once

#include <array>
#include <complex>
#include <iosfwd>
#include <string>
#include <vector>

using Complex = std::complex<double>;

// One propagating mode of the section at one frequency.
struct LineMode {
    Complex zc;    // characteristic impedance, ohms
    Complex gamma; // propagation constant alpha + j beta, per metre
};

// The propagation constant of a point: alpha nepers per metre, beta from eeff.
Complex PropagationConstant(double frequency, double eeff, double alpha);

// S11 (= S22) and S21 (= S12) of a section of length L between ports of
// reference impedance zRef.  Written through the reflection at the ports and
// exp(-gamma L), so a long lossy section gives exp-small numbers, no overflow.
struct TwoPortS {
    Complex s11;
    Complex s21;
};
TwoPortS SectionS(const LineMode& mode, double length, double zRef);

// The 4x4 S-matrix of a symmetric coupled pair, ports numbered
// 1 line A near end, 2 line A far end, 3 line B near end, 4 line B far end.
using FourPortS = std::array<std::array<Complex, 4>, 4>;
FourPortS PairS(const LineMode& even, const LineMode& odd, double length, double zRef);

struct TouchstoneRow {
    double frequency = 0.0; // hertz
    LineMode line;          // a single line, or the even mode of a pair
    LineMode odd;           // the odd mode of a pair
};

struct TouchstoneSection {
    bool coupled = false;
    double length = 0.0; // metres
    double zRef = 50.0;  // ohms
    // Written as comment lines before the option line (one per entry).
    std::vector<std::string> comments;
};

// Raises std::invalid_argument (nothing written) for a length or reference
// impedance that is not finite and positive, no rows, or frequencies that do
// not rise strictly.  Values are real/imaginary pairs (RI), the shortest text
// that reads back as the same double.
void WriteTouchstone(std::ostream& out, const TouchstoneSection& section,
                     const std::vector<TouchstoneRow>& rows);
