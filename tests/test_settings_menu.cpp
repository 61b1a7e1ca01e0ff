// Enabling rules, check marks and toggle commands of the Settings menu and
// the protocol's pop-up menu, through the command table.
#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_protocol_field.h"
#include "settings/commands/settings_menu.h"

namespace kestrum {
namespace {

struct SettingsMenuTest : ::testing::Test {
    Options options;
    LineLayout layout;
    ChannelTable channels;
    fakes::FakeProtocolField field;
    bool printer = false;
    int languageApplied = 0;
    SettingsCommandContext context{options, layout, channels, field, printer, [this] { ++languageApplied; }};
    CommandTable table;
    MainView view;

    SettingsMenuTest() {
        field.Width = 621;
        AddSettingsCommands(table, context);
    }
    // The rule of an item, which its pop-up twin must share.
    bool Allowed(const std::string& suffix) {
        const Command* main = table.Find("MainMenuSettings" + suffix);
        EXPECT_NE(main, nullptr) << suffix;
        if (main == nullptr) return false;
        const bool allowed = !main->Enabled || main->Enabled();
        if (const Command* twin = table.Find("RichEditPopupMenu" + suffix)) {
            EXPECT_EQ(!twin->Enabled || twin->Enabled(), allowed) << suffix;
        }
        return allowed;
    }
    void Click(const std::string& name, bool checked, int tag = 0) {
        ASSERT_TRUE(table.Execute(name, {checked, tag})) << name;
    }
};

TEST_F(SettingsMenuTest, EnablingRulesByModeAndDisplay) {
    struct Case {
        bool Monitor;
        LogMode Mode;
        bool Display, AsciiMonitor, AsciiAny, HexMonitor, SenderOnly;
    };
    const Case cases[] = {
        {true, LogMode::Ascii, true, true, true, false, false},
        {true, LogMode::Hex, true, false, false, true, false},
        {false, LogMode::Ascii, false, false, true, false, true},
        {false, LogMode::Hex, false, false, false, false, true},
    };
    for (const Case& c : cases) {
        options.MonitorMode = c.Monitor;
        options.LogMode = c.Mode;
        SCOPED_TRACE("monitor " + std::to_string(c.Monitor) + " log " + std::to_string(static_cast<int>(c.Mode)));
        for (const char* s : {"ShowTriggerWords", "ShowStartStopTime", "ShowTimeTags", "ShowChannelID"})
            EXPECT_EQ(Allowed(s), c.Display) << s;
        for (const char* s : {"LineWrap", "DumpOnCrChar", "DumpOnLfChar", "ShowCrChar", "ShowLfChar"})
            EXPECT_EQ(Allowed(s), c.AsciiMonitor) << s;
        for (const char* s : {"SendCrStrAsCrChar", "SendLfStrAsLfChar", "AppendCrChar", "AppendLfChar"})
            EXPECT_EQ(Allowed(s), c.AsciiAny) << s;
        EXPECT_EQ(Allowed("HexLineByteCount"), c.HexMonitor);
        for (const char* s : {"CommentDelimiter", "SenderModeAutoRepeat"}) EXPECT_EQ(Allowed(s), c.SenderOnly) << s;
        for (const char* s : {"UserFont", "AllFonts", "FontFixedPitchOnly", "BackgroundColor"})
            EXPECT_TRUE(Allowed(s)) << s;
    }
}

TEST_F(SettingsMenuTest, PrinterNeedsAPrinterAndDialogItemsWaitForTheirDialogs) {
    EXPECT_FALSE(Allowed("Printer"));
    printer = true;
    EXPECT_TRUE(Allowed("Printer"));
    // Items whose dialogs are not built keep their rules but stay disabled.
    for (const char* item : {"MainMenuSettingsPrinter", "MainMenuSettingsUserFont", "RichEditPopupMenuAllFonts",
                             "MainMenuSettingsInputLineMaxHistoryCount"}) {
        EXPECT_FALSE(table.IsEnabled(item)) << item;
        EXPECT_FALSE(table.Execute(item, {})) << item;
    }
}

TEST_F(SettingsMenuTest, EveryToggleStoresTheCheckStateFromEitherMenuAndShowsItInBoth) {
    const struct {
        const char* Suffix;
        bool Options::*Field;
        bool HasTwin;
    } toggles[] = {
        {"FontFixedPitchOnly", &Options::FontFixedPitchOnly, true},
        {"AutoDetectDeviceChanges", &Options::AutoDetectDeviceChanges, false},
        {"LineWrap", &Options::LineWrap, true},
        {"ShowTriggerWords", &Options::ShowTriggerWords, true},
        {"ShowStartStopTime", &Options::ShowStartStopTime, true},
        {"ShowTimeTags", &Options::ShowTimeTags, true},
        {"ShowChannelID", &Options::ShowChannelId, true},
        {"DumpOnCrChar", &Options::DumpOnCr, true},
        {"DumpOnLfChar", &Options::DumpOnLf, true},
        {"ShowCrChar", &Options::ShowCrChar, true},
        {"ShowLfChar", &Options::ShowLfChar, true},
        {"SendCrStrAsCrChar", &Options::SendCrStrAsCrChar, true},
        {"SendLfStrAsLfChar", &Options::SendLfStrAsLfChar, true},
        {"AppendCrChar", &Options::AppendCrChar, true},
        {"AppendLfChar", &Options::AppendLfChar, true},
        {"SenderModeAutoRepeat", &Options::SenderModeAutoRepeat, true},
        {"HighlightInputLine", &Options::HighlightInputLine, false},
        {"SaveSettings", &Options::SaveSettings, false},
    };
    for (const auto& toggle : toggles) {
        const std::string main = "MainMenuSettings" + std::string(toggle.Suffix);
        const std::string popup = "RichEditPopupMenu" + std::string(toggle.Suffix);
        EXPECT_EQ(table.Find(popup) != nullptr, toggle.HasTwin) << popup;
        for (const std::string& item : toggle.HasTwin ? std::vector{main, popup} : std::vector{main}) {
            // Sender-only and monitor-only items: in the mode that allows them.
            options.MonitorMode = toggle.Suffix != std::string("SenderModeAutoRepeat");
            const bool before = options.*toggle.Field;
            Click(item, !before);
            EXPECT_EQ(options.*toggle.Field, !before) << item;
            table.ShowStates(view);
            EXPECT_EQ(view.Item(main).Checked, !before) << item;
            if (toggle.HasTwin) {
                EXPECT_EQ(view.Item(popup).Checked, !before) << item;
            }
            Click(item, before);
            EXPECT_EQ(options.*toggle.Field, before) << item;
        }
    }
}

TEST_F(SettingsMenuTest, LineWrapRecomputesTheLineLength) {
    channels.Fonts[kUserEntry].FontSize = 15;  // 20 pixels at 96 dpi
    Click("MainMenuSettingsLineWrap", true);
    EXPECT_EQ(layout.MaxLineLength, 50);  // ((621 - 21) * 5) div 60
    Click("RichEditPopupMenuLineWrap", false);
    EXPECT_EQ(layout.MaxLineLength, 255);
}

TEST_F(SettingsMenuTest, LanguageItemsFormARadioPairAndApplyTheLanguage) {
    Click("MainMenuSettingsLanguageGerman", true, 2);
    EXPECT_EQ(options.Language, 2);
    EXPECT_EQ(languageApplied, 1);
    table.ShowStates(view);
    EXPECT_TRUE(view.Item("MainMenuSettingsLanguageGerman").Checked);
    EXPECT_FALSE(view.Item("MainMenuSettingsLanguageEnglish").Checked);
    Click("MainMenuSettingsLanguageEnglish", true, 1);
    EXPECT_EQ(options.Language, 1);
    table.ShowStates(view);
    EXPECT_TRUE(view.Item("MainMenuSettingsLanguageEnglish").Checked);
}

}  // namespace
}  // namespace kestrum
