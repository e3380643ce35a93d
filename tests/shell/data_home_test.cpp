#include "shell/data_home.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

// A writable program folder is used as it is, cleaned of dead writers'
// temporaries; an unwritable one sends the files to the user folder, which
// says nothing when there was nothing to take over.
TEST(DataHome, TheProgramFolderWhenWritableElseTheUserFolder) {
    TempDir tmp;
    tmp.write(".VoltDiv.DAT.tmp999999999-0", "Fal");
    const DataHome home = PrepareDataHome(tmp.path(), tmp.path() / "user", false);
    EXPECT_EQ(home.dir.path(), tmp.path());
    EXPECT_FALSE(fs::exists(tmp.path() / ".VoltDiv.DAT.tmp999999999-0"));
    EXPECT_FALSE(fs::exists(tmp.path() / "user"));
    tmp.write("plain", "x");
    const DataHome user = PrepareDataHome(tmp.path() / "plain" / "bin", tmp.path() / "user", false);
    EXPECT_EQ(user.dir.path(), tmp.path() / "user");
    EXPECT_TRUE(fs::is_directory(tmp.path() / "user"));
    EXPECT_EQ(home.notice + user.notice, "");
}

TEST(DataHome, ANewUserFolderTakesOverTheProgramFoldersFilesOnce) {
    TempDir tmp;
    fs::create_directory(tmp.path() / "program");
    tmp.write("program/voltdiv.dat", "False\r\n1 k\r\n");
    tmp.write("program/Wave.dat", "False\r\n\xB0\r\n");
    tmp.write("program/notes.txt", "not ours");
    const fs::path user = tmp.path() / "home" / "Ferrovane";
    const DataHome home = PrepareUserFolder(tmp.path() / "program", user, false);
    EXPECT_EQ(home.dir.path(), user);
    EXPECT_NE(home.notice.find("2 data files were copied"), std::string::npos) << home.notice;
    EXPECT_EQ(tmp.read("home/Ferrovane/voltdiv.dat"), "False\r\n1 k\r\n");
    EXPECT_EQ(tmp.read("home/Ferrovane/Wave.dat"), "False\r\n\xB0\r\n");
    EXPECT_FALSE(fs::exists(user / "notes.txt"));
    // The files it lacked hold their examples, so start-up writes nothing over
    // the ones taken over.
    EXPECT_EQ(tmp.read("home/Ferrovane/RLCQ.dat").substr(0, 6), "True\r\n");
    // Once made, the folder is the user's: nothing is taken over again.
    tmp.write("home/Ferrovane/voltdiv.dat", "False\r\n2 k\r\n");
    EXPECT_TRUE(PrepareUserFolder(tmp.path() / "program", user, false).notice.empty());
    EXPECT_EQ(tmp.read("home/Ferrovane/voltdiv.dat"), "False\r\n2 k\r\n");
}

// Installed: the configured bin folder itself (however it is spelled), or a
// bin folder with the program's data folder where the install step puts it.
// A build folder has its pictures beside the program, and so has an unpacked
// folder of the program's own: neither is installed.
TEST(DataHome, AnInstalledProgramIsKnownByItsFolderOrItsTree) {
    TempDir tmp;
    const InstallLayout layout{tmp.path() / "usr" / "bin", "../share/ferrovane"};
    fs::create_directories(tmp.path() / "usr" / "bin");
    fs::create_directories(tmp.path() / "root" / "usr" / "bin");
    fs::create_directories(tmp.path() / "root" / "usr" / "share" / "ferrovane" / "help");
    fs::create_directories(tmp.path() / "build" / "pictures");
    fs::create_directory_symlink(tmp.path() / "usr" / "bin", tmp.path() / "bin");
    const struct {
        fs::path dir;
        bool installed;
    } cases[] = {
        {tmp.path() / "usr" / "bin", true},
        {tmp.path() / "usr" / "bin" / "", true},
        {tmp.path() / "usr" / "lib" / ".." / "bin", true},
        {tmp.path() / "bin", true}, // a link to the bin folder
        {tmp.path() / "root" / "usr" / "bin", true},
        {tmp.path() / "build", false},
        {tmp.path() / "root" / "usr", false},
        {tmp.path() / "missing", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isInstalledProgram(c.dir, layout), c.installed) << c.dir;
    EXPECT_FALSE(isInstalledProgram(tmp.path() / "build", InstallLayout{}));
}

// An installed program writes nothing beside itself, though it could: the
// data files go to the user folder. Files an older start left there are
// taken over, and the notice says why they moved.
TEST(DataHome, AnInstalledProgramKeepsItsFilesInTheUserFolder) {
    TempDir tmp;
    fs::create_directory(tmp.path() / "bin");
    tmp.write("bin/ferrovane", "program");
    const DataHome home = PrepareDataHome(tmp.path() / "bin", tmp.path() / "user", true);
    EXPECT_EQ(home.dir.path(), tmp.path() / "user");
    EXPECT_TRUE(home.dir.writeLines("VoltDiv.DAT", {"False"}));
    EXPECT_EQ(home.notice, "");
    std::vector<std::string> inBin;
    for (const auto& e : fs::directory_iterator(tmp.path() / "bin"))
        inBin.push_back(e.path().filename().string());
    EXPECT_EQ(inBin, std::vector<std::string>{"ferrovane"});

    tmp.write("bin/Wave.dat", "False\r\n1\r\n");
    const DataHome other = PrepareDataHome(tmp.path() / "bin", tmp.path() / "other", true);
    EXPECT_EQ(tmp.read("other/Wave.dat"), "False\r\n1\r\n");
    EXPECT_EQ(other.notice.rfind("Ferrovane is installed in " + (tmp.path() / "bin").string(), 0),
              0u)
        << other.notice;
}

} // namespace
} // namespace ferrovane
