#include "shell/example_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "calculators/catalogue.h"
#include "calculators/matching/design_files.h"
#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using ferrovane::testing::TempDir;

// Twenty-three files of distinct names; each catalogued window's file and
// each design file, spelled as its window spells it, holds one line for
// every field the window reads.
TEST(ExampleFiles, HoldTheFieldsTheirWindowsRead) {
    std::map<std::string, std::size_t> fieldsOf;
    for (const auto& f : exampleFiles()) {
        fieldsOf[f.name] = f.fields.size();
        // Only the two hand-over files have no flag line.
        EXPECT_EQ(f.flagLine, f.name != "CVBOutPut.dat" && f.name != "CONSTANT.DAT") << f.name;
        // A field with a comma or a leading blank would not read back as written.
        for (const auto& field : f.fields)
            EXPECT_TRUE(!field.empty() && field.front() != ' ' &&
                        field.find_first_of(",\r\n") == std::string::npos)
                << f.name << ": '" << field << "'";
    }
    EXPECT_EQ(fieldsOf.size(), 23u);
    std::vector<std::pair<std::string, std::size_t>> files = {
        {designs::capDivider().fileName, designs::capDivider().fields.size()},
        {designs::piNetwork().fileName, designs::piNetwork().fields.size()}};
    for (const auto& e : catalogue())
        if (e.calculator && !e.calculator().dataFile.empty())
            files.emplace_back(e.calculator().dataFile, e.calculator().fields.size());
    for (const auto& [name, fields] : files) {
        ASSERT_TRUE(fieldsOf.count(name)) << name;
        EXPECT_EQ(fieldsOf[name], fields) << name;
    }
}

// The worked problems are written over the user's work whatever its letter
// case (each calculator's scenarios check what its example holds); a file
// that cannot be written is named and the rest are written.
TEST(RestoreExamples, WritesOverWorkAndGoesOnPastAFailure) {
    TempDir tmp;
    tmp.write("voltdiv.dat", "False\r\n1\r\n");
    std::filesystem::create_directory(tmp.path() / "Wave.dat");
    const WriteResult r = RestoreExamples(DataDir(tmp.path()));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Wave.dat"), std::string::npos) << r.error;
    EXPECT_EQ(tmp.read("voltdiv.dat").substr(0, 6), "True\r\n");
    int files = 0; // one file a name: no second copy beside "voltdiv.dat"
    for (const auto& e : std::filesystem::directory_iterator(tmp.path()))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 22);
}

} // namespace
} // namespace ferrovane
