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
    const DataHome home = PrepareDataHome(tmp.path(), tmp.path() / "user");
    EXPECT_EQ(home.dir.path(), tmp.path());
    EXPECT_FALSE(fs::exists(tmp.path() / ".VoltDiv.DAT.tmp999999999-0"));
    EXPECT_FALSE(fs::exists(tmp.path() / "user"));
    tmp.write("plain", "x");
    const DataHome user = PrepareDataHome(tmp.path() / "plain" / "bin", tmp.path() / "user");
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
    const DataHome home = PrepareUserFolder(tmp.path() / "program", user);
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
    EXPECT_TRUE(PrepareUserFolder(tmp.path() / "program", user).notice.empty());
    EXPECT_EQ(tmp.read("home/Ferrovane/voltdiv.dat"), "False\r\n2 k\r\n");
}

} // namespace
} // namespace ferrovane
