#include "core/touchstone.h"

#include <cmath>
#include <ostream>
#include <stdexcept>

#include "core/sweeptable.h"
#include "numeric/constants.h"

namespace {

void WritePair(std::ostream& out, const Complex& value) {
    out << ' ' << FormatExact(value.real()) << ' ' << FormatExact(value.imag());
}

void Validate(const TouchstoneSection& section, const std::vector<TouchstoneRow>& rows) {
    if (!(std::isfinite(section.length) && section.length > 0.0))
        throw std::invalid_argument("the line length must be above zero");
    if (!(std::isfinite(section.zRef) && section.zRef > 0.0))
        throw std::invalid_argument("the reference impedance must be above zero");
    if (rows.empty()) throw std::invalid_argument("no frequency to write");
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!(rows[i].frequency >= 0.0) || (i > 0 && !(rows[i].frequency > rows[i - 1].frequency)))
            throw std::invalid_argument("a Touchstone file needs distinct rising frequencies");
}

// A Touchstone file is ASCII: the micro sign becomes "u" (as the window's
// unit "um"), any other byte beyond ASCII "?".
std::string AsciiComment(const std::string& text) {
    std::string ascii;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ascii += text[i];
        } else if (byte == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) == 0xB5) {
            ascii += 'u';
            ++i;
        } else if ((byte & 0xC0) != 0x80) { // one "?" per character, not per byte
            ascii += '?';
        }
    }
    return ascii;
}

} // namespace

Complex PropagationConstant(double frequency, double eeff, double alpha) {
    const double beta =
        2.0 * constants::kPi * frequency * std::sqrt(eeff) / constants::kSpeedOfLight;
    return {alpha, beta};
}

TwoPortS SectionS(const LineMode& mode, double length, double zRef) {
    const Complex reflection = (mode.zc - zRef) / (mode.zc + zRef);
    const Complex p = std::exp(-mode.gamma * length);
    const Complex r2 = reflection * reflection;
    const Complex denominator = 1.0 - r2 * p * p;
    return {reflection * (1.0 - p * p) / denominator, p * (1.0 - r2) / denominator};
}

FourPortS PairS(const LineMode& even, const LineMode& odd, double length, double zRef) {
    // Driven together the lines carry the even mode, driven in opposition the
    // odd one; each port's wave is half the sum or difference of the two.
    const TwoPortS e = SectionS(even, length, zRef);
    const TwoPortS o = SectionS(odd, length, zRef);
    const Complex reflect = 0.5 * (e.s11 + o.s11);
    const Complex through = 0.5 * (e.s21 + o.s21);
    const Complex nearCoupled = 0.5 * (e.s11 - o.s11);
    const Complex farCoupled = 0.5 * (e.s21 - o.s21);
    return {{{reflect, through, nearCoupled, farCoupled},
             {through, reflect, farCoupled, nearCoupled},
             {nearCoupled, farCoupled, reflect, through},
             {farCoupled, nearCoupled, through, reflect}}};
}

void WriteTouchstone(std::ostream& out, const TouchstoneSection& section,
                     const std::vector<TouchstoneRow>& rows) {
    Validate(section, rows);
    for (const std::string& comment : section.comments)
        out << "! " << AsciiComment(comment) << '\n';
    out << "# HZ S RI R " << FormatExact(section.zRef) << '\n';
    for (const TouchstoneRow& row : rows) {
        out << FormatExact(row.frequency);
        if (!section.coupled) {
            // A 2-port row lists S11 S21 S12 S22.
            const TwoPortS s = SectionS(row.line, section.length, section.zRef);
            for (const Complex& value : {s.s11, s.s21, s.s21, s.s11})
                WritePair(out, value);
            out << '\n';
            continue;
        }
        // Four ports: one matrix row per line, S11 S12 S13 S14 first.
        const FourPortS s = PairS(row.line, row.odd, section.length, section.zRef);
        for (std::size_t i = 0; i < 4; ++i) {
            if (i > 0) out << ' ';
            for (const Complex& value : s[i])
                WritePair(out, value);
            out << '\n';
        }
    }
}
