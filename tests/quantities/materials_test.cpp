// The material lists and the user's materials file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "quantities/materialsfile.h"

namespace {

TEST(Materials, ClassicEntriesKeepTheirPlaceAndValuesLaminatesFollow) {
    // Stored settings and the first start refer to these by index.
    const struct {
        const char* name;
        double er, tand;
    } classic[] = {{"Air", 1.0, 0.0},
                   {"Alumina", 9.8, 0.0005},
                   {"GaAs", 12.9, 0.0005},
                   {"Germanium", 16.0, 0.0005},
                   {"Indium Phosphide", 12.4, 0.0005},
                   {"Silicon", 11.9, 0.001},
                   {"RT/Duroid 5880", 2.16, 0.001}};
    const std::vector<Dielectric>& table = DielectricTable();
    ASSERT_GE(table.size(), 14u);
    for (std::size_t i = 0; i < kClassicDielectricCount; ++i) {
        EXPECT_EQ(table[i].name, classic[i].name);
        EXPECT_EQ(table[i].dielConstant, classic[i].er) << classic[i].name;
        EXPECT_EQ(table[i].lossTangent, classic[i].tand) << classic[i].name;
    }
    EXPECT_EQ(table[kDefaultDielectric].name, "GaAs");
    // Every laminate names the frequency of its data sheet's values.
    for (std::size_t i = kClassicDielectricCount; i < table.size(); ++i) {
        EXPECT_GT(table[i].referenceFrequency, 0.0) << table[i].name;
        EXPECT_GE(table[i].dielConstant, 1.0) << table[i].name;
    }
}

TEST(MaterialsFile, TakesGoodLinesAndReportsEachMalformedOne) {
    const UserMaterials m =
        ParseMaterials("# my shop's materials\n"
                       "dielectric \"Shop FR-4 core\" 4.4 0.018 1e9   # from the last batch\n"
                       "\n"
                       "  conductor \"Rolled copper\" 5.7e7\r\n"
                       "dielectric \"Foam\" 1.05 0.0001\n"
                       "dielectric \"Below air\" 0.9 0.001\n"
                       "dielectric \"No loss\" 3.0\n"
                       "conductor \"Zero\" 0\n"
                       "metal \"Tin\" 9e6\n"
                       "dielectric \"Unclosed 3 0.01\n"
                       "dielectric \"Comma\" 4,4 0.02\n"
                       "dielectric \"Bad f\" 4.4 0.02 -1\n"
                       "conductor \"\" 1e7\n"
                       "conductor \"Tiny\" 1e-300\n");
    ASSERT_EQ(m.dielectrics.size(), 2u);
    EXPECT_EQ(m.dielectrics[0].name, "Shop FR-4 core");
    EXPECT_EQ(m.dielectrics[0].dielConstant, 4.4);
    EXPECT_EQ(m.dielectrics[0].lossTangent, 0.018);
    EXPECT_EQ(m.dielectrics[0].referenceFrequency, 1e9);
    EXPECT_EQ(m.dielectrics[1].name, "Foam");
    EXPECT_EQ(m.dielectrics[1].referenceFrequency, 0.0);
    ASSERT_EQ(m.conductors.size(), 1u);
    EXPECT_EQ(m.conductors[0].name, "Rolled copper");
    EXPECT_EQ(m.conductors[0].conductivity, 5.7e7);
    std::vector<int> lines;
    for (const MaterialsFileProblem& p : m.problems)
        lines.push_back(p.line);
    EXPECT_EQ(lines, (std::vector<int>{6, 7, 8, 9, 10, 11, 12, 13, 14}));

    // One message for the file, naming it and every skipped line.
    const std::string message = ProblemsMessage("/home/u/.config/tavrel/materials.txt", m.problems);
    EXPECT_EQ(message.find("/home/u/.config/tavrel/materials.txt"), message.find("/home"));
    EXPECT_NE(message.find("line 6: Er must be a number >= 1"), std::string::npos) << message;
    EXPECT_NE(message.find("line 13:"), std::string::npos) << message;
    EXPECT_EQ(ProblemsMessage("x", {}), "");
}

TEST(MaterialsFile, TakesTheLocalesDecimalCommaAndRefusesRepeatedNames) {
    const std::string text = "dielectric \"Shop core\" 3,61 0,002\n"
                             "dielectric \"GaAs\" 12.9 0.0005\n"
                             "conductor \"Silver\" 6.1e7\n"
                             "dielectric \"Shop core\" 3.7 0.002\n"
                             "conductor \"Thousands\" 1,000,000\n";
    const UserMaterials comma = ParseMaterials(text, ',');
    ASSERT_EQ(comma.dielectrics.size(), 1u);
    EXPECT_EQ(comma.dielectrics[0].dielConstant, 3.61);
    EXPECT_EQ(comma.dielectrics[0].lossTangent, 0.002);
    std::vector<int> lines;
    for (const MaterialsFileProblem& p : comma.problems)
        lines.push_back(p.line);
    EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(comma.problems[0].reason, "\"GaAs\" is the name of a built-in dielectric");
    EXPECT_EQ(comma.problems[2].reason, "\"Shop core\" is named by an earlier line");
    // A locale with a decimal point reads "3,61" as no number.
    EXPECT_EQ(ParseMaterials(text).problems.front().line, 1);
}

TEST(MaterialsFile, MissingFileAddsNothingAndAnOversizedOneIsRefused) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tavrel-materials-" + std::to_string(::getpid()) + ".txt"))
                                 .string();
    const UserMaterials none = ReadMaterialsFile(path);
    EXPECT_TRUE(none.dielectrics.empty() && none.conductors.empty() && none.problems.empty());
    std::ofstream(path) << std::string(kMaxMaterialsFileBytes + 1, '#');
    const UserMaterials huge = ReadMaterialsFile(path);
    std::filesystem::remove(path);
    ASSERT_EQ(huge.problems.size(), 1u);
    EXPECT_EQ(huge.problems[0].line, 0);
}

} // namespace
