#include "shell/example_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "calculators/catalogue.h"
#include "calculators/matching/design_files.h"
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

const ExampleFile* exampleFile(const std::string& name) {
    for (const auto& f : exampleFiles())
        if (f.name == name)
            return &f;
    return nullptr;
}

// Twenty-three files of distinct names; each catalogued window's file and
// each design file, spelled as its window spells it, holds one line for
// every field the window reads.
TEST(ExampleFiles, HoldTheFieldsTheirWindowsRead) {
    std::set<std::string> names;
    for (const auto& f : exampleFiles()) {
        names.insert(f.name);
        // Only the two hand-over files have no flag line.
        EXPECT_EQ(f.flagLine, f.name != "CVBOutPut.dat" && f.name != "CONSTANT.DAT") << f.name;
        // A field with a comma or a leading blank would not read back as written.
        for (const auto& field : f.fields)
            EXPECT_TRUE(!field.empty() && field.front() != ' ' &&
                        field.find_first_of(",\r\n") == std::string::npos)
                << f.name << ": '" << field << "'";
    }
    EXPECT_EQ(names.size(), 23u);
    std::vector<std::pair<std::string, std::size_t>> files = {
        {designs::capDivider().fileName, designs::capDivider().fields.size()},
        {designs::piNetwork().fileName, designs::piNetwork().fields.size()}};
    for (const auto& e : catalogue())
        if (e.calculator && !e.calculator().dataFile.empty())
            files.emplace_back(e.calculator().dataFile, e.calculator().fields.size());
    for (const auto& [name, fields] : files) {
        const ExampleFile* f = exampleFile(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f->fields.size(), fields) << name;
    }
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
