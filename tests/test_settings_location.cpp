#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/app_data.h"
#include "settings/settings_location.h"
#include "support/scratch_folder.h"

using namespace kestrum;
using kestrum::test::ReadFileBytes;
using kestrum::test::ScratchFolder;
using kestrum::test::WriteFileBytes;
namespace fs = std::filesystem;

namespace {

struct LocationTest : ::testing::Test {
    ScratchFolder temp;
    std::string program = temp / "bin/Kestrum.exe";
    std::string besideProgram = temp / "bin/Kestrum.ini";
    std::string appData = temp / "appdata";
    std::string inFolder = temp / "appdata/Tannbrook/Kestrum/Kestrum.ini";
};

}  // namespace

TEST_F(LocationTest, SplitsTheProgramPathAndCreatesTheSettingsFolder) {
    const ProgramFiles files = LocateSettingsFile(program, appData);
    EXPECT_EQ(files.ExeBaseName, "Kestrum");
    EXPECT_EQ(files.ExeDirectory, temp / "bin/");
    EXPECT_EQ(files.SettingsFilePath, inFolder);
    EXPECT_TRUE(fs::is_directory(temp / "appdata/Tannbrook/Kestrum"));
    EXPECT_FALSE(fs::exists(inFolder));  // the file itself comes at the end of the run

    const ProgramFiles plain = LocateSettingsFile(temp / "bin/kestrum", appData);
    EXPECT_EQ(plain.ExeBaseName, "kestrum");
    EXPECT_EQ(plain.SettingsFilePath, temp / "appdata/Tannbrook/kestrum/kestrum.ini");
}

TEST_F(LocationTest, FallsBackBesideTheProgram) {
    // Blank application-data folder.
    for (const char* blank : {"", "   "}) {
        EXPECT_EQ(LocateSettingsFile(program, blank).SettingsFilePath, besideProgram);
    }
    EXPECT_EQ(LocateSettingsFile(temp / "bin/kestrum", "").SettingsFilePath, temp / "bin/kestrum.ini");
    // A file stands where the settings folder should be.
    WriteFileBytes(temp / "appdata/Tannbrook", "not a folder");
    EXPECT_EQ(LocateSettingsFile(program, appData).SettingsFilePath, besideProgram);
    EXPECT_EQ(ReadFileBytes(temp / "appdata/Tannbrook"), "not a folder");
}

TEST_F(LocationTest, OldFileBesideTheProgramIsCopiedOnceAndLeftAlone) {
    WriteFileBytes(besideProgram, "[General]\nLogMode=2\n");
    EXPECT_EQ(LocateSettingsFile(program, appData).SettingsFilePath, inFolder);
    EXPECT_EQ(ReadFileBytes(inFolder), "[General]\nLogMode=2\n");
    EXPECT_EQ(ReadFileBytes(besideProgram), "[General]\nLogMode=2\n");

    // Later runs use their own file; the old one is neither read nor changed.
    WriteFileBytes(inFolder, "[General]\nLogMode=1\n");
    WriteFileBytes(besideProgram, "[General]\nLogMode=2\nChanged=1\n");
    EXPECT_EQ(LocateSettingsFile(program, appData).SettingsFilePath, inFolder);
    EXPECT_EQ(ReadFileBytes(inFolder), "[General]\nLogMode=1\n");
    EXPECT_EQ(ReadFileBytes(besideProgram), "[General]\nLogMode=2\nChanged=1\n");
}

TEST(ApplicationDataFolder, ConfigHomeThenHomeThenNothing) {
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string config = savedConfig ? savedConfig : "";
    const std::string home = savedHome ? savedHome : "";

    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(ApplicationDataFolder(), "/cfg");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(ApplicationDataFolder(), "/home/u/.config");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ApplicationDataFolder(), "/home/u/.config");
    unsetenv("HOME");
    EXPECT_EQ(ApplicationDataFolder(), "");

    if (savedConfig) setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    if (savedHome) setenv("HOME", home.c_str(), 1);
}
