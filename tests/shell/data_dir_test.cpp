#include "shell/data_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::TempDir;
using Fields = std::vector<std::string>;

TEST(DataDirRead, FieldsEndAtLineEndsAndCommasWithLeadingBlanksSkipped) {
    TempDir tmp;
    tmp.write("a.dat", "True\r\n 4.700e+3  \r\n  x,y\r\n\r\nlast");
    DataDir dir(tmp.path());
    // Trailing blanks stay with the field; a comma also ends one.
    EXPECT_EQ(dir.readFields("a.dat"), (Fields{"True", "4.700e+3  ", "x", "y", "", "last"}));
}

TEST(DataDirRead, LfAloneIsALineEndToo) {
    TempDir tmp;
    tmp.write("a.dat", "False\n1\n2\n");
    EXPECT_EQ(DataDir(tmp.path()).readFields("a.dat"), (Fields{"False", "1", "2"}));
}

TEST(DataDirRead, MissingFileGivesNothingAndEmptyFileNoFields) {
    TempDir tmp;
    DataDir dir(tmp.path());
    EXPECT_FALSE(dir.readFields("none.dat").has_value());
    tmp.write("empty.dat", "");
    EXPECT_EQ(dir.readFields("empty.dat"), Fields{});
}

TEST(DataDirRead, ReadingStopsAtWhatIsNeededInAHugeFile) {
    TempDir tmp;
    std::string big;
    for (int i = 0; i < 200000; ++i)
        big += std::to_string(i) + "\r\n";
    tmp.write("big.dat", big);
    const auto fields = DataDir(tmp.path()).readFields("big.dat", 3);
    EXPECT_EQ(fields, (Fields{"0", "1", "2"}));
}

TEST(DataDirRead, AVeryLongLineIsCutNotHeldWhole) {
    TempDir tmp;
    tmp.write("long.dat", "True\r\n" + std::string(1 << 20, '7') + "\r\n5\r\n");
    const auto fields = DataDir(tmp.path()).readFields("long.dat");
    ASSERT_TRUE(fields.has_value());
    ASSERT_EQ(fields->size(), 3u);
    EXPECT_LT((*fields)[1].size(), 10000u);
    EXPECT_EQ((*fields)[2], "5");
}

TEST(DataDirRead, GarbageBytesBecomeTextWithoutHarm) {
    TempDir tmp;
    std::string bytes = "True\r\n";
    for (int b = 0; b < 256; ++b)
        if (b != '\n' && b != ',' && b != '\r')
            bytes += static_cast<char>(b);
    tmp.write("g.dat", bytes);
    const auto fields = DataDir(tmp.path()).readFields("g.dat");
    ASSERT_TRUE(fields.has_value());
    ASSERT_EQ(fields->size(), 2u);
    // Every byte came through as one character: 0x80 is the euro sign.
    EXPECT_NE((*fields)[1].find("\u20AC"), std::string::npos);
    EXPECT_NE((*fields)[1].find("\u00B0"), std::string::npos);
}

TEST(DataDirNames, MatchWithoutRegardToLetterCase) {
    TempDir tmp;
    tmp.write("CapDivDesign.DAT", "True\r\n455.0e+3\r\n");
    DataDir dir(tmp.path());
    EXPECT_EQ(dir.resolve("capdivdesign.dat").filename(), "CapDivDesign.DAT");
    EXPECT_EQ(dir.readFields("CAPDIVDESIGN.dat"), (Fields{"True", "455.0e+3"}));

    // Writing under another spelling replaces the one file, never a second copy.
    ASSERT_TRUE(dir.writeLines("CapDivDesign.dat", {"False", "1"}));
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(tmp.path())) {
        (void)entry;
        ++count;
    }
    EXPECT_EQ(count, 1);
    EXPECT_EQ(tmp.read("CapDivDesign.DAT"), "False\r\n1\r\n");
}

TEST(DataDirWrite, LinesEndInCrLfAndTextIsWindows1252) {
    TempDir tmp;
    DataDir dir(tmp.path());
    ASSERT_TRUE(dir.writeLines("t.dat", {"True", "90\u00B0", "\u20AC5"}));
    EXPECT_EQ(tmp.read("t.dat"), "True\r\n90\xB0\r\n\x80"
                                 "5\r\n");
    EXPECT_EQ(dir.readFields("t.dat"), (Fields{"True", "90\u00B0", "\u20AC5"}));
}

TEST(DataDirWrite, RoundTripOfEveryRepresentableCharacter) {
    std::string all;
    for (int b = 0x20; b < 256; ++b)
        if (b != ',')
            all += static_cast<char>(b);
    const std::string utf8 = FromWindows1252(all);
    EXPECT_EQ(ToWindows1252(utf8), all);
    // A character the code page lacks is written as a question mark.
    EXPECT_EQ(ToWindows1252("\u03A9"), "?");
}

TEST(DataDirWrite, AFailedWriteLeavesTheOldFileWholeAndSaysWhy) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into a read-only directory";
    TempDir tmp;
    tmp.write("keep.dat", "True\r\nold\r\n");
    std::filesystem::permissions(tmp.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    DataDir dir(tmp.path());
    const WriteResult r = dir.writeLines("keep.dat", {"False", "new"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(tmp.path().string()), std::string::npos);
    EXPECT_FALSE(dir.probeWritable().ok);
    std::filesystem::permissions(tmp.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(tmp.read("keep.dat"), "True\r\nold\r\n");
}

TEST(DataDirWrite, ADirectoryThatCannotHoldFilesFailsWithItsName) {
    // A path below a plain file cannot be a directory, whoever runs the test.
    TempDir tmp;
    tmp.write("plain", "x");
    DataDir dir(tmp.path() / "plain" / "data");
    EXPECT_FALSE(dir.probeWritable().ok);
    const WriteResult r = dir.writeLines("VoltDiv.DAT", {"True"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("plain"), std::string::npos);
    EXPECT_FALSE(dir.readFields("VoltDiv.DAT").has_value());
}

TEST(DataDirWrite, ATargetThatCannotBeReplacedFailsAndLeavesNoTemporaryFile) {
    // A directory in the file's place cannot be replaced by a file, even by root.
    TempDir tmp;
    std::filesystem::create_directory(tmp.path() / "blocked.dat");
    DataDir dir(tmp.path());
    const WriteResult r = dir.writeLines("blocked.dat", {"True"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("blocked.dat"), std::string::npos);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(tmp.path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 0);
}

TEST(DataDirWrite, ACrashBeforeTheRenameLeavesTheOldFileWhole) {
    // A writer that dies after writing its temporary file but before the
    // rename leaves a stray temporary; the data file itself is untouched and
    // the next write still succeeds.
    TempDir tmp;
    tmp.write("v.dat", "True\r\n1\r\n");
    tmp.write(".v.dat.tmp999-0", "Fal");
    DataDir dir(tmp.path());
    EXPECT_EQ(dir.readFields("v.dat"), (Fields{"True", "1"}));
    ASSERT_TRUE(dir.writeLines("v.dat", {"False", "2"}));
    EXPECT_EQ(tmp.read("v.dat"), "False\r\n2\r\n");
}

} // namespace
} // namespace ferrovane
