// Private-profile text: lookup rules and in-place replacement.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ui/initext.h"

namespace {

std::string Value(std::string_view content, const char* section, const char* key) {
    const auto value = FindIniValue(content, section, key);
    return value ? std::string(*value) : std::string("<none>");
}

TEST(IniLookup, NamesMatchCaseInsensitivelyWithoutBlanks) {
    const std::string content = "[ microstrip LINE ]\r\n  WIDTH  =  5e-05  \r\nheight=1e-4\n";
    EXPECT_EQ(Value(content, "Microstrip Line", "Width"), "5e-05");
    EXPECT_EQ(Value(content, "Microstrip Line", "Height"), "1e-4");
    EXPECT_EQ(Value(content, "Microstrip Line", "Thickness"), "<none>");
    EXPECT_EQ(Value(content, "Strip Line", "Width"), "<none>");
    // The coaxial line's value key carries a trailing blank; it still matches.
    EXPECT_EQ(Value("[Coax Line]\nInner diameter=1\n", "Coax Line", "Inner diameter "), "1");
}

TEST(IniLookup, FirstSectionAndFirstKeyWin) {
    const std::string content =
        "Width=9\n" // before any section: belongs to none
        "[A]\n; Width=8\n# Width=7\nWidth=1\nWidth=2\n[B]\nWidth=3\n[a]\nWidth=4\nDepth=5\n";
    EXPECT_EQ(Value(content, "A", "Width"), "1");
    EXPECT_EQ(Value(content, "B", "Width"), "3");
    EXPECT_EQ(Value(content, "A", "Depth"), "<none>"); // only in the second [a]
}

TEST(IniLookup, ValueKeepsInnerEqualsAndEmptyValueIsEmpty) {
    EXPECT_EQ(Value("[S]\nk=a=b\n", "S", "k"), "a=b");
    EXPECT_EQ(Value("[S]\nk=\n", "S", "k"), "");
    EXPECT_EQ(Value("[S]\nk\n", "S", "k"), "<none>");
    EXPECT_EQ(Value("[S", "S", "k"), "<none>");
}

TEST(IniWrite, ReplacesOneLineAndKeepsEveryOtherByte) {
    const std::string content =
        "; my notes\r\n[Strip Line]\r\n  width = 1 \r\nOther = x\r\n\r\n[Extra]\r\nz=1";
    EXPECT_EQ(WithIniValue(content, "Strip Line", "Width", "5e-05"),
              "; my notes\r\n[Strip Line]\r\nWidth=5e-05\r\nOther = x\r\n\r\n[Extra]\r\nz=1");
    // The last line of a file without a final line break stays without one.
    EXPECT_EQ(WithIniValue(content, "Extra", "Z", "2"),
              "; my notes\r\n[Strip Line]\r\n  width = 1 \r\nOther = x\r\n\r\n[Extra]\r\nZ=2");
}

TEST(IniWrite, NewKeyGoesAfterTheSectionsLastEntry) {
    EXPECT_EQ(WithIniValue("[A]\nx=1\n\n[B]\ny=2\n", "A", "k", "v"), "[A]\nx=1\nk=v\n\n[B]\ny=2\n");
    EXPECT_EQ(WithIniValue("[A]\n\n\n[B]\n", "A", "k", "v"), "[A]\nk=v\n\n\n[B]\n");
    EXPECT_EQ(WithIniValue("[A]\nx=1", "A", "k", "v"), "[A]\nx=1\nk=v\n");
    EXPECT_EQ(WithIniValue("[A]\r\nx=1\r\n", "a", "k", "v"), "[A]\r\nx=1\r\nk=v\r\n");
}

TEST(IniWrite, NewSectionGoesToTheEnd) {
    EXPECT_EQ(WithIniValue("", "Material Parameter", "Diel Constant", "12.9"),
              "[Material Parameter]\nDiel Constant=12.9\n");
    EXPECT_EQ(WithIniValue("[A]\nx=1\n", "B", "k", "v"), "[A]\nx=1\n\n[B]\nk=v\n");
    EXPECT_EQ(WithIniValue("[A]\nx=1", "B", "k", "v"), "[A]\nx=1\n\n[B]\nk=v\n");
}

TEST(IniWrite, BinaryGarbageAroundOurSectionSurvives) {
    std::mt19937 random(7);
    std::string garbage;
    for (int i = 0; i < 100000; ++i)
        garbage.push_back(static_cast<char>(random()));
    const std::string written = WithIniValue(garbage, "Coax Line", "Length", "0.01");
    ASSERT_EQ(written.compare(0, garbage.size(), garbage), 0);
    EXPECT_EQ(Value(written, "Coax Line", "Length"), "0.01");
    const std::string again = WithIniValue(written, "Coax Line", "Length", "0.02");
    EXPECT_EQ(again.size(), written.size());
    EXPECT_EQ(Value(again, "Coax Line", "Length"), "0.02");
}

TEST(IniWrite, RefusesEntriesThatWouldBreakTheLineStructure) {
    EXPECT_TRUE(IsWritableIniEntry("Coax Line", "Inner diameter ", "0.0001"));
    EXPECT_FALSE(IsWritableIniEntry("A", "k", "1\n[B]"));
    EXPECT_FALSE(IsWritableIniEntry("A", "k", std::string_view("1\0", 2)));
    EXPECT_FALSE(IsWritableIniEntry("A", "k=j", "1"));
    EXPECT_FALSE(IsWritableIniEntry("A]", "k", "1"));
    EXPECT_FALSE(IsWritableIniEntry("A", "  ", "1"));
    EXPECT_FALSE(IsWritableIniEntry("A", "[k", "1"));
    EXPECT_FALSE(IsWritableIniEntry("A", ";k", "1"));
}

} // namespace
