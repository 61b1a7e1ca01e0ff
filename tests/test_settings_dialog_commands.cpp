// The Settings items whose work is a dialog: what each dialog is shown, what
// OK and cancel store, errors on the way, and the printer settings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "app/command_guard.h"
#include "fakes/fake_printer.h"
#include "fakes/fake_protocol_field.h"
#include "fakes/fake_settings_dialogs.h"
#include "fakes/recording_message_boxes.h"
#include "settings/commands/printer_settings.h"
#include "settings/commands/settings_dialog_commands.h"
#include "settings/commands/settings_menu.h"

namespace kestrum {
namespace {

struct SettingsDialogTest : ::testing::Test {
    Options options;
    LineLayout layout;
    ChannelTable channels;
    fakes::FakeProtocolField field;
    bool printerPresent = true;
    fakes::FakeSettingsDialogs dialogs;
    fakes::FakePrinter printer;
    std::string exeBaseName = "kestrum";
    SettingsDialogServices services{dialogs, printer, exeBaseName};
    SettingsCommandContext context{options, layout, channels, field, printerPresent, {}, &services};
    CommandTable table;

    SettingsDialogTest() { AddSettingsCommands(table, context); }
    void Click(const std::string& name) { ASSERT_TRUE(table.Execute(name, {})) << name; }
};

TEST_F(SettingsDialogTest, DialogItemsNeedTheirServices) {
    SettingsCommandContext bare{options, layout, channels, field, printerPresent, {}};
    CommandTable without;
    AddSettingsCommands(without, bare);
    options.MonitorMode = false;  // the comment delimiter's mode
    for (const char* item : {"MainMenuSettingsBackgroundColor", "RichEditPopupMenuCommentDelimiter",
                             "MainMenuSettingsInputLineMaxHistoryCount", "MainMenuSettingsPrinter"}) {
        EXPECT_FALSE(without.IsEnabled(item)) << item;
        EXPECT_TRUE(table.IsEnabled(item)) << item;
    }
    EXPECT_FALSE(table.IsEnabled("MainMenuSettingsUserFont"));  // the font dialogs come elsewhere
    printerPresent = false;
    EXPECT_FALSE(table.IsEnabled("MainMenuSettingsPrinter"));
}

TEST_F(SettingsDialogTest, BytesPerHexLineInBothLanguages) {
    options.LogMode = LogMode::Hex;
    const struct {
        const char* Name;
        int Language;
        std::string Caption, Label;
    } languages[] = {
        {"English", 1, " kestrum:   Bytes per hex dump line", "Length of the hex dump lines in bytes"},
        {"German", 2, " kestrum:   Bytes pro Hex-Dump-Zeile", "L\xE4nge der Hex-Dump-Zeilen in Bytes"},
    };
    for (const auto& l : languages) {
        options.Language = l.Language;
        dialogs.IntAnswer = 8;
        Click("RichEditPopupMenuHexLineByteCount");
        const auto& shown = dialogs.IntRequests.back();
        EXPECT_EQ(shown.Caption, l.Caption) << l.Name;
        EXPECT_EQ(shown.Label, l.Label) << l.Name;
        EXPECT_EQ(shown.Minimum, 1) << l.Name;
        EXPECT_EQ(shown.Maximum, 255) << l.Name;
    }
    EXPECT_EQ(dialogs.IntRequests.front().Value, 16);
    EXPECT_EQ(options.HexLineByteCount, 8);
    EXPECT_EQ(layout.HexLineWidth, 3 * 8 + 2 * 0 + 2);
    EXPECT_EQ(layout.HexBlankLine, std::string(26, ' '));
}

TEST_F(SettingsDialogTest, CountsAreClampedAgainAndCancelKeepsThem) {
    options.LogMode = LogMode::Hex;
    const struct {
        const char* Name;
        const char* Item;
        int Options::*Field;
        bool Ok;
        int Answer, Stored;
    } cases[] = {
        {"hex line 0 is stored as 1", "MainMenuSettingsHexLineByteCount", &Options::HexLineByteCount, true, 0, 1},
        {"hex line 255", "MainMenuSettingsHexLineByteCount", &Options::HexLineByteCount, true, 255, 255},
        {"hex line above 255", "MainMenuSettingsHexLineByteCount", &Options::HexLineByteCount, true, 300, 255},
        {"hex line cancelled", "MainMenuSettingsHexLineByteCount", &Options::HexLineByteCount, false, 99, 17},
        {"history below 4", "MainMenuSettingsInputLineMaxHistoryCount", &Options::InputLineMaxHistoryCount, true, 3, 4},
        {"history 64", "MainMenuSettingsInputLineMaxHistoryCount", &Options::InputLineMaxHistoryCount, true, 64, 64},
        {"history above 64", "MainMenuSettingsInputLineMaxHistoryCount", &Options::InputLineMaxHistoryCount, true, 65,
         64},
        {"history cancelled", "MainMenuSettingsInputLineMaxHistoryCount", &Options::InputLineMaxHistoryCount, false, 20,
         17},
    };
    for (const auto& c : cases) {
        options.*c.Field = 17;
        dialogs.Answer = c.Ok;
        dialogs.IntAnswer = c.Answer;
        Click(c.Item);
        EXPECT_EQ(options.*c.Field, c.Stored) << c.Name;
    }
}

TEST_F(SettingsDialogTest, HistoryLengthIsAskedWithTheItemsCaption) {
    options.Language = 2;
    dialogs.IntAnswer = 10;
    Click("MainMenuSettingsInputLineMaxHistoryCount");
    const auto& shown = dialogs.IntRequests.back();
    EXPECT_EQ(shown.Caption, " kestrum:   Max. L\xE4nge der History-List");
    EXPECT_EQ(shown.Label,
              "Max. Anzahl der Eintr\xE4ge in der Liste mit den zuletzt ausgesendeten Zeichen- bzw. "
              "Bytefolgen");
    EXPECT_EQ(shown.Minimum, 4);
    EXPECT_EQ(shown.Maximum, 64);
    EXPECT_EQ(options.InputLineMaxHistoryCount, 10);
}

TEST_F(SettingsDialogTest, AnErrorOnTheWayIsShownAndChangesNothing) {
    options.LogMode = LogMode::Hex;
    dialogs.Throw = true;
    RecordingMessageBoxes messages;
    for (const char* item : {"MainMenuSettingsHexLineByteCount", "MainMenuSettingsInputLineMaxHistoryCount"}) {
        const Options before = options;
        EXPECT_FALSE(RunGuarded(messages, {7, 9}, [&] { table.Execute(item, {}); })) << item;
        EXPECT_EQ(options, before) << item;
    }
    ASSERT_EQ(messages.Boxes.size(), 2u);
    EXPECT_EQ(messages.Boxes[0].Kind, MessageKind::Error);
    EXPECT_EQ(messages.Boxes[0].Text, "dialog failed");
}

TEST_F(SettingsDialogTest, BackgroundColourKeepsItsPresetOnCancel) {
    options.BackgroundColor = kSystemWindowColour;
    dialogs.Answer = false;
    Click("RichEditPopupMenuBackgroundColor");
    EXPECT_EQ(dialogs.ColoursShown.back(), kSystemWindowColour);
    EXPECT_EQ(options.BackgroundColor, kSystemWindowColour);
    EXPECT_EQ(field.Background, kSystemWindowColour);
    dialogs.Answer = true;
    dialogs.ColourAnswer = 0x00336699;
    Click("MainMenuSettingsBackgroundColor");
    EXPECT_EQ(options.BackgroundColor, 0x00336699);
    EXPECT_EQ(field.Background, 0x00336699);
}

TEST_F(SettingsDialogTest, CommentDelimiterTakesTheTextAsTyped) {
    options.MonitorMode = false;
    options.Language = 2;
    dialogs.TextAnswer = "";
    Click("MainMenuSettingsCommentDelimiter");
    EXPECT_EQ(dialogs.Captions.back(), " kestrum");
    EXPECT_EQ(dialogs.Prompts.back(), "Kommentarkennung:");
    EXPECT_EQ(dialogs.TextsShown.back(), "//");
    EXPECT_EQ(options.CommentDelimiter, "");  // empty is allowed
    dialogs.TextAnswer = " ; ";
    Click("RichEditPopupMenuCommentDelimiter");
    EXPECT_EQ(options.CommentDelimiter, " ; ");
    dialogs.Answer = false;
    dialogs.TextAnswer = "#";
    Click("MainMenuSettingsCommentDelimiter");
    EXPECT_EQ(options.CommentDelimiter, " ; ");
}

TEST(PrinterSettings, MarginFromDialog) {
    const struct {
        const char* Name;
        double Dialog;
        int Previous, Stored;
    } cases[] = {
        {"12.7 mm is truncated", 12.7, 15, 12},
        {"whole millimetres", 20.0, 15, 20},
        {"an untouched margin shown in inches comes back as 14.986", 14.986, 15, 15},
        {"just over the previous value", 15.04, 15, 15},
        {"just under a whole millimetre", 15.96, 15, 15},
        {"zero", 0.0, 15, 0},
        {"negative values become 0", -3.0, 15, 0},
        {"not a number keeps the margin", std::nan(""), 15, 15},
        {"absurd values are held", 1e12, 15, 100000},
    };
    for (const auto& c : cases) EXPECT_EQ(MarginFromDialog(c.Dialog, c.Previous), c.Stored) << c.Name;
}

TEST_F(SettingsDialogTest, PrinterSettingsInMillimetres) {
    options.MarginLeft = 15;
    options.MarginBottom = 15;
    options.PrinterOrientation = kPortrait;
    printer.PageSetupResult = {12.7, 25.0, 10.0, 14.986, kLandscape};
    Click("MainMenuSettingsPrinter");
    EXPECT_EQ(printer.PageSetupShown.MarginLeft, 15.0);
    EXPECT_EQ(printer.PageSetupShown.MarginTop, 10.0);
    EXPECT_EQ(printer.PageSetupShown.Orientation, kPortrait);
    EXPECT_EQ(printer.OrientationsSet.front(), kPortrait);  // the printer is set before the dialog
    EXPECT_EQ(options.MarginLeft, 12);
    EXPECT_EQ(options.MarginTop, 25);
    EXPECT_EQ(options.MarginRight, 10);
    EXPECT_EQ(options.MarginBottom, 15);  // untouched, handed back in inches
    EXPECT_EQ(options.PrinterOrientation, kLandscape);
}

TEST_F(SettingsDialogTest, CancelledPrinterSettingsTurnThePrinterBack) {
    options.PrinterOrientation = kPortrait;
    printer.PageSetupAnswer = false;
    printer.OrientationLeftByCancelledDialog = kLandscape;
    const Options before = options;
    Click("MainMenuSettingsPrinter");
    EXPECT_EQ(options, before);
    EXPECT_EQ(printer.CurrentOrientation, kPortrait);
}

}  // namespace
}  // namespace kestrum
