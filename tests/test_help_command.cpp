// Help: where the help file is looked for, which one is shown, and the
// message when there is none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/help_command.h"
#include "fakes/fake_settings_dialogs.h"
#include "fakes/recording_message_boxes.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

using test::ScratchFolder;
using test::WriteFileBytes;

TEST(HelpCommand, FileCandidates) {
    const struct {
        const char* Name;
        std::string Path;
        std::vector<std::string> Candidates;
    } cases[] = {
        {"installed program", "/usr/bin/English.HLP", {"/usr/bin/English.HLP", "/usr/share/kestrum/English.HLP"}},
        {"build tree",
         "/home/u/kestrum/build/German.HLP",
         {"/home/u/kestrum/build/German.HLP", "/home/u/kestrum/share/kestrum/German.HLP"}},
        {"program at the root", "/English.HLP", {"/English.HLP", "/share/kestrum/English.HLP"}},
        {"no folder", "English.HLP", {"English.HLP"}},
    };
    for (const auto& c : cases) EXPECT_EQ(HelpFileCandidates(c.Path), c.Candidates) << c.Name;
}

struct HelpTest : ::testing::Test {
    ScratchFolder folder;
    std::string helpFilePath = folder / "bin/English.HLP";
    int language = 1;
    std::string exeBaseName = "kestrum";
    fakes::FakeHelpViewer viewer;
    RecordingMessageBoxes messages;
    ScreenPoint origin{30, 40};
    HelpContext context{helpFilePath, language, exeBaseName, viewer, messages, origin};
};

TEST_F(HelpTest, BesideTheProgramComesFirst) {
    WriteFileBytes(folder / "bin/English.HLP", "<html></html>");
    WriteFileBytes(folder / "share/kestrum/English.HLP", "<html></html>");
    MainMenuHelpOnClick(context);
    EXPECT_EQ(viewer.Shown, std::vector<std::string>{helpFilePath});
    EXPECT_TRUE(messages.Boxes.empty());
}

TEST_F(HelpTest, TheInstalledDataFolderIsNext) {
    WriteFileBytes(folder / "share/kestrum/English.HLP", "<html></html>");
    MainMenuHelpOnClick(context);
    EXPECT_EQ(viewer.Shown, std::vector<std::string>{folder / "share/kestrum/English.HLP"});
}

TEST_F(HelpTest, AMissingFileIsNamedWithTheFoldersLookedIn) {
    std::filesystem::create_directories(folder / "bin/German.HLP");  // a folder is no help file
    const struct {
        const char* Name;
        int Language;
        std::string File;
        std::string Text;
    } cases[] = {
        {"English", 1, "English.HLP", "The help file English.HLP was not found.\rIt was looked for in:\r"},
        {"German", 2, "German.HLP", "Die Hilfedatei German.HLP wurde nicht gefunden.\rGesucht wurde in:\r"},
    };
    for (const auto& c : cases) {
        helpFilePath = folder / ("bin/" + c.File);
        language = c.Language;
        messages = RecordingMessageBoxes();
        MainMenuHelpOnClick(context);
        EXPECT_TRUE(viewer.Shown.empty()) << c.Name;
        ASSERT_EQ(messages.Calls, (std::vector<std::string>{"beep", "box"})) << c.Name;
        const auto& box = messages.Boxes[0];
        EXPECT_EQ(box.Kind, MessageKind::Warning) << c.Name;
        EXPECT_EQ(box.Caption, "kestrum") << c.Name;
        EXPECT_EQ(box.Origin, origin) << c.Name;
        EXPECT_EQ(box.Text, c.Text + (folder / "bin") + "\r" + (folder / "share/kestrum")) << c.Name;
    }
}

TEST_F(HelpTest, AnUnreadableFileCountsAsMissing) {
    WriteFileBytes(helpFilePath, "<html></html>");
    viewer.Readable = false;
    MainMenuHelpOnClick(context);
    EXPECT_EQ(messages.Boxes.size(), 1u);
}

}  // namespace
}  // namespace kestrum
