#include "shell/example_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using ferrovane::testing::TempDir;

std::string crlf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// Names in writing order with each file's line count (flag line included),
// which follows from each window's file layout.
TEST(ExampleFiles, AreTheTwentyThreeFilesInWritingOrderWithTheirLayouts) {
    const std::vector<std::pair<std::string, std::size_t>> expected = {
        {"VoltDiv.DAT", 10},     {"Wave.dat", 7},          {"XlXcFLC.dat", 7},
        {"RLCQ.dat", 7},         {"LNetD.dat", 7},         {"CapDiv.dat", 8},
        {"CapDivDesign.DAT", 9}, {"CapDivLastRun.dat", 9}, {"PiNetD.dat", 8},
        {"PiNetDesign.DAT", 9},  {"PiNetLastRun.dat", 9},  {"FreqMult.dat", 4},
        {"CVBData.dat", 6},      {"CVBOutPut.dat", 11},    {"CVBChngR.dat", 7},
        {"Feedback.dat", 13},    {"Array.DAT", 178},       {"PowerXfm.DAT", 30},
        {"CONSTANT.DAT", 8},     {"PSFData.dat", 29},      {"Track.DAT", 10},
        {"RXData.dat", 6},       {"Tubes.dat", 9}};
    std::vector<std::pair<std::string, std::size_t>> actual;
    for (const auto& f : exampleFiles()) {
        actual.emplace_back(f.name, f.fields.size() + (f.flagLine ? 1 : 0));
        // Only the two hand-over files have no flag line.
        EXPECT_EQ(f.flagLine, f.name != "CVBOutPut.dat" && f.name != "CONSTANT.DAT") << f.name;
        // A field with a comma or a leading blank would not read back as written.
        for (const auto& field : f.fields)
            EXPECT_TRUE(!field.empty() && field.front() != ' ' &&
                        field.find_first_of(",\r\n") == std::string::npos)
                << f.name << ": '" << field << "'";
    }
    EXPECT_EQ(actual, expected);
}

TEST(RestoreExamples, WritesTheWorkedProblemsLetterForLetter) {
    TempDir tmp;
    const DataDir dir(tmp.path());
    ASSERT_TRUE(RestoreExamples(dir).ok);
    EXPECT_EQ(tmp.read("VoltDiv.DAT"), crlf({"True", "375.0e-3", "-8.519", "150.0", "400.0",
                                             "1.000e+6", "10.00e+3", "1.000e+6", "3", "3"}));
    EXPECT_EQ(tmp.read("Wave.dat"), crlf({"True", "7250000", "0", ".5", ".98", "2", "3"}));
    EXPECT_EQ(tmp.read("Tubes.dat"),
              crlf({"True", "80000", "100", "1250", "1 Meg", "470000", "1500", "9", "12AX7"}));
    EXPECT_EQ(tmp.read("CONSTANT.DAT").substr(0, 68),
              "Plate winding percent dissipation for an open core transformer.\r\n2.5");
    for (const auto& f : exampleFiles()) {
        std::vector<std::string> lines = f.fields;
        if (f.flagLine)
            lines.insert(lines.begin(), "True");
        EXPECT_EQ(dir.readFields(f.name), lines) << f.name;
    }
}

TEST(RestoreExamples, OverwritesWorkInPlaceWhateverTheLetterCase) {
    TempDir tmp;
    tmp.write("voltdiv.dat", "False\r\n1\r\n");
    ASSERT_TRUE(RestoreExamples(DataDir(tmp.path())).ok);
    EXPECT_EQ(tmp.read("voltdiv.dat").substr(0, 16), "True\r\n375.0e-3\r\n");
    int files = 0; // one file a name: no second copy beside "voltdiv.dat"
    for (const auto& e : std::filesystem::directory_iterator(tmp.path()))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 23);
}

TEST(RestoreExamples, GoesOnPastAFileItCannotWriteAndNamesIt) {
    TempDir tmp;
    std::filesystem::create_directory(tmp.path() / "Wave.dat");
    const WriteResult r = RestoreExamples(DataDir(tmp.path()));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Wave.dat"), std::string::npos);
    EXPECT_EQ(tmp.read("Tubes.dat").substr(0, 6), "True\r\n"); // written after the failure
}

} // namespace
} // namespace ferrovane
