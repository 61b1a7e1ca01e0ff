// Switching the window's texts between English and German.
#include <gtest/gtest.h>

#include "app/apply_language.h"
#include "app/menu_layout.h"
#include "channels/channel_button_hint.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

struct ApplyLanguageTest : ::testing::Test {
    MainView view;
    StartButtonView start;
    RecordingState recording;
    Options options;
    ChannelTable channels;
    LanguageContext context{true, "kestrum", "/opt/k", "Protocol.rtf"};

    ApplyLanguageTest() { SetFixedCaptions(view); }

    void Apply(int language) {
        options.Language = language;
        ApplyLanguage(view, start, recording, options, channels, context);
    }
};

TEST_F(ApplyLanguageTest, MenuCaptionsInBothMenusFollowTheLanguage) {
    Apply(kLanguageGerman);
    EXPECT_EQ(view.Item("MainMenuSettingsDumpOnCrChar").Caption, "Zeile nach Empfang eines CR-Zeichens ausgeben");
    EXPECT_EQ(view.Item("RichEditPopupMenuDumpOnCrChar").Caption, "Zeile nach Empfang eines CR-Zeichens ausgeben");
    EXPECT_EQ(view.HelpFilePath, "/opt/k/German.HLP");
    Apply(kLanguageEnglish);
    EXPECT_EQ(view.Item("MainMenuSettingsDumpOnCrChar").Caption, "Dump protocol line on receiving a CR character");
    EXPECT_EQ(view.Item("RichEditPopupMenuDumpOnCrChar").Caption, "Dump protocol line on receiving a CR character");
    EXPECT_EQ(view.HelpFilePath, "/opt/k/English.HLP");
    // Every pop-up twin has its main item's caption, and none is empty.
    for (const MenuTwin& twin : SettingsMenuTwins()) {
        EXPECT_FALSE(view.Item(twin.PopupItem).Caption.empty()) << twin.PopupItem;
        EXPECT_EQ(view.Item(twin.PopupItem).Caption, view.Item(twin.MainItem).Caption) << twin.PopupItem;
    }
}

TEST_F(ApplyLanguageTest, ChannelSubmenusFollowTheFirst) {
    Apply(kLanguageGerman);
    for (int n = 2; n <= 8; ++n) {
        for (const std::string& suffix : ChannelSubmenuSuffixes())
            EXPECT_EQ(view.Item(ChannelMenuItem(n, suffix)).Caption, view.Item(ChannelMenuItem(1, suffix)).Caption);
    }
    EXPECT_EQ(view.Item(ChannelMenuItem(8, "TriggerWord")).Caption, "Trigger-&Wort");
}

TEST_F(ApplyLanguageTest, ButtonTextsAndCaption) {
    Apply(kLanguageEnglish);
    EXPECT_EQ(view.Clear.Caption, "Clear");
    EXPECT_EQ(view.Clear.Hint, "Clear protocol");
    EXPECT_EQ(view.Trigger.Hint, "Activate trigger");
    EXPECT_EQ(view.WindowCaption, " kestrum - Protocol.rtf");
    EXPECT_EQ(view.CancelCaption, "Cancel");
    options.TriggerOn = true;
    Apply(kLanguageGerman);
    EXPECT_EQ(view.Clear.Caption, "L\xF6schen");
    EXPECT_EQ(view.Trigger.Hint, "Trigger deaktivieren");
    EXPECT_EQ(view.CancelCaption, "Abbrechen");
}

TEST_F(ApplyLanguageTest, SyncHintOfMasterIgnoresSynchronize) {
    options.Synchronize = true;
    Apply(kLanguageEnglish);
    EXPECT_EQ(view.Sync.Hint, LanguageText(kTextSyncDisabledMaster, kLanguageEnglish));
    context.IsMaster = false;
    Apply(kLanguageEnglish);
    EXPECT_EQ(view.Sync.Hint, LanguageText(kTextDeactivateSync, kLanguageEnglish));
    options.Synchronize = false;
    Apply(kLanguageEnglish);
    EXPECT_EQ(view.Sync.Hint, LanguageText(kTextActivateSync, kLanguageEnglish));
}

TEST_F(ApplyLanguageTest, RecordingKeepsStopShowingAndFullProtocolKeepsStartDisabled) {
    recording.Running = true;
    start.Down = true;
    Apply(kLanguageGerman);
    EXPECT_TRUE(recording.Running);
    EXPECT_TRUE(start.Down);
    EXPECT_TRUE(start.Enabled);
    EXPECT_EQ(start.CaptionRow, kTextStop);
    EXPECT_EQ(start.HintRow, kTextStopRecording);

    recording.Running = false;
    recording.ProtocolFull = true;
    Apply(kLanguageEnglish);
    EXPECT_FALSE(start.Enabled);
    EXPECT_FALSE(start.Down);
    EXPECT_EQ(start.CaptionRow, kTextStart);
    EXPECT_EQ(start.HintRow, kTextRecordingDisabled);

    recording.ProtocolFull = false;
    options.MonitorMode = false;
    Apply(kLanguageEnglish);
    EXPECT_TRUE(start.Enabled);
    EXPECT_EQ(start.HintRow, kTextStartSending);
}

TEST(ChannelButtonHint, RowsByPortState) {
    ChannelRecord record;
    record.PortName = "COM3";
    record.ChannelID = "Scale";
    record.HintSuffix = "\r(9600,8,N,1)";
    struct Case {
        bool Installed, Available, Active;
        const char* English;
        const char* German;
    };
    const Case cases[] = {
        {false, false, false, "Port COM3 not installed", "COM3-Schnittstelle nicht installiert"},
        {true, false, false, "Port COM3 not available", "COM3-Schnittstelle belegt"},
        {true, true, false, "Activate Scale port", "Scale-Schnittstelle aktivieren"},
        {true, true, true, "Deactivate Scale port", "Scale-Schnittstelle deaktivieren"},
    };
    for (const Case& c : cases) {
        record.Installed = c.Installed;
        record.Available = c.Available;
        record.Active = c.Active;
        EXPECT_EQ(ChannelButtonHint(record, 1), std::string(c.English) + "\r(9600,8,N,1)");
        EXPECT_EQ(ChannelButtonHint(record, 2), std::string(c.German) + "\r(9600,8,N,1)");
    }
    // After a click only the activate and deactivate rows are used.
    record.Installed = true;
    record.Available = false;
    record.Active = false;
    EXPECT_EQ(ChannelClickHint(record, 1), "Activate Scale port\r(9600,8,N,1)");
    record.Active = true;
    EXPECT_EQ(ChannelClickHint(record, 1), "Deactivate Scale port\r(9600,8,N,1)");
}

}  // namespace
}  // namespace kestrum
