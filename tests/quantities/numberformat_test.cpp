// The window's number format: "%G" out, whole-text strtod in, "." under any locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "quantities/numberformat.h"

namespace {

TEST(FormatG, ExamplesOfTheWindow) {
    EXPECT_EQ(FormatG(58800000), "5.88E+07");
    EXPECT_EQ(FormatG(0.00001), "1E-05");
    EXPECT_EQ(FormatG(39.37007874015748), "39.3701");
    EXPECT_EQ(FormatG(10000), "10000");
    EXPECT_EQ(FormatG(12.9), "12.9");
    EXPECT_EQ(FormatG(0.0005), "0.0005");
    EXPECT_EQ(FormatG(61400000), "6.14E+07");
    EXPECT_EQ(FormatG(0), "0");
    EXPECT_EQ(FormatG(-5), "-5");
}

TEST(FormatG, SwitchesToExponentBelowTenThousandthAndFromAMillion) {
    EXPECT_EQ(FormatG(0.0001), "0.0001");
    EXPECT_EQ(FormatG(0.000099999), "9.9999E-05");
    EXPECT_EQ(FormatG(999999), "999999");
    EXPECT_EQ(FormatG(999999.5), "1E+06"); // rounds up into the next decade
    EXPECT_EQ(FormatG(1234567), "1.23457E+06");
    EXPECT_EQ(FormatG(1e100), "1E+100");
    EXPECT_EQ(FormatG(1.5e-300), "1.5E-300");
}

// The C library's own printf in the "C" locale is the reference.
TEST(FormatG, MatchesPrintfInCLocaleForRandomValues) {
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    char reference[64];
    for (int i = 0; i < 20000; ++i) {
        const double x = mantissa(random) * std::pow(10.0, exponent(random));
        std::snprintf(reference, sizeof reference, "%G", x);
        ASSERT_EQ(FormatG(x), reference) << x;
        std::snprintf(reference, sizeof reference, "%.9g", x);
        ASSERT_EQ(FormatSettingsNumber(x), reference) << x;
    }
}

TEST(FormatSettingsNumber, NineSignificantDigits) {
    EXPECT_EQ(FormatSettingsNumber(0.01), "0.01");
    EXPECT_EQ(FormatSettingsNumber(5e-05), "5e-05");
    EXPECT_EQ(FormatSettingsNumber(12.9), "12.9");
    EXPECT_EQ(FormatSettingsNumber(61400000), "61400000");
    EXPECT_EQ(FormatSettingsNumber(1e-06), "1e-06");
    EXPECT_EQ(FormatSettingsNumber(1.0 / 3.0), "0.333333333");
    EXPECT_EQ(FormatInteger(-3), "-3");
}

TEST(FormatSignificant, TwoDigitsThatMatterAndNoNegativeZero) {
    const std::pair<double, const char*> cases[] = {
        {0.0123, "0.012"}, {1.234, "1.2"},  {12.34, "12"},      {123.4, "120"},
        {0.0996, "0.10"},  {-0.0004, "-0.00040"}, {-0.0, "0"}, {-1e-15, "0"}, {0.0, "0"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatSignificant(value, 2), text) << value;
}

TEST(ParseWholeNumber, AcceptsWholeDecimalTexts) {
    EXPECT_EQ(ParseWholeNumber("1E-3"), 0.001);
    EXPECT_EQ(ParseWholeNumber("1e-3"), 0.001);
    EXPECT_EQ(ParseWholeNumber(""), 0.0); // an empty edit reads as 0
    EXPECT_EQ(ParseWholeNumber("-5"), -5.0);
    EXPECT_EQ(ParseWholeNumber(" 12.9"), 12.9); // strtod skips leading blanks
    EXPECT_EQ(ParseWholeNumber("0x10"), 16.0);  // and reads hexadecimal
    EXPECT_EQ(ParseWholeNumber("1E-400"), 0.0); // underflow is still a number
}

TEST(ParseWholeNumber, RejectsPartialNonFiniteAndForeignTexts) {
    for (const char* text : {"10mm", "abc", "12,9", "5 ", "-", ".", "e5", "1e", "INF", "inf",
                             "-INF", "NAN", "nan(123)", "INFINITY", "1E999", "-1e400"})
        EXPECT_FALSE(ParseWholeNumber(text)) << text;
    EXPECT_FALSE(ParseWholeNumber(std::string_view("1\0"
                                                   "5",
                                                   3))); // embedded NUL
}

TEST(ParseWholeInteger, Base10WholeTextWithinIntRange) {
    EXPECT_EQ(ParseWholeInteger("7"), 7);
    EXPECT_EQ(ParseWholeInteger("-3"), -3);
    EXPECT_EQ(ParseWholeInteger("+4"), 4);
    EXPECT_EQ(ParseWholeInteger("010"), 10); // base 10, not octal
    for (const char* text : {"", "1.5", "7x", "x7", "99999999999", "-99999999999", "0x10", " "})
        EXPECT_FALSE(ParseWholeInteger(text)) << text;
}

TEST(ConversionError, QuotesTheText) {
    EXPECT_STREQ(ConversionError("10MM").what(), "'10MM' is not a valid floating point value");
}

// Qt sets the C library's locale from the environment; a German locale makes
// printf and strtod use the decimal comma.  Ours must not follow.
TEST(NumberFormat, IgnoresTheProcessLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "de_DE.UTF-8 not installed";
    char german[32];
    std::snprintf(german, sizeof german, "%G", 12.9);
    EXPECT_STREQ(german, "12,9"); // the locale really is in force
    EXPECT_EQ(FormatG(12.9), "12.9");
    EXPECT_EQ(FormatSettingsNumber(0.0005), "0.0005");
    EXPECT_EQ(ParseWholeNumber("12.9"), 12.9);
    EXPECT_FALSE(ParseWholeNumber("12,9"));
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
