// The channel commands: the mouse chords on the buttons, the channel pop-up
// menu, the submenu items, and the font, channel ID and configuration
// dialogs, through the command table and the mouse-down handler.
#include <gtest/gtest.h>

#include "channels/channel_button_click.h"
#include "channels/channel_commands.h"
#include "channels/port_operations.h"
#include "channels/trigger_fields.h"
#include "fakes/fake_channel_dialogs.h"
#include "fakes/fake_protocol_field.h"
#include "fakes/fake_serial_ports.h"
#include "fakes/recording_message_boxes.h"
#include "settings/commands/settings_menu.h"

namespace kestrum {
namespace {

using fakes::ScriptedFontDialog;
using fakes::ScriptedInputBox;
using fakes::ScriptedPortDialog;

constexpr KeyModifiers kNoKeys{};
constexpr KeyModifiers kShift{true, false, false};
constexpr KeyModifiers kCtrl{false, true, false};
constexpr KeyModifiers kAlt{false, false, true};
constexpr KeyModifiers kShiftCtrl{true, true, false};
constexpr KeyModifiers kShiftAlt{true, false, true};
constexpr KeyModifiers kCtrlAlt{false, true, true};
constexpr KeyModifiers kAll{true, true, true};

TEST(ChannelChords, EveryChordInBothModes) {
    struct Row {
        const char* Name;
        MouseButton Button;
        KeyModifiers Keys;
        ChannelChord Monitor, Sender;
    };
    using C = ChannelChord;
    const Row rows[] = {
        {"right", MouseButton::Right, kNoKeys, C::ShowPopupMenu, C::ConfigurationDialog},
        {"right+Shift", MouseButton::Right, kShift, C::ToggleAutoReset, C::None},
        {"right+Alt", MouseButton::Right, kAlt, C::ToggleTrigger, C::None},
        {"right+Shift+Alt", MouseButton::Right, kShiftAlt, C::TriggerWordDialog, C::None},
        {"right+Ctrl", MouseButton::Right, kCtrl, C::SendOrBeep, C::None},
        {"right+Shift+Ctrl", MouseButton::Right, kShiftCtrl, C::ConfigurationDialog, C::None},
        {"right+Ctrl+Alt", MouseButton::Right, kCtrlAlt, C::FontDialog, C::None},
        {"right+Shift+Ctrl+Alt", MouseButton::Right, kAll, C::ChannelIdDialog, C::None},
        {"middle", MouseButton::Middle, kNoKeys, C::Send, C::None},
        {"middle+Ctrl", MouseButton::Middle, kCtrl, C::None, C::None},
        {"middle+Shift", MouseButton::Middle, kShift, C::None, C::None},
        {"left", MouseButton::Left, kNoKeys, C::None, C::None},
        {"left+Ctrl", MouseButton::Left, kCtrl, C::None, C::None},
        {"left+Shift+Alt", MouseButton::Left, kShiftAlt, C::None, C::None},
        {"other button", MouseButton::Other, kNoKeys, C::None, C::None},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ChannelChordName(row.Monitor), ChannelChordName(ChannelChordOf(row.Button, row.Keys, true)))
            << row.Name << " in monitor mode";
        EXPECT_EQ(ChannelChordName(row.Sender), ChannelChordName(ChannelChordOf(row.Button, row.Keys, false)))
            << row.Name << " in sender mode";
    }
}

struct ChannelCommandsTest : ::testing::Test {
    Options options;
    ChannelTable channels;
    MainView view;
    fakes::FakeSerialPorts ports;
    RecordingMessageBoxes messages;
    fakes::FakeProtocolField field;
    ScreenPoint origin{30, 40};
    std::string exeBaseName = "kestrum";
    bool running = false;
    ChannelMenuState menuState;
    ScriptedPortDialog portDialog;
    ScriptedFontDialog fontDialog;
    ScriptedInputBox inputBox;
    ChannelCommandContext context{options,     channels, view,      ports,       messages,    field,    origin,
                                  exeBaseName, running,  menuState, &portDialog, &fontDialog, &inputBox};
    CommandTable table;
    std::vector<int> sent;
    int lineLengthUpdates = 0;

    ChannelCommandsTest() {
        for (int n = 1; n <= 4; ++n) ports.Port("COM" + std::to_string(n));
        for (int n = 1; n <= 4; ++n) channels.Channels[n].Device = "/dev/ttyX" + std::to_string(n);
        OpenPortsAtStartup(channels, options, ports);
        for (int n = 1; n <= 8; ++n) ShowChannelButton(view, channels, options, n);
        context.LineLengthChanged = [this] { ++lineLengthUpdates; };
        AddChannelCommands(table, context);
    }
    void Activate(int n) {
        OpenPort(channels, n, ports);
        channels.Channel(n).Active = channels.Channel(n).Open;
    }
    void SetWord(int n, const std::string& word) {
        channels.Channel(n).TriggerWord = word;
        LoadTriggerWord(channels.Channel(n));
    }
    bool Press(int n, MouseButton button, KeyModifiers keys) {
        return SpeedButtonChannelOnMouseDown(context, n, button, keys);
    }
};

TEST_F(ChannelCommandsTest, PopUpTakesTheChannelTheSendCaptionAndTheTriggerChecks) {
    SetWord(3, "41");
    channels.Channel(3).TriggerEnabled = true;
    channels.Channel(3).TriggerOneShot = true;
    ASSERT_TRUE(Press(3, MouseButton::Right, kNoKeys));
    EXPECT_EQ(3, menuState.PopupChannel);
    EXPECT_TRUE(view.Item("ChannelPopupMenuTrigger").Checked);
    EXPECT_TRUE(view.Item("ChannelPopupMenuTriggerOneShot").Checked);
    table.ShowStates(view);  // as the menu shows itself: the rows agree
    EXPECT_TRUE(view.Item("ChannelPopupMenuTrigger").Checked);
    EXPECT_TRUE(view.Item("ChannelPopupMenuTriggerOneShot").Checked);
    ASSERT_TRUE(Press(2, MouseButton::Right, kNoKeys));
    table.ShowStates(view);
    EXPECT_FALSE(view.Item("ChannelPopupMenuTrigger").Checked);

    struct Caption {
        LogMode Mode;
        int Language;
        const char* Text;
    };
    const Caption captions[] = {
        {LogMode::Ascii, 1, "&Send character string                       Ctrl+RMB"},
        {LogMode::Hex, 1, "&Send byte sequence                        Ctrl+RMB"},
        {LogMode::Ascii, 2, "Zeichenfolge &senden                       Strg+RMT"},
        {LogMode::Hex, 2, "Bytefolge &senden                             Strg+RMT"},
    };
    for (const Caption& c : captions) {
        options.LogMode = c.Mode;
        options.Language = c.Language;
        Press(1, MouseButton::Right, kNoKeys);
        EXPECT_EQ(c.Text, view.Item("ChannelPopupMenuSendFromChannel").Caption);
    }
    EXPECT_TRUE(messages.Boxes.empty());
}

TEST_F(ChannelCommandsTest, SendConditionEnablesTheSendItemAndDecidesCtrlAndMiddleClicks) {
    struct Case {
        const char* Name;
        bool Monitor, Active, Running, SenderWired;
        bool Sends;
    };
    const Case cases[] = {
        {"all holds", true, true, true, true, true},
        {"sender mode", false, true, true, true, false},
        {"channel inactive", true, false, true, true, false},
        {"recording stopped", true, true, false, true, false},
        {"no manual send yet", true, true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        options.MonitorMode = c.Monitor;
        channels.Channel(2).Active = c.Active;
        running = c.Running;
        context.ManualSend =
            c.SenderWired ? std::function<void(int)>([this](int n) { sent.push_back(n); }) : std::function<void(int)>();
        sent.clear();
        messages.Beeps.clear();
        EXPECT_EQ(c.Sends, SendConditionHolds(context, 2));
        menuState.PopupChannel = 2;
        EXPECT_EQ(c.Sends, table.IsEnabled("ChannelPopupMenuSendFromChannel"));
        if (c.Monitor) {
            Press(2, MouseButton::Right, kNoKeys);
            EXPECT_EQ(c.Sends, view.Item("ChannelPopupMenuSendFromChannel").Enabled);
            Press(2, MouseButton::Right, kCtrl);
            EXPECT_EQ(c.Sends ? 0u : 1u, messages.Beeps.size()) << "Ctrl + right click beeps when it cannot send";
            Press(2, MouseButton::Middle, kNoKeys);
            EXPECT_EQ(c.Sends ? 0u : 1u, messages.Beeps.size()) << "a middle click never beeps";
            EXPECT_EQ(c.Sends ? std::vector<int>({2, 2}) : std::vector<int>(), sent);
        }
        table.Execute("ChannelPopupMenuSendFromChannel", {});
        EXPECT_EQ(c.Sends ? 3u : 0u, sent.size());
    }
}

TEST_F(ChannelCommandsTest, SenderModeKnowsOnlyThePlainRightClick) {
    options.MonitorMode = false;
    for (KeyModifiers keys : {kShift, kAlt, kShiftAlt, kCtrl, kShiftCtrl, kCtrlAlt, kAll}) {
        EXPECT_FALSE(Press(1, MouseButton::Right, keys));
    }
    EXPECT_EQ(0, portDialog.Calls) << "right + Shift + Ctrl does nothing in sender mode";
    EXPECT_TRUE(inputBox.Asked.empty());
    EXPECT_TRUE(fontDialog.Started.empty());
    EXPECT_FALSE(Press(1, MouseButton::Right, kNoKeys));
    EXPECT_EQ(1, portDialog.Calls) << "a plain right click opens the port dialog";
}

TEST_F(ChannelCommandsTest, TriggerTogglesFromChordsMenusAndPopUp) {
    Activate(1);
    // No trigger word: the trigger stays off.
    Press(1, MouseButton::Right, kAlt);
    EXPECT_FALSE(channels.Channel(1).TriggerEnabled);
    SetWord(1, "0D 0A");
    Press(1, MouseButton::Right, kAlt);
    EXPECT_TRUE(channels.Channel(1).TriggerEnabled);
    EXPECT_TRUE(view.ChannelButton(1).Underline) << "active with its trigger on";
    table.ShowStates(view);
    EXPECT_TRUE(view.Item("MainMenuSettingsChannel1TriggerEnabled").Checked);
    ASSERT_TRUE(table.Execute("MainMenuSettingsChannel1TriggerEnabled", {false, 1}));
    EXPECT_FALSE(channels.Channel(1).TriggerEnabled);
    EXPECT_FALSE(view.ChannelButton(1).Underline);
    menuState.PopupChannel = 1;
    ASSERT_TRUE(table.Execute("ChannelPopupMenuTrigger", {}));
    EXPECT_TRUE(channels.Channel(1).TriggerEnabled);

    Press(1, MouseButton::Right, kShift);
    EXPECT_TRUE(channels.Channel(1).TriggerOneShot);
    ASSERT_TRUE(table.Execute("MainMenuSettingsChannel1TriggerOneShot", {false, 1}));
    EXPECT_FALSE(channels.Channel(1).TriggerOneShot);
    ASSERT_TRUE(table.Execute("ChannelPopupMenuTriggerOneShot", {true, 0}));
    EXPECT_TRUE(channels.Channel(1).TriggerOneShot);
    table.ShowStates(view);
    EXPECT_TRUE(view.Item("MainMenuSettingsChannel1TriggerOneShot").Checked);
    EXPECT_FALSE(channels.Channel(2).TriggerOneShot) << "the pop-up's channel only";
}

TEST_F(ChannelCommandsTest, ItemsOfAChannelThatIsNotInstalledAreDisabledAndDoNothing) {
    for (const char* suffix : {"", "Interface", "Font", "ID", "TriggerEnabled", "TriggerOneShot", "TriggerWord"}) {
        EXPECT_TRUE(table.IsEnabled(std::string("MainMenuSettingsChannel2") + suffix)) << suffix;
        EXPECT_FALSE(table.IsEnabled(std::string("MainMenuSettingsChannel6") + suffix)) << suffix;
    }
    ChannelInterfaceCommand(context, 6);
    FontCommand(context, 6);
    ChannelIdCommand(context, 6);
    EXPECT_EQ(0, portDialog.Calls);
    EXPECT_TRUE(fontDialog.Started.empty());
    EXPECT_TRUE(inputBox.Asked.empty());
}

TEST_F(ChannelCommandsTest, ChannelIdDialog) {
    inputBox.Answers = {std::string("Sensor bus"), std::string("   "), std::nullopt};
    options.ShowChannelId = false;
    Press(2, MouseButton::Right, kAll);
    ASSERT_EQ(1u, inputBox.Asked.size());
    EXPECT_EQ(" kestrum", inputBox.Asked[0].Caption);
    EXPECT_EQ("Channel ID for COM2:", inputBox.Asked[0].Prompt);
    EXPECT_EQ("COM2", inputBox.Asked[0].Text);
    EXPECT_EQ(origin, inputBox.Asked[0].Origin);
    EXPECT_EQ("Sensor bus", channels.Channel(2).ChannelID);
    EXPECT_TRUE(options.ShowChannelId);
    EXPECT_EQ("Activate Sensor bus port\r(9600,8,N,1)", view.ChannelButton(2).Hint);
    EXPECT_EQ(std::string(7, ' '), channels.IdPadding[1]) << "paddings follow the longest ID";

    options.Language = 2;
    ASSERT_TRUE(table.Execute("MainMenuSettingsChannel2ID", {false, 2}));
    EXPECT_EQ("Kanalbezeichnung f\xFCr COM2:", inputBox.Asked[1].Prompt);
    EXPECT_EQ("COM2", channels.Channel(2).ChannelID) << "blanks give the port name";
    EXPECT_EQ(" ", channels.IdPadding[1]);

    options.ShowChannelId = false;
    menuState.PopupChannel = 2;
    ASSERT_TRUE(table.Execute("ChannelPopupMenuChannelID", {}));
    EXPECT_EQ(3u, inputBox.Asked.size());
    EXPECT_EQ("COM2", channels.Channel(2).ChannelID);
    EXPECT_FALSE(options.ShowChannelId) << "Cancel changes nothing";
}

TEST_F(ChannelCommandsTest, FontDialogOfEachKindOfEntry) {
    struct Case {
        const char* Name;
        int Entry;
        bool Effects;
    };
    const Case cases[] = {{"user", 0, true}, {"channel", 2, true}, {"master", 9, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        fontDialog.Answer = FontChoice{"Mono Sans", 14, 1 | 4, 0xC0C0C0};
        const Colour before = channels.Font(c.Entry).FontColor;
        options.FontFixedPitchOnly = c.Entry != 2;
        const int updates = lineLengthUpdates;
        FontCommand(context, c.Entry);
        ASSERT_FALSE(fontDialog.Started.empty());
        EXPECT_EQ(c.Effects, fontDialog.Options.back().Effects);
        EXPECT_EQ(c.Entry != 2, fontDialog.Options.back().FixedPitchOnly);
        const FontEntry& font = channels.Font(c.Entry);
        EXPECT_EQ("Mono Sans", font.FontName);
        EXPECT_EQ(14, font.FontSize);
        EXPECT_TRUE(font.FontBold);
        EXPECT_EQ(c.Entry != 9, font.FontUnderline) << "the master entry has no underline";
        EXPECT_EQ(updates + 1, lineLengthUpdates);
        if (c.Entry == 9) {
            EXPECT_EQ(before, font.FontColor) << "no colour for the master";
            EXPECT_EQ("Mono Sans", channels.Font(4).FontName) << "every entry takes the master's font";
            EXPECT_FALSE(channels.Font(0).FontUnderline);
            EXPECT_EQ(kStyleBold, field.Default.Style);
            EXPECT_EQ("Mono Sans", field.Default.FontName);
        } else {
            EXPECT_EQ(0xC0C0C0, font.FontColor);
            EXPECT_EQ(0xC0C0C0, field.Current.Color);
            EXPECT_EQ(kStyleBold | kStyleUnderline, field.Current.Style);
        }
    }
    EXPECT_EQ(0x000000, view.ChannelButton(2).CaptionColour) << "silver shows as black on the button";

    fontDialog.Answer.reset();
    channels.Font(3).FontName = "FixedSys";
    const int updates = lineLengthUpdates;
    Press(3, MouseButton::Right, kCtrlAlt);
    EXPECT_EQ("FixedSys", fontDialog.Started.back().Name);
    EXPECT_EQ("FixedSys", channels.Font(3).FontName) << "Cancel changes nothing";
    EXPECT_EQ(updates, lineLengthUpdates);
}

TEST_F(ChannelCommandsTest, InterfaceDialogRebuildsEveryHint) {
    view.ChannelButton(1).Hint = "stale";
    view.ChannelButton(3).Hint = "stale";
    Press(1, MouseButton::Right, kShiftCtrl);
    EXPECT_EQ(1, portDialog.Calls);
    EXPECT_EQ("Activate COM1 port\r(9600,8,N,1)", view.ChannelButton(1).Hint) << "also after Cancel";
    EXPECT_EQ("Activate COM3 port\r(9600,8,N,1)", view.ChannelButton(3).Hint);
    portDialog.Confirm = true;
    ASSERT_TRUE(table.Execute("MainMenuSettingsChannel1Interface", {false, 1}));
    EXPECT_EQ(19200u, channels.Channel(1).BaudRate);
    EXPECT_EQ("Activate COM1 port\r(19200,8,N,1)", view.ChannelButton(1).Hint);

    int devicesChanged = 0;
    context.DevicesChanged = [&] { ++devicesChanged; };
    portDialog.Device = "/dev/ttyOther";
    ports.Port("COM1");
    menuState.PopupChannel = 1;
    ASSERT_TRUE(table.Execute("ChannelPopupMenuInterface", {}));
    EXPECT_EQ("/dev/ttyOther", channels.Channel(1).Device);
    EXPECT_EQ(1, devicesChanged) << "the watcher follows a new device";
}

TEST(SettingsFontItems, UserAndMasterFontOpenTheDialogOfTheirTag) {
    Options options;
    LineLayout layout;
    ChannelTable channels;
    fakes::FakeProtocolField field;
    bool printer = false;
    SettingsCommandContext context{options, layout, channels, field, printer, {}};
    std::vector<int> entries;
    context.fontDialog = [&](int entry) { entries.push_back(entry); };
    CommandTable table;
    AddSettingsCommands(table, context);
    for (const char* item : {"MainMenuSettingsUserFont", "RichEditPopupMenuUserFont"})
        EXPECT_TRUE(table.Execute(item, {false, 0})) << item;
    for (const char* item : {"MainMenuSettingsAllFonts", "RichEditPopupMenuAllFonts"})
        EXPECT_TRUE(table.Execute(item, {false, 9})) << item;
    EXPECT_EQ(std::vector<int>({0, 0, 9, 9}), entries);
}

}  // namespace
}  // namespace kestrum
