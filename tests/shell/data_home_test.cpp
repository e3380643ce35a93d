#include "shell/data_home.h"

#include <gtest/gtest.h>

#include <fstream>

#include "shell/example_files.h"
#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::TempDir;

TEST(DataHome, AWritableProgramFolderIsUsedAndCleanedOfDeadTemporaries) {
    TempDir tmp;
    tmp.write(".VoltDiv.DAT.tmp999999999-0", "Fal");
    const DataHome home = PrepareDataHome(tmp.path(), tmp.path() / "user");
    EXPECT_EQ(home.dir.path(), tmp.path());
    EXPECT_TRUE(home.notice.empty());
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / ".VoltDiv.DAT.tmp999999999-0"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "user"));
}

TEST(DataHome, AnUnwritableProgramFolderSendsTheFilesToTheUserFolder) {
    TempDir tmp;
    tmp.write("plain", "x");
    const DataHome home = PrepareDataHome(tmp.path() / "plain" / "bin", tmp.path() / "user");
    EXPECT_EQ(home.dir.path(), tmp.path() / "user");
    EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "user"));
    EXPECT_TRUE(home.notice.empty()); // nothing to take over: nothing said
}

TEST(DataHome, ANewUserFolderTakesOverTheProgramFoldersFilesOnce) {
    TempDir tmp;
    const auto program = tmp.path() / "program", user = tmp.path() / "home" / "Ferrovane";
    std::filesystem::create_directory(program);
    std::ofstream(program / "voltdiv.dat", std::ios::binary) << "False\r\n1 k\r\n";
    std::ofstream(program / "Wave.dat", std::ios::binary) << "False\r\n\xB0\r\n";
    std::ofstream(program / "notes.txt", std::ios::binary) << "not ours";
    const DataHome home = PrepareUserFolder(program, user);
    EXPECT_EQ(home.dir.path(), user);
    EXPECT_NE(home.notice.find("2 data files were copied"), std::string::npos) << home.notice;
    EXPECT_EQ(tmp.read("home/Ferrovane/voltdiv.dat"), "False\r\n1 k\r\n");
    EXPECT_EQ(tmp.read("home/Ferrovane/Wave.dat"), "False\r\n\xB0\r\n");
    EXPECT_FALSE(std::filesystem::exists(user / "notes.txt"));
    // The files it lacked hold their examples, so start-up writes nothing over
    // the ones taken over.
    for (const ExampleFile& file : exampleFiles())
        EXPECT_EQ(home.dir.readFields(file.name, 1)->front(),
                  file.name == "VoltDiv.DAT" || file.name == "Wave.dat" ? "False"
                  : file.flagLine                                       ? "True"
                                                                        : file.fields.front())
            << file.name;
    // Once made, the folder is the user's: nothing is taken over again.
    std::ofstream(user / "voltdiv.dat", std::ios::binary) << "False\r\n2 k\r\n";
    EXPECT_TRUE(PrepareUserFolder(program, user).notice.empty());
    EXPECT_EQ(tmp.read("home/Ferrovane/voltdiv.dat"), "False\r\n2 k\r\n");
}

} // namespace
} // namespace ferrovane
