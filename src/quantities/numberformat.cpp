#include "quantities/numberformat.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

// printf's general format ("%.*g") independent of the process locale.
std::string FormatGeneral(double x, int precision) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, precision);
    return std::string(buffer, result.ptr);
}

locale_t CLocale() {
    // Created once, never freed: it lives as long as the process.
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

} // namespace

std::string FormatSignificant(double x, int digits) {
    if (!std::isfinite(x) || digits < 1) return FormatGeneral(x, std::max(digits, 1));
    char buffer[64];
    // Rounded to the digits first (0.0996 becomes 0.1), then written in full.
    auto written =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, digits - 1);
    double rounded = 0.0;
    std::from_chars(buffer, written.ptr, rounded);
    if (std::fabs(rounded) < 1e-12) return "0";
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    const int decimals = std::clamp(digits - 1 - exponent, 0, 15);
    written = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed,
                            decimals);
    return std::string(buffer, written.ptr);
}

std::string FormatG(double x) {
    std::string text = FormatGeneral(x, 6);
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string FormatSettingsNumber(double x) {
    return FormatGeneral(x, 9);
}

std::string FormatInteger(long long n) {
    return std::to_string(n);
}

std::optional<double> ParseWholeNumber(std::string_view text) {
    if (text.empty()) return 0.0;
    // strtod needs a terminated string; the copy also stops at an embedded NUL,
    // which must then fail the whole-text test.
    const std::string copy(text);
    const char* begin = copy.c_str();
    char* end = nullptr;
    const double value = strtod_l(begin, &end, CLocale());
    if (end != begin + copy.size() || end == begin) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> ParseWholeInteger(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const std::string copy(text);
    const char* begin = copy.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end != begin + copy.size() || end == begin) return std::nullopt;
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

ConversionError::ConversionError(const std::string& text)
    : std::runtime_error("'" + text + "' is not a valid floating point value"), text_(text) {}
