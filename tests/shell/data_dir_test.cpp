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
namespace fs = std::filesystem;

int regularFiles(const fs::path& dir) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        n += e.is_regular_file() ? 1 : 0;
    return n;
}

TEST(DataDirRead, FieldsEndAtLineEndsAndCommasWithLeadingBlanksSkipped) {
    const std::pair<std::string, Fields> cases[] = {
        // Trailing blanks stay with the field; a comma also ends one.
        {"True\r\n 4.700e+3  \r\n  x,y\r\n\r\nlast", {"True", "4.700e+3  ", "x", "y", "", "last"}},
        {"False\n1\n2\n", {"False", "1", "2"}}, // LF alone
        {"", {}},
        // Windows-1252 becomes UTF-8: 0x80 is the euro sign, 0xB0 the degree sign.
        {"\x80\xB0\x01", {"\u20AC\u00B0\x01"}},
    };
    for (const auto& [bytes, fields] : cases) {
        TempDir tmp;
        tmp.write("a.dat", bytes);
        EXPECT_EQ(DataDir(tmp.path()).readFields("a.dat"), fields) << bytes;
        EXPECT_EQ(splitFields(bytes), fields) << bytes; // the same without a file
    }
    EXPECT_EQ(splitLines("a, b\r\n c\r\r\n"), (Fields{"a, b", " c\r"}));
    EXPECT_FALSE(DataDir(TempDir().path()).readFields("none.dat").has_value());
}

// The sizes of the fields read, for a short message when long ones differ.
std::string sizes(const std::optional<Fields>& fields) {
    std::string out = fields ? "sizes" : "no file";
    for (const auto& f : fields.value_or(Fields{}))
        out += " " + std::to_string(f.size());
    return out;
}

// However long, a field comes back whole, and a file read again after
// writing its fields gives them back. Nothing past the first MiB is read;
// the field the limit would cut is left out rather than cut short.
TEST(DataDirRead, LongFieldsWholeAndNothingPastTheFirstMiB) {
    TempDir tmp;
    DataDir dir(tmp.path());
    std::string long5000(5000, 'x');
    for (std::size_t i = 0; i < long5000.size(); i += 7)
        long5000[i] = static_cast<char>('a' + i % 26);
    const std::string half(1 << 19, '7');
    const std::string exact = "True\r\n" + std::string((1 << 20) - 6, '8'); // one MiB, unended
    tmp.write("long.dat", "True\r\n" + long5000 + "\r\n5\r\n");
    tmp.write("half.dat", "True\r\n" + half + "\r\n5\r\n");
    tmp.write("exact.dat", exact);
    ASSERT_TRUE(dir.writeLines("copy.dat", {"False", long5000, long5000 + "y"}));
    // One byte more, or a garbage file of megabytes: the field that runs past
    // the first MiB is not there at all.
    tmp.write("over.dat", exact + "8");
    tmp.write("garbage.dat", "True\r\n" + std::string(3 << 20, '7') + "\r\n5\r\n");
    const struct {
        const char* file;
        Fields fields;
    } cases[] = {
        {"long.dat", {"True", long5000, "5"}},
        {"copy.dat", {"False", long5000, long5000 + "y"}},
        {"half.dat", {"True", half, "5"}},
        {"exact.dat", {"True", exact.substr(6)}},
        {"over.dat", {"True"}},
        {"garbage.dat", {"True"}},
    };
    for (const auto& c : cases) {
        const auto fields = dir.readFields(c.file), lines = dir.readLines(c.file);
        EXPECT_TRUE(fields == c.fields) << c.file << ": " << sizes(fields);
        EXPECT_TRUE(lines == c.fields) << c.file << ": " << sizes(lines);
    }
    EXPECT_EQ(dir.readFields("long.dat", 1), Fields{"True"});
    // A copy reads as the original does, the field past the limit left out.
    TempDir other;
    ASSERT_TRUE(DataDir(other.path()).copyFrom(dir, "over.dat"));
    EXPECT_EQ(DataDir(other.path()).readFields("over.dat"), Fields{"True"});
}

// One file however its name is spelled, written as CR LF lines in
// Windows-1252 that read back as written.
TEST(DataDirWrite, OneFileAnySpellingCrLfLinesInWindows1252) {
    TempDir tmp;
    tmp.write("CapDivDesign.DAT", "True\r\n455.0e+3\r\n");
    DataDir dir(tmp.path());
    EXPECT_EQ(dir.readFields("CAPDIVDESIGN.dat"), (Fields{"True", "455.0e+3"}));
    ASSERT_TRUE(dir.writeLines("CapDivDesign.dat", {"True", "90\u00B0", "\u20AC5"}));
    EXPECT_EQ(regularFiles(tmp.path()), 1);
    EXPECT_EQ(tmp.read("CapDivDesign.DAT"), "True\r\n90\xB0\r\n\x80"
                                            "5\r\n");
    EXPECT_EQ(fileBytes({"True", "90\u00B0", "\u20AC5"}), tmp.read("CapDivDesign.DAT"));
    EXPECT_EQ(dir.readFields("capdivdesign.dat"), (Fields{"True", "90\u00B0", "\u20AC5"}));
    std::string all; // every character of the code page but the comma
    for (int b = 0x20; b < 256; ++b)
        if (b != ',')
            all += static_cast<char>(b);
    EXPECT_EQ(ToWindows1252(FromWindows1252(all)), all);
    EXPECT_EQ(ToWindows1252("\u03A9"), "?"); // not in the code page
}

// A failed write leaves the old file whole, no temporary beside it, and a
// reason that names the step that failed. A missing folder is made.
TEST(DataDirWrite, FailuresKeepTheOldFileAndSayWhichStepFailed) {
    TempDir tmp;
    ASSERT_TRUE(DataDir(tmp.path() / "a" / "b").writeLines("v.dat", {"True"}));
    EXPECT_EQ(tmp.read("a/b/v.dat"), "True\r\n");
    tmp.write("plain", "x");
    // A path below a plain file cannot be a folder, whoever runs the test.
    const DataDir nowhere(tmp.path() / "plain" / "x");
    EXPECT_FALSE(nowhere.probeWritable().ok);
    const WriteResult r = nowhere.writeLines("v.dat", {"True"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("cannot create the folder"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find("plain"), std::string::npos) << r.error;
    // A folder in the file's place cannot be replaced by a file.
    fs::create_directory(tmp.path() / "blocked.dat");
    const WriteResult blocked = DataDir(tmp.path()).writeLines("blocked.dat", {"True"});
    EXPECT_NE(blocked.error.find("blocked.dat"), std::string::npos) << blocked.error;
    EXPECT_EQ(regularFiles(tmp.path()), 1);
}

TEST(DataDirWrite, AReadOnlyFolderKeepsTheOldFileAndSaysPermissionDenied) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into a read-only folder";
    TempDir tmp;
    tmp.write("keep.dat", "True\r\nold\r\n");
    fs::create_directory(tmp.path() / "ro");
    for (const fs::path& dir : {tmp.path(), tmp.path() / "ro"})
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(DataDir(tmp.path()).writeLines("keep.dat", {"False", "new"}).ok);
    const WriteResult denied = DataDir(tmp.path() / "ro" / "x").writeLines("v.dat", {"1"});
    EXPECT_NE(denied.error.find(std::strerror(EACCES)), std::string::npos) << denied.error;
    fs::permissions(tmp.path(), fs::perms::owner_all);
    EXPECT_EQ(tmp.read("keep.dat"), "True\r\nold\r\n");
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
    fs::create_directory(tmp.path() / (".dir.tmp" + d + "-1"));
    EXPECT_EQ(DataDir(tmp.path()).removeStaleTemporaries(), 3u);
    for (const auto& [name, stale] : files)
        EXPECT_EQ(fs::exists(tmp.path() / name), !stale) << name;
    EXPECT_TRUE(fs::exists(tmp.path() / (".dir.tmp" + d + "-1")));
}

} // namespace
} // namespace ferrovane
