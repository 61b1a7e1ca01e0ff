// Enabling rules, check marks and toggle commands of the Settings menu and
// the protocol's pop-up menu.
#include <gtest/gtest.h>

#include <string>

#include "app/menu_layout.h"
#include "settings/settings_menu.h"

namespace kestrum {
namespace {

bool BothEnabled(const MainView& view, const std::string& suffix) {
    const bool main = view.Item("MainMenuSettings" + suffix).Enabled;
    EXPECT_EQ(main, view.Item("RichEditPopupMenu" + suffix).Enabled) << suffix;
    return main;
}

TEST(SettingsMenu, EnablingRulesByModeAndDisplay) {
    struct Case {
        bool Monitor;
        int LogMode;
        bool Display, AsciiMonitor, AsciiAny, HexMonitor, SenderOnly;
    };
    const Case cases[] = {
        {true, 1, true, true, true, false, false},
        {true, 2, true, false, false, true, false},
        {false, 1, false, false, true, false, true},
        {false, 2, false, false, false, false, true},
    };
    for (const Case& c : cases) {
        MainView view;
        Options options;
        options.MonitorMode = c.Monitor;
        options.LogMode = c.LogMode;
        ChannelTable channels;
        ApplySettingsMenuEnabling(view, options, channels, false);
        const std::string where = "monitor " + std::to_string(c.Monitor) + " log " + std::to_string(c.LogMode);
        for (const char* s : {"ShowTriggerWords", "ShowStartStopTime", "ShowTimeTags", "ShowChannelID"})
            EXPECT_EQ(BothEnabled(view, s), c.Display) << s << ' ' << where;
        for (const char* s : {"LineWrap", "DumpOnCrChar", "DumpOnLfChar", "ShowCrChar", "ShowLfChar"})
            EXPECT_EQ(BothEnabled(view, s), c.AsciiMonitor) << s << ' ' << where;
        for (const char* s : {"SendCrStrAsCrChar", "SendLfStrAsLfChar", "AppendCrChar", "AppendLfChar"})
            EXPECT_EQ(BothEnabled(view, s), c.AsciiAny) << s << ' ' << where;
        EXPECT_EQ(BothEnabled(view, "HexLineByteCount"), c.HexMonitor) << where;
        for (const char* s : {"CommentDelimiter", "SenderModeAutoRepeat"})
            EXPECT_EQ(BothEnabled(view, s), c.SenderOnly) << s << ' ' << where;
        for (const char* s : {"UserFont", "AllFonts", "FontFixedPitchOnly", "BackgroundColor"})
            EXPECT_TRUE(BothEnabled(view, s)) << s;
    }
}

TEST(SettingsMenu, ChannelSubmenusAndPrinter) {
    MainView view;
    Options options;
    ChannelTable channels;
    channels.Channels[2].Installed = true;
    ApplySettingsMenuEnabling(view, options, channels, false);
    EXPECT_FALSE(view.Item("MainMenuSettingsChannel1").Enabled);
    EXPECT_TRUE(view.Item("MainMenuSettingsChannel2").Enabled);
    EXPECT_FALSE(view.Item("MainMenuSettingsPrinter").Enabled);
    ApplySettingsMenuEnabling(view, options, channels, true);
    EXPECT_TRUE(view.Item("MainMenuSettingsPrinter").Enabled);
}

struct ToggleTest : ::testing::Test {
    struct NullField : ProtocolField {
        int Width = 621;
        void SetAppendAttributes(const TextAttributes&) override {}
        bool AppendLine(const std::string&) override { return true; }
        bool DeleteLastLine() override { return true; }
        void Clear() override {}
        int LineCount() override { return 0; }
        std::string LineText(int) override { return {}; }
        int ClientWidth() override { return Width; }
        int PixelsPerInch() override { return 96; }
        void FocusAtEnd() override {}
    };
    Options options;
    MainView view;
    LineLayout layout;
    ChannelTable channels;
    NullField field;
    SettingsCommandContext context{options, view, layout, channels, field};
};

TEST_F(ToggleTest, EveryToggleStoresTheCheckStateFromEitherMenu) {
    for (const OptionToggle& toggle : OptionToggles()) {
        const std::string main = "MainMenuSettings" + std::string(toggle.Suffix);
        const std::string popup = "RichEditPopupMenu" + std::string(toggle.Suffix);
        ASSERT_EQ(FindOptionToggle(main), &toggle) << main;
        EXPECT_EQ(FindOptionToggle(popup), toggle.HasPopupTwin ? &toggle : nullptr) << popup;
        const bool before = options.*toggle.Field;
        toggle.Handler(context, !before);
        EXPECT_EQ(options.*toggle.Field, !before) << main;
        toggle.Handler(context, before);
        EXPECT_EQ(options.*toggle.Field, before) << main;
    }
    EXPECT_EQ(FindOptionToggle("MainMenuSettingsPrinter"), nullptr);
    EXPECT_EQ(FindOptionToggle("SomethingElse"), nullptr);
}

TEST_F(ToggleTest, PopupToggleShowsInTheMainMenuWhenItOpens) {
    options.ShowTimeTags = false;
    SetSettingsMenuChecks(view, options);
    EXPECT_FALSE(view.Item("MainMenuSettingsShowTimeTags").Checked);
    FindOptionToggle("RichEditPopupMenuShowTimeTags")->Handler(context, true);
    MainMenuSettingsOnClick(view, options, channels, false);
    EXPECT_TRUE(view.Item("MainMenuSettingsShowTimeTags").Checked);
    EXPECT_TRUE(view.Item("RichEditPopupMenuShowTimeTags").Checked);
}

TEST_F(ToggleTest, DumpOnCrChecksBothItemsAtOnce) {
    const unsigned before = view.Revision;
    MainMenuSettingsDumpOnCrCharOnClick(context, true);
    EXPECT_TRUE(options.DumpOnCr);
    EXPECT_TRUE(view.Item("MainMenuSettingsDumpOnCrChar").Checked);
    EXPECT_TRUE(view.Item("RichEditPopupMenuDumpOnCrChar").Checked);
    EXPECT_NE(view.Revision, before);
}

TEST_F(ToggleTest, LineWrapRecomputesTheLineLength) {
    channels.Fonts[kUserEntry].FontSize = 15;  // 20 pixels at 96 dpi
    MainMenuSettingsLineWrapOnClick(context, true);
    EXPECT_EQ(layout.MaxLineLength, 50);  // ((621 - 21) * 5) div 60
    MainMenuSettingsLineWrapOnClick(context, false);
    EXPECT_EQ(layout.MaxLineLength, 255);
}

TEST_F(ToggleTest, LanguageItemsFormARadioPair) {
    options.Language = 2;
    SetSettingsMenuChecks(view, options);
    EXPECT_TRUE(view.Item("MainMenuSettingsLanguageGerman").Checked);
    EXPECT_FALSE(view.Item("MainMenuSettingsLanguageEnglish").Checked);
}

}  // namespace
}  // namespace kestrum
