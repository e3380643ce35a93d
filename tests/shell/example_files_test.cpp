#include "shell/example_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using ferrovane::testing::TempDir;

// The bytes of a data file: every line ended by CR LF.
std::string crlf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

const ExampleFile& fileNamed(const std::string& name) {
    const auto& files = exampleFiles();
    auto it = std::find_if(files.begin(), files.end(),
                           [&](const ExampleFile& f) { return f.name == name; });
    if (it == files.end())
        throw std::runtime_error("no example file " + name);
    return *it;
}

std::vector<std::string> regularFilesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ExampleFiles, AreTheTwentyThreeDataFilesInWritingOrder) {
    const std::vector<std::string> expected = {
        "VoltDiv.DAT", "Wave.dat",        "XlXcFLC.dat",      "RLCQ.dat",
        "LNetD.dat",   "CapDiv.dat",      "CapDivDesign.DAT", "CapDivLastRun.dat",
        "PiNetD.dat",  "PiNetDesign.DAT", "PiNetLastRun.dat", "FreqMult.dat",
        "CVBData.dat", "CVBOutPut.dat",   "CVBChngR.dat",     "Feedback.dat",
        "Array.DAT",   "PowerXfm.DAT",    "CONSTANT.DAT",     "PSFData.dat",
        "Track.DAT",   "RXData.dat",      "Tubes.dat"};
    std::vector<std::string> names;
    for (const auto& f : exampleFiles())
        names.push_back(f.name);
    EXPECT_EQ(names, expected);
}

TEST(ExampleFiles, OnlyTheBiasDesignAndTheTransformerLimitsHaveNoFlagLine) {
    for (const auto& f : exampleFiles()) {
        bool handOver = f.name == "CVBOutPut.dat" || f.name == "CONSTANT.DAT";
        EXPECT_EQ(f.flagLine, !handOver) << f.name;
    }
}

// Line counts follow from each window's file layout (flag line included
// where there is one).
TEST(ExampleFiles, HaveAsManyLinesAsEachFileLayout) {
    const std::vector<std::pair<std::string, std::size_t>> lineCounts = {
        {"VoltDiv.DAT", 10},     {"Wave.dat", 7},          {"XlXcFLC.dat", 7},
        {"RLCQ.dat", 7},         {"LNetD.dat", 7},         {"CapDiv.dat", 8},
        {"CapDivDesign.DAT", 9}, {"CapDivLastRun.dat", 9}, {"PiNetD.dat", 8},
        {"PiNetDesign.DAT", 9},  {"PiNetLastRun.dat", 9},  {"FreqMult.dat", 4},
        {"CVBData.dat", 6},      {"CVBOutPut.dat", 11},    {"CVBChngR.dat", 7},
        {"Feedback.dat", 13},    {"Array.DAT", 178},       {"PowerXfm.DAT", 30},
        {"CONSTANT.DAT", 8},     {"PSFData.dat", 29},      {"Track.DAT", 10},
        {"RXData.dat", 6},       {"Tubes.dat", 9}};
    for (const auto& [name, count] : lineCounts) {
        const auto& f = fileNamed(name);
        EXPECT_EQ(f.fields.size() + (f.flagLine ? 1 : 0), count) << name;
    }
}

// The reader skips leading blanks and ends a field at a comma, so a field
// with either would not come back as written.
TEST(ExampleFiles, EveryFieldReadsBackAsWritten) {
    for (const auto& f : exampleFiles()) {
        for (const auto& field : f.fields) {
            EXPECT_FALSE(field.empty()) << f.name;
            EXPECT_EQ(field.find_first_of(",\r\n"), std::string::npos) << f.name << ": " << field;
            EXPECT_NE(field.front(), ' ') << f.name << ": " << field;
        }
    }
}

// The handed-over bias design is the standard divider R1 = 200 k, R2 = 68 k
// from a 25 V supply: Rb = R1 R2 / (R1 + R2), Vbb = Vcc R2 / (R1 + R2).
TEST(ExampleFiles, BiasDesignHoldsTheTheveninEquivalentOfItsDivider) {
    const auto& out = fileNamed("CVBOutPut.dat").fields;
    double vcc = std::stod(out[0]);
    double r1 = std::stod(out[8]);
    double r2 = std::stod(out[9]);
    EXPECT_NEAR(std::stod(out[6]), 200000.0 * 68000.0 / 268000.0, 1e-9);
    EXPECT_NEAR(std::stod(out[6]), r1 * r2 / (r1 + r2), 1e-9);
    EXPECT_NEAR(std::stod(out[7]), vcc * r2 / (r1 + r2), 1e-12);
}

// The last-run examples of the lossy-coil windows are the lossless designs
// with a coil resistance added, so Load New Design and Load Example agree on
// every component.
TEST(ExampleFiles, LossyCoilExamplesStartFromTheExampleDesigns) {
    const auto& capDesign = fileNamed("CapDivDesign.DAT").fields; // F R1 L Rc C1 C2 RL Q
    const auto& capRun = fileNamed("CapDivLastRun.dat").fields;   // F R1 C1 L Rc C2 RL Q
    EXPECT_EQ(capRun[0], capDesign[0]);
    EXPECT_EQ(capRun[1], capDesign[1]);
    EXPECT_EQ(capRun[2], capDesign[4]);
    EXPECT_EQ(capRun[3], capDesign[2]);
    EXPECT_EQ(capRun[5], capDesign[5]);
    EXPECT_EQ(capRun[6], capDesign[6]);
    EXPECT_EQ(capRun[7], capDesign[7]);

    const auto& piDesign = fileNamed("PiNetDesign.DAT").fields; // same order as its last run
    const auto& piRun = fileNamed("PiNetLastRun.dat").fields;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 7u})
        EXPECT_EQ(piRun[i], piDesign[i]) << i;
}

// The selected equations are -30 I1 + 10 I2 + K1 = 0 and 10 I1 - 25 I2 + K2 = 0,
// solved by I1 = 1, I2 = -3; this checks that the grid and the constants sit on
// the right lines of the file.
TEST(ExampleFiles, LoopEquationExampleIsSolvedByOneAndMinusThree) {
    const auto& f = fileNamed("Array.DAT").fields;
    auto line = [&](std::size_t n) { return std::stod(f.at(n - 2)); };
    auto m = [&](int r, int c) { return line(5 + 2 * (6 * (r - 1) + (c - 1))); };
    auto k = [&](int r) { return line(77 + 2 * (r - 1)); };
    EXPECT_EQ(f.at(0), "2");   // two loops
    EXPECT_EQ(f.at(176), "1"); // equations method
    const double i1 = 1, i2 = -3;
    EXPECT_EQ(m(1, 1) * i1 + m(1, 2) * i2 + k(1), 0.0);
    EXPECT_EQ(m(2, 1) * i1 + m(2, 2) * i2 + k(2), 0.0);
    EXPECT_EQ(f.at(6 - 2), "0"); // imaginary part of M11, not listed
    EXPECT_EQ(f.at(143 - 2), "*");
    EXPECT_EQ(f.at(177 - 2), "3.742e6");
}

TEST(RestoreExamples, WritesEveryFileWithCrLfLines) {
    TempDir tmp;
    DataDir dir(tmp.path());
    ASSERT_TRUE(RestoreExamples(dir).ok);

    std::vector<std::string> expectedNames;
    for (const auto& f : exampleFiles()) {
        expectedNames.push_back(f.name);
        std::vector<std::string> lines;
        if (f.flagLine)
            lines.push_back("True");
        lines.insert(lines.end(), f.fields.begin(), f.fields.end());
        EXPECT_EQ(tmp.read(f.name), crlf(lines)) << f.name;
    }
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(regularFilesIn(tmp.path()), expectedNames);
}

TEST(RestoreExamples, WritesTheWorkedProblemsLetterForLetter) {
    TempDir tmp;
    ASSERT_TRUE(RestoreExamples(DataDir(tmp.path())).ok);

    EXPECT_EQ(tmp.read("VoltDiv.DAT"), crlf({"True", "375.0e-3", "-8.519", "150.0", "400.0",
                                             "1.000e+6", "10.00e+3", "1.000e+6", "3", "3"}));
    EXPECT_EQ(tmp.read("Wave.dat"), crlf({"True", "7250000", "0", ".5", ".98", "2", "3"}));
    EXPECT_EQ(tmp.read("CVBOutPut.dat"),
              crlf({"25.00", "1.000", "100.0", "5.000", "10.00", "5100", "50746.2686567164",
                    "6.34328358208955", "200000", "68000", "10000"}));
    EXPECT_EQ(tmp.read("CONSTANT.DAT"),
              crlf({"Plate winding percent dissipation for an open core transformer.", "2.5",
                    "Filament winding percent dissipation for an open core transformer.", "4.5",
                    "Plate winding percent dissipation for a potted transformer.", "1.5",
                    "Filament winding percent dissipation for a potted transformer.", "2.5"}));
    EXPECT_EQ(tmp.read("Tubes.dat"),
              crlf({"True", "80000", "100", "1250", "1 Meg", "470000", "1500", "9", "12AX7"}));
    EXPECT_EQ(tmp.read("PiNetDesign.DAT"),
              crlf({"True", "14.25e+6", "4.000e+3", "41.88e-12", "3.240e-6", "1.00", "299.0e-12",
                    "52.00", "15.00"}));
}

TEST(RestoreExamples, FilesReadBackAsFlagAndFields) {
    TempDir tmp;
    DataDir dir(tmp.path());
    ASSERT_TRUE(RestoreExamples(dir).ok);
    for (const auto& f : exampleFiles()) {
        std::vector<std::string> expected;
        if (f.flagLine)
            expected.push_back("True");
        expected.insert(expected.end(), f.fields.begin(), f.fields.end());
        auto read = dir.readFields(f.name);
        ASSERT_TRUE(read.has_value()) << f.name;
        EXPECT_EQ(*read, expected) << f.name;
    }
}

TEST(RestoreExamples, OverwritesTheUsersWork) {
    TempDir tmp;
    DataDir dir(tmp.path());
    ASSERT_TRUE(RestoreExamples(dir).ok);
    const std::string voltDiv = tmp.read("VoltDiv.DAT");
    const std::string tubes = tmp.read("Tubes.dat");

    tmp.write("VoltDiv.DAT", "False\r\n 500.0e-3  \r\n");
    std::filesystem::remove(tmp.path() / "Tubes.dat");

    ASSERT_TRUE(RestoreExamples(dir).ok);
    EXPECT_EQ(tmp.read("VoltDiv.DAT"), voltDiv);
    EXPECT_EQ(tmp.read("Tubes.dat"), tubes);
    EXPECT_EQ(regularFilesIn(tmp.path()).size(), 23u);
}

// A file saved under another letter case is the same file: it is rewritten,
// not joined by a second one.
TEST(RestoreExamples, RewritesAFileSavedUnderAnotherLetterCase) {
    TempDir tmp;
    DataDir dir(tmp.path());
    tmp.write("capdivdesign.dat", "False\r\n 1.000e+6  \r\n");

    ASSERT_TRUE(RestoreExamples(dir).ok);
    auto names = regularFilesIn(tmp.path());
    EXPECT_EQ(names.size(), 23u);
    auto design = dir.readFields("CapDivDesign.DAT");
    ASSERT_TRUE(design.has_value());
    EXPECT_EQ(design->at(0), "True");
    EXPECT_EQ(design->at(1), "455.0e+3");
}

TEST(RestoreExamples, GoesOnPastAFileItCannotWriteAndNamesIt) {
    TempDir tmp;
    DataDir dir(tmp.path());
    // A directory where the file should be cannot be replaced by a file.
    std::filesystem::create_directory(tmp.path() / "Wave.dat");
    tmp.write("Wave.dat/keep", "x");
    std::filesystem::create_directory(tmp.path() / "Tubes.dat");
    tmp.write("Tubes.dat/keep", "x");

    WriteResult result = RestoreExamples(dir);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("Wave.dat"), std::string::npos) << result.error;

    // Everything else, before and after the failures, is written.
    auto names = regularFilesIn(tmp.path());
    EXPECT_EQ(names.size(), 21u);
    EXPECT_EQ(tmp.read("VoltDiv.DAT").substr(0, 16), "True\r\n375.0e-3\r\n");
    EXPECT_EQ(tmp.read("RXData.dat"), crlf({"True", "75.00", "-15.00", "21.25e+6", "75.00", "1"}));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "Wave.dat"));
}

} // namespace
} // namespace ferrovane
