#include "shell/data_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::TempDir;
using Fields = std::vector<std::string>;

int regularFiles(const std::filesystem::path& dir) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        n += e.is_regular_file() ? 1 : 0;
    return n;
}

TEST(DataDirRead, FieldsEndAtLineEndsAndCommasWithLeadingBlanksSkipped) {
    struct Case {
        std::string bytes;
        Fields fields;
    };
    const Case cases[] = {
        // Trailing blanks stay with the field; a comma also ends one.
        {"True\r\n 4.700e+3  \r\n  x,y\r\n\r\nlast", {"True", "4.700e+3  ", "x", "y", "", "last"}},
        {"False\n1\n2\n", {"False", "1", "2"}}, // LF alone
        {"", {}},
        // Windows-1252 becomes UTF-8: 0x80 is the euro sign, 0xB0 the degree sign.
        {"\x80\xB0\x01", {"\u20AC\u00B0\x01"}},
    };
    for (const auto& c : cases) {
        TempDir tmp;
        tmp.write("a.dat", c.bytes);
        EXPECT_EQ(DataDir(tmp.path()).readFields("a.dat"), c.fields) << c.bytes;
    }
    EXPECT_FALSE(DataDir(TempDir().path()).readFields("none.dat").has_value());
}

TEST(DataDirRead, HugeFilesAreReadOnlyAsFarAsNeeded) {
    TempDir tmp;
    std::string many;
    for (int i = 0; i < 200000; ++i)
        many += std::to_string(i) + "\r\n";
    tmp.write("many.dat", many);
    tmp.write("long.dat", "True\r\n" + std::string(1 << 19, '7') + "\r\n5\r\n");
    // Nothing past the first MiB is read, however the file goes on.
    tmp.write("garbage.dat", "True\r\n" + std::string(3 << 20, '7') + "\r\n5\r\n");
    DataDir dir(tmp.path());
    EXPECT_EQ(dir.readFields("many.dat", 3), (Fields{"0", "1", "2"}));
    const auto fields = dir.readFields("long.dat");
    ASSERT_EQ(fields->size(), 3u);
    EXPECT_LT((*fields)[1].size(), 10000u); // a garbled line is cut, not held whole
    EXPECT_EQ((*fields)[2], "5");
    EXPECT_EQ(dir.readFields("garbage.dat")->size(), 2u);
    EXPECT_EQ(dir.readLines("garbage.dat")->size(), 2u);
}

TEST(DataDirNames, OneFileHoweverItsNameIsSpelled) {
    TempDir tmp;
    tmp.write("CapDivDesign.DAT", "True\r\n455.0e+3\r\n");
    DataDir dir(tmp.path());
    EXPECT_EQ(dir.readFields("CAPDIVDESIGN.dat"), (Fields{"True", "455.0e+3"}));
    ASSERT_TRUE(dir.writeLines("CapDivDesign.dat", {"False", "1"}));
    EXPECT_EQ(regularFiles(tmp.path()), 1);
    EXPECT_EQ(tmp.read("CapDivDesign.DAT"), "False\r\n1\r\n");
}

TEST(DataDirWrite, CrLfLinesInWindows1252ThatReadBack) {
    TempDir tmp;
    DataDir dir(tmp.path());
    ASSERT_TRUE(dir.writeLines("t.dat", {"True", "90\u00B0", "\u20AC5"}));
    EXPECT_EQ(tmp.read("t.dat"), "True\r\n90\xB0\r\n\x80"
                                 "5\r\n");
    EXPECT_EQ(dir.readFields("t.dat"), (Fields{"True", "90\u00B0", "\u20AC5"}));
    std::string all; // every character of the code page but the comma
    for (int b = 0x20; b < 256; ++b)
        if (b != ',')
            all += static_cast<char>(b);
    EXPECT_EQ(ToWindows1252(FromWindows1252(all)), all);
    EXPECT_EQ(ToWindows1252("\u03A9"), "?"); // not in the code page
}

TEST(DataDirWrite, FailuresLeaveTheOldFileWholeNameTheFileAndLeaveNoTemporary) {
    TempDir tmp;
    tmp.write("plain", "x");
    // A path below a plain file cannot be a directory, whoever runs the test.
    DataDir nowhere(tmp.path() / "plain" / "data");
    EXPECT_FALSE(nowhere.probeWritable().ok);
    const WriteResult r = nowhere.writeLines("VoltDiv.DAT", {"True"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("plain"), std::string::npos);

    // A directory in the file's place cannot be replaced by a file.
    std::filesystem::create_directory(tmp.path() / "blocked.dat");
    const WriteResult blocked = DataDir(tmp.path()).writeLines("blocked.dat", {"True"});
    EXPECT_FALSE(blocked.ok);
    EXPECT_NE(blocked.error.find("blocked.dat"), std::string::npos);
    EXPECT_EQ(regularFiles(tmp.path()), 1);
}

TEST(DataDirWrite, AReadOnlyDirectoryKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into a read-only directory";
    TempDir tmp;
    tmp.write("keep.dat", "True\r\nold\r\n");
    std::filesystem::permissions(tmp.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    EXPECT_FALSE(DataDir(tmp.path()).writeLines("keep.dat", {"False", "new"}).ok);
    std::filesystem::permissions(tmp.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(tmp.read("keep.dat"), "True\r\nold\r\n");
}

// A folder that is missing is made by the first write; when it cannot be
// made, the reason says so rather than that the file has no folder.
TEST(DataDirWrite, AMissingFolderIsMadeOrTheReasonIsThatItCouldNotBe) {
    TempDir tmp;
    ASSERT_TRUE(DataDir(tmp.path() / "a" / "b").writeLines("v.dat", {"True"}));
    EXPECT_EQ(tmp.read("a/b/v.dat"), "True\r\n");
    tmp.write("plain", "x");
    const WriteResult r = DataDir(tmp.path() / "plain" / "x" / "y").writeLines("v.dat", {"True"});
    EXPECT_NE(r.error.find("cannot create the folder"), std::string::npos) << r.error;
    if (::geteuid() != 0) {
        std::filesystem::create_directory(tmp.path() / "ro");
        std::filesystem::permissions(tmp.path() / "ro", std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_exec);
        const WriteResult denied = DataDir(tmp.path() / "ro" / "x").writeLines("v.dat", {"1"});
        EXPECT_NE(denied.error.find("cannot create the folder"), std::string::npos);
        EXPECT_NE(denied.error.find(std::strerror(EACCES)), std::string::npos) << denied.error;
    }
}

// Only our own temporary names are removed, and only when the process that
// made them no longer runs.
TEST(DataDirTemporaries, LeftoversOfDeadWritersAreRemovedNothingElse) {
    TempDir tmp;
    const pid_t dead = [] {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        ::waitpid(child, nullptr, 0);
        return child;
    }();
    const std::string d = std::to_string(dead), me = std::to_string(::getpid());
    const std::vector<std::pair<std::string, bool>> files = {
        {".VoltDiv.DAT.tmp" + d + "-0", true}, {".Wave.dat.tmp" + d + "-17", true},
        {".ferrovane-probe-" + d, true},       {".VoltDiv.DAT.tmp" + me + "-3", false},
        {".VoltDiv.DAT.tmp1-0", false},        {"VoltDiv.DAT.tmp" + d + "-0", false},
        {".x.tmp" + d + "-0.bak", false},      {".x.tmp" + d, false},
        {".notes.tmp" + d + "-x", false},      {"VoltDiv.DAT", false},
    };
    for (const auto& [name, stale] : files)
        tmp.write(name, "x");
    std::filesystem::create_directory(tmp.path() / (".dir.tmp" + d + "-1"));
    EXPECT_EQ(DataDir(tmp.path()).removeStaleTemporaries(), 3u);
    for (const auto& [name, stale] : files)
        EXPECT_EQ(std::filesystem::exists(tmp.path() / name), !stale) << name;
    EXPECT_TRUE(std::filesystem::exists(tmp.path() / (".dir.tmp" + d + "-1")));
}

TEST(DataDirWrite, ACrashBeforeTheRenameLeavesTheOldFileWhole) {
    // A writer that died after writing its temporary file but before the
    // rename leaves a stray temporary; the data file itself is untouched.
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
