// The window's number format.  Numbers are always written and first read with
// "." as the decimal point, whatever locale the process runs under: Qt sets
// the C library's locale from the environment, so printf and strtod cannot be
// used directly.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// printf "%G": six significant digits, trailing zeros dropped, exponent form
// with a capital E and two or more exponent digits below 1E-04 or from 1E+06.
std::string FormatG(double x);

// printf "%.9g", the settings file's number form: nine significant digits,
// lower-case exponent.
std::string FormatSettingsNumber(double x);

// `digits` significant digits written without exponent ("0.012", "1.2",
// "12", "120" for 2); a value that rounds to zero is "0", never "-0.00".
std::string FormatSignificant(double x, int digits);

// printf "%d".
std::string FormatInteger(long long n);

// strtod semantics in the "C" locale (leading blanks, optional sign, decimal
// or hexadecimal digits, exponent with e or E), accepted only when the whole
// text is consumed.  An empty text is 0.  A text that converts to infinity or
// NaN ("INF", "NAN", "1E999") is not a number here: no value on the screen or
// in the settings file may be non-finite.
std::optional<double> ParseWholeNumber(std::string_view text);

// strtol semantics, base 10, the whole text consumed, within int range.  An
// empty text is not an integer.
std::optional<int> ParseWholeInteger(std::string_view text);

// Raised when neither of the window's two conversions accepts a text.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(const std::string& text);
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};
