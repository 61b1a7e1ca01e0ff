// File > Print and the printer's orientation over the run: presence, the
// enabling rule, the activity marker, the dialog, margins and orientation,
// the job's title and the errors.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "document/page_rect.h"
#include "document/print_commands.h"
#include "fakes/fake_printer.h"
#include "fakes/fake_protocol_field.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

PrinterDeviceCaps Caps(int width, int height) {
    PrinterDeviceCaps caps;
    caps.PhysicalWidth = caps.HorzRes = width;
    caps.PhysicalHeight = caps.VertRes = height;
    caps.LogPixelsX = caps.LogPixelsY = 600;
    return caps;
}

struct PrintTest : ::testing::Test {
    fakes::FakePrinter printer;
    Options options;
    RecordingState recording;
    fakes::FakeProtocolField field;
    bool present = true;
    PrintContext context{printer, options, recording, field, present, [] { return std::string("Test.RTF"); }};
    CommandTable table;

    PrintTest() {
        printer.Portrait = Caps(4960, 7016);
        printer.Landscape = Caps(7016, 4960);
        recording.ActivityMarker = ActivityMarker::Idle;
        field.AppendLine("a line");
        AddPrintCommand(table, context);
    }
};

TEST_F(PrintTest, PresenceIsWhetherThePrinterAnswers) {
    EXPECT_TRUE(TestPrinterPresence(printer));
    printer.Answers = false;
    EXPECT_FALSE(TestPrinterPresence(printer));
}

TEST_F(PrintTest, EnabledWithALineWhileNothingRunsAndWithAPrinter) {
    const struct {
        const char* Name;
        int Lines;
        bool Running, Present, Enabled;
    } cases[] = {
        {"a line, idle, printer", 1, false, true, true},
        {"empty protocol", 0, false, true, false},
        {"recording or sending", 1, true, true, false},
        {"no printer", 1, false, false, false},
    };
    for (const auto& c : cases) {
        field.Clear();
        for (int i = 0; i < c.Lines; ++i) field.AppendLine("line");
        recording.Running = c.Running;
        present = c.Present;
        EXPECT_EQ(table.IsEnabled("MainMenuFilePrint"), c.Enabled) << c.Name;
        EXPECT_EQ(FilePrintAllowed(c.Lines, c.Running, c.Present), c.Enabled) << c.Name;
    }
}

TEST_F(PrintTest, PrintsWithTheSavedMarginsAndOrientationWhileMarked) {
    options.PrinterOrientation = kLandscape;
    options.MarginLeft = 20;
    ActivityMarker during = ActivityMarker::Idle;
    printer.WhilePrinting = [&] { during = recording.ActivityMarker; };
    ASSERT_TRUE(table.Execute("MainMenuFilePrint", {}));
    EXPECT_EQ(printer.DialogTitles, std::vector<std::string>{"Test.RTF"});
    ASSERT_EQ(printer.Printed.size(), 1u);
    EXPECT_EQ(printer.OrientationWhenPrinted, kLandscape);
    EXPECT_EQ(printer.Printed[0], PageRectFromDeviceCaps(printer.Landscape, 20, 10, 10, 10));
    EXPECT_EQ(printer.Printed[0].Left, 472);
    EXPECT_EQ(printer.Titles[0], "Test.RTF");
    EXPECT_EQ(during, ActivityMarker::Printing);
    EXPECT_EQ(recording.ActivityMarker, ActivityMarker::Idle);
}

TEST_F(PrintTest, CancelledDialogPrintsNothing) {
    printer.PrintDialogAnswer = false;
    table.Execute("MainMenuFilePrint", {});
    EXPECT_TRUE(printer.Printed.empty());
    EXPECT_TRUE(printer.OrientationsSet.empty());
    EXPECT_EQ(recording.ActivityMarker, ActivityMarker::Idle);
}

TEST_F(PrintTest, ErrorsCarryTheirTextAndLeaveTheMarkerIdle) {
    const struct {
        const char* Name;
        PrintResult Result;
        int MarginLeft;
        int Language;
        std::string Text;
    } cases[] = {
        {"printer does not start", PrintResult::NotStarted, 15, 1, "Printing on Fake printer could not be started."},
        {"printer fails", PrintResult::Failed, 15, 2, "Der Druck auf Fake printer ist fehlgeschlagen."},
        {"margins wider than the paper", PrintResult::Printed, 300, 1, LanguageText(kTextNoRoomToPrint, 1)},
    };
    for (const auto& c : cases) {
        printer.Result = c.Result;
        printer.Printed.clear();
        options.MarginLeft = c.MarginLeft;
        options.Language = c.Language;
        try {
            MainMenuFilePrintOnClick(context);
            ADD_FAILURE() << c.Name << ": no error";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), c.Text) << c.Name;
        }
        EXPECT_EQ(recording.ActivityMarker, ActivityMarker::Idle) << c.Name;
    }
    EXPECT_TRUE(printer.Printed.empty());  // no room: the printer is not asked
}

TEST_F(PrintTest, TheRunEndsWithThePrinterAsItWasFound) {
    PrintState state;
    printer.CurrentOrientation = kPortrait;
    RememberPrinterOrientation(state, printer, true);
    options.PrinterOrientation = kLandscape;
    MainMenuFilePrintOnClick(context);
    EXPECT_EQ(printer.CurrentOrientation, kLandscape);
    RestorePrinterOrientation(state, printer, true);
    EXPECT_EQ(printer.CurrentOrientation, kPortrait);
}

TEST_F(PrintTest, WithoutAPrinterNothingTouchesIt) {
    printer.Answers = false;
    PrintState state;
    const bool found = TestPrinterPresence(printer);
    RememberPrinterOrientation(state, printer, found);
    RestorePrinterOrientation(state, printer, found);
    EXPECT_TRUE(printer.OrientationsSet.empty());
}

}  // namespace
}  // namespace kestrum
