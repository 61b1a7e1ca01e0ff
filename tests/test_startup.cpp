#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fakes/fake_instance_markers.h"
#include "fakes/recording_message_boxes.h"
#include "platform/file_sync.h"
#include "support/child_process.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class StartupTest : public ::testing::Test {
protected:
    StartupInputs Inputs(unsigned languageId = 0x0409) const {
        StartupInputs inputs;
        inputs.ProgramPath = programDir_ + "/kestrum";
        inputs.AppDataFolder = appData_;
        inputs.SyncToDisk = SyncToDisk;
        inputs.Locale.LanguageId = languageId;
        return inputs;
    }
    std::string SettingsPath() const { return appData_ + "/Tannbrook/kestrum/kestrum.ini"; }

    test::TempFolder folder_;
    std::string appData_ = folder_.Path() + "/config";
    std::string programDir_ = folder_.Path() + "/bin";
    FakeInstanceMarkers markers_;
    RecordingMessageBoxes messages_;
};

TEST_F(StartupTest, FreshStartIsTheMasterWithDefaultsAndItsSettingsFolder) {
    fs::create_directories(programDir_);
    StartupState state = StartUp(Inputs(), markers_);
    EXPECT_EQ(state.Instance.Number, 1);
    EXPECT_TRUE(state.Instance.IsMaster);
    EXPECT_TRUE(markers_.Exists("kestrum1"));
    EXPECT_EQ(state.Files.ExeBaseName, "kestrum");
    EXPECT_EQ(state.Files.SettingsFilePath, SettingsPath());
    EXPECT_TRUE(fs::is_directory(appData_ + "/Tannbrook/kestrum"));
    EXPECT_FALSE(fs::exists(SettingsPath()));  // written only at the end
    EXPECT_EQ(state.LocaleLanguage, 1);
    EXPECT_EQ(state.Settings.Language, 1);
    EXPECT_EQ(state.HelpFilePath, programDir_ + "/English.HLP");
    EXPECT_EQ(state.Settings, Options{});
}

TEST_F(StartupTest, StartLanguageFromLocaleAndFromTheFile) {
    struct Case {
        unsigned LanguageId;
        const char* File;  // settings file content, or nullptr for none
        int Language;
        const char* Help;
    };
    const Case cases[] = {
        {0x0C07, nullptr, 2, "German.HLP"},                 // German (Austria)
        {0x040C, nullptr, 1, "English.HLP"},                // French (France)
        {0x0409, "[General]\nLanguage=2\n", 2, "German.HLP"},
        {0x0407, "[General]\nLanguage=1\n", 1, "English.HLP"},
        {0x0407, "[General]\nLanguage=5\n", 2, "German.HLP"},
    };
    for (const Case& c : cases) {
        fs::remove_all(appData_);
        if (c.File != nullptr) {
            fs::create_directories(appData_ + "/Tannbrook/kestrum");
            std::ofstream(SettingsPath()) << c.File;
        }
        FakeInstanceMarkers markers;
        const StartupState state = StartUp(Inputs(c.LanguageId), markers);
        EXPECT_EQ(state.Settings.Language, c.Language) << std::hex << c.LanguageId;
        EXPECT_EQ(state.HelpFilePath, programDir_ + "/" + c.Help) << std::hex << c.LanguageId;
    }
}

TEST_F(StartupTest, MasterWritesPlacementSecondInstanceWritesSynchronize) {
    StartupState master = StartUp(Inputs(), markers_);
    StartupState second = StartUp(Inputs(), markers_);
    ASSERT_EQ(second.Instance.Number, 2);
    EXPECT_FALSE(second.Instance.IsMaster);

    second.Settings.Synchronize = true;
    EXPECT_TRUE(ShutDown(second, markers_, messages_, {}));
    std::string text = ReadWhole(SettingsPath());
    EXPECT_NE(text.find("[General]"), std::string::npos);
    EXPECT_NE(text.find("Synchronize=1"), std::string::npos);
    EXPECT_EQ(text.find("[FormMain]"), std::string::npos);
    EXPECT_FALSE(markers_.Exists("kestrum2"));
    EXPECT_TRUE(markers_.Exists("kestrum1"));

    EXPECT_TRUE(ShutDown(master, markers_, messages_, {}));
    text = ReadWhole(SettingsPath());
    EXPECT_NE(text.find("[FormMain]"), std::string::npos);
    EXPECT_NE(text.find("Synchronize=1"), std::string::npos);  // kept from instance 2
    EXPECT_EQ(markers_.OpenHandleCount(), 0u);
    EXPECT_TRUE(messages_.Boxes.empty());
}

// Records whether the settings file was there when the marker closed.
class OrderCheckingMarkers : public FakeInstanceMarkers {
public:
    std::string Path;
    std::vector<bool> FileExistedAtClose;
    bool CloseHandle(MarkerHandle handle) override {
        FileExistedAtClose.push_back(fs::exists(Path));
        return FakeInstanceMarkers::CloseHandle(handle);
    }
};

TEST_F(StartupTest, ShutDownWritesBeforeReleasingAndRunsOnce) {
    OrderCheckingMarkers markers;
    markers.Path = SettingsPath();
    StartupState state = StartUp(Inputs(), markers);
    EXPECT_TRUE(ShutDown(state, markers, messages_, {}));
    EXPECT_EQ(markers.FileExistedAtClose, std::vector<bool>{true});
    EXPECT_TRUE(state.ShutDownDone);

    fs::remove(SettingsPath());
    EXPECT_FALSE(ShutDown(state, markers, messages_, {}));
    EXPECT_FALSE(fs::exists(SettingsPath()));
    EXPECT_EQ(markers.FileExistedAtClose.size(), 1u);
}

TEST_F(StartupTest, AFailedWriteIsShownAndTheNumberIsStillReleased) {
    StartupState state = StartUp(Inputs(), markers_);
    fs::create_directories(SettingsPath());  // a folder where the file should be
    EXPECT_FALSE(ShutDown(state, markers_, messages_, {40, 50}));
    ASSERT_EQ(messages_.Boxes.size(), 1u);
    EXPECT_EQ(messages_.Boxes[0].Origin, (ScreenPoint{40, 50}));
    EXPECT_EQ(markers_.OpenHandleCount(), 0u);
}

TEST_F(StartupTest, CopiesUnderOtherNamesAreSeparateFamilies) {
    StartupInputs a = Inputs();
    a.ProgramPath = programDir_ + "/a.exe";
    StartupInputs b = Inputs();
    b.ProgramPath = programDir_ + "/b.exe";
    const StartupState first = StartUp(a, markers_);
    const StartupState second = StartUp(b, markers_);
    EXPECT_EQ(first.Instance.Number, 1);
    EXPECT_EQ(second.Instance.Number, 1);
    EXPECT_EQ(first.Files.SettingsFilePath, appData_ + "/Tannbrook/a/a.ini");
    EXPECT_EQ(second.Files.SettingsFilePath, appData_ + "/Tannbrook/b/b.ini");
    EXPECT_EQ(ProgramBaseName("/opt/kestrum/kestrum"), "kestrum");
    EXPECT_EQ(ProgramBaseName("/x/y.z/analyser.exe"), "analyser");
}

TEST_F(StartupTest, TheTwoHundredFiftySeventhStartsAsNumberZero) {
    for (int i = 1; i <= 256; ++i) StartUp(Inputs(), markers_);
    StartupState extra = StartUp(Inputs(), markers_);
    EXPECT_EQ(extra.Instance.Number, 0);
    EXPECT_FALSE(extra.Instance.IsMaster);
    EXPECT_EQ(extra.Files.SettingsFilePath, SettingsPath());
    EXPECT_TRUE(ShutDown(extra, markers_, messages_, {}));
    const std::string text = ReadWhole(SettingsPath());
    EXPECT_EQ(text.find("[FormMain]"), std::string::npos);
    EXPECT_EQ(text.find("Synchronize"), std::string::npos);  // only instances above 1
}

}  // namespace
}  // namespace kestrum
