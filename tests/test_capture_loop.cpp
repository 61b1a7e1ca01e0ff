#include <gtest/gtest.h>

#include "capture/capture_loop.h"
#include "capture/display_mode.h"
#include "capture/recording_commands.h"
#include "channels/font_entries.h"
#include "channels/port_operations.h"
#include "fakes/capture_rig.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

using fakes::CaptureRig;
using Lines = std::vector<std::string>;

std::string Hex16(const std::string& digits, const std::string& chars) {
    return digits + std::string(52 - digits.size(), ' ') + chars;
}

TEST(CaptureLoop, LinesEndAtLfAndShowCr) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.channels.Fonts[1].FontColor = 0x0000FF;
    rig.FeedWhenRecording(1, "AB\r");
    rig.WhenQuiet([&] {
        EXPECT_TRUE(rig.DataLines().empty()) << "written before its LF";
        rig.Feed(1, "\n");
    });
    rig.WhenQuiet([&] {
        EXPECT_EQ(rig.DataLines(), Lines{"COM1: AB<CR>"});
        rig.Feed(1, "XY\r\n");
    });
    rig.StopWhenDrained();
    rig.Start();

    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: AB<CR>", "COM1: XY<CR>"}));
    ASSERT_EQ(rig.field.Lines.size(), 4u);
    EXPECT_EQ(rig.field.Lines[0].Text, "Start: 12:00:00");
    EXPECT_EQ(rig.field.Lines[3].Text.rfind("Stop:  ", 0), 0u);
    EXPECT_EQ(rig.field.Lines[1].Attributes.Color, 0x0000FF);
    EXPECT_FALSE(rig.state.Recording.Running);
    EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::Idle);
}

TEST(CaptureLoop, TwoChannelsAlternatingByteByByte) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.OpenChannel(2);
    rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                  [&] {
                      rig.Feed(1, "abc");
                      rig.Feed(2, "xyz");
                  });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(),
              (Lines{"COM1: a", "COM2: x", "COM1: b", "COM2: y", "COM1: c", "COM2: z"}));
}

TEST(CaptureLoop, FailedReadsCountAsNoByte) {
    CaptureRig rig;
    rig.OpenChannel(2);
    ChannelRecord& gone = rig.channels.Channels[1];
    gone.Installed = gone.Active = true;  // active, but its port is not open
    rig.FeedWhenRecording(2, "ok\n");
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), Lines{"COM2: ok"});
}

TEST(CaptureLoop, OpenLineShownAfterTimeOutAndExtendedInPlace) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, "HELLO");
    rig.WhenDrained([&] {
        EXPECT_TRUE(rig.DataLines().empty());
        rig.clock.Advance(0.05);
    });
    rig.pump.ThenDo([&] {
        EXPECT_TRUE(rig.DataLines().empty()) << "shown before 0.1 s";
        rig.clock.Advance(0.06);
    });
    rig.pump.When([&] { return rig.DataLines() == Lines{"COM1: HELLO"}; },
                  [&] { rig.Feed(1, " WORLD"); });
    rig.AdvanceWhenDrained(0.11);
    rig.pump.When([&] { return rig.DataLines() == Lines{"COM1: HELLO WORLD"}; },
                  [&] { rig.ClickStop(); });
    rig.Start();
    EXPECT_EQ(rig.DataLines(), Lines{"COM1: HELLO WORLD"});
    EXPECT_TRUE(rig.pump.ScriptDone());
}

TEST(CaptureLoop, OpenLineTimeOutIsOneTenthOfASecond) {
    const struct {
        const char* Name;
        double Seconds;
        bool Shown;
    } cases[] = {{"just before", 0.099, false}, {"just after", 0.101, true}};
    for (const auto& c : cases) {
        CaptureRig rig;
        rig.OpenChannel(1);
        rig.FeedWhenRecording(1, "HELLO");
        rig.AdvanceWhenDrained(c.Seconds);
        bool shown = false;
        rig.WhenQuiet([&] {
            shown = rig.DataLines() == Lines{"COM1: HELLO"};
            rig.ClickStop();
        });
        rig.Start();
        EXPECT_TRUE(rig.pump.ScriptDone()) << c.Name;
        EXPECT_EQ(shown, c.Shown) << c.Name << ": " << c.Seconds << " s after the first byte";
    }
}

TEST(CaptureLoop, TypingIntoTheFieldStartsANewLine) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, "HELLO");
    rig.AdvanceWhenDrained(0.11);
    rig.pump.When([&] { return rig.DataLines() == Lines{"COM1: HELLO"}; },
                  [&] {
                      RichEditOnKeyPress(rig.ctx);
                      rig.Feed(1, "X");
                  });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: HELLO", "COM1: X"}));
}

// Bytes that arrived after the open line was shown are not lost when a key
// is typed before their time-out.
TEST(CaptureLoop, TypingKeepsBytesNotYetShown) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, "HEL");
    rig.AdvanceWhenDrained(0.11);
    rig.pump.When([&] { return rig.DataLines() == Lines{"COM1: HEL"}; },
                  [&] { rig.Feed(1, "LO"); });
    rig.WhenDrained([&] {
        EXPECT_EQ(rig.DataLines(), Lines{"COM1: HEL"}) << "LO shown before its time-out";
        RichEditOnKeyPress(rig.ctx);
        EXPECT_EQ(rig.DataLines(), Lines{"COM1: HELLO"});
        rig.Feed(1, "X");
    });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: HELLO", "COM1: X"}));
}

TEST(CaptureLoop, AscToHexWhileRecording) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, "AB");
    rig.WhenDrained([&] { SpeedButtonAscOrHexOnMouseDown(rig.ctx, LogMode::Hex, true); });
    rig.pump.When([&] { return rig.DataLines().size() == 1; },
                  [&] {
                      EXPECT_EQ(rig.DataLines(), Lines{"COM1: AB"});
                      rig.Feed(1, "CD");
                  });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: AB", "COM1: " + Hex16("43 44 ", "CD")}));
    EXPECT_NE(std::find(rig.hooks.Calls.begin(), rig.hooks.Calls.end(), "Convert2"),
              rig.hooks.Calls.end());
}

TEST(CaptureLoop, DisplayModeButtonsActOnlyOnTheLeftButtonAndOnChange) {
    CaptureRig rig;
    SpeedButtonAscOrHexOnMouseDown(rig.ctx, LogMode::Hex, false);
    EXPECT_EQ(rig.options.LogMode, LogMode::Ascii);
    SpeedButtonAscOrHexOnMouseDown(rig.ctx, LogMode::Ascii, true);
    EXPECT_TRUE(rig.hooks.Calls.empty());
    SpeedButtonAscOrHexOnMouseDown(rig.ctx, LogMode::Hex, true);
    EXPECT_EQ(rig.options.LogMode, LogMode::Hex);
    EXPECT_EQ(rig.hooks.Calls, Lines{"Convert2"});
}

TEST(CaptureLoop, StopWithAnOpenLineWritesItsFinalForm) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, "HELLO");
    rig.AdvanceWhenDrained(0.11);
    rig.pump.When([&] { return rig.DataLines() == Lines{"COM1: HELLO"}; },
                  [&] { rig.Feed(1, "!!"); });
    rig.StopWhenDrained();
    rig.Start();
    ASSERT_EQ(rig.field.Lines.size(), 3u);
    EXPECT_EQ(rig.field.Lines[1].Text, "COM1: HELLO!!");
    EXPECT_EQ(rig.field.Lines[2].Text.rfind("Stop:  ", 0), 0u);
}

TEST(CaptureLoop, ClearWhileRecordingGoesOnIntoTheEmptyProtocol) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, "one\n");
    rig.pump.When([&] { return rig.DataLines().size() == 1; },
                  [&] {
                      SpeedButtonClearOnMouseDown(rig.ctx, true);
                      EXPECT_EQ(rig.field.LineCount(), 0);
                      EXPECT_TRUE(rig.state.Recording.Running);
                      EXPECT_TRUE(rig.state.StartButton.Down);
                      EXPECT_EQ(rig.state.StartButton.CaptionRow, kTextStop);
                      rig.Feed(1, "two\n");
                  });
    rig.StopWhenDrained();
    rig.Start();
    ASSERT_EQ(rig.field.Lines.size(), 2u);
    EXPECT_EQ(rig.field.Lines[0].Text, "COM1: two");
}

TEST(CaptureLoop, RefusedLineStopsRecordingShowsOneErrorAndBlocksStartUntilClear) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.OpenChannel(2);
    rig.field.RefuseAtLine = 2;  // the start line and one data line fit
    rig.FeedWhenRecording(1, "a\n");
    rig.pump.When([&] { return rig.DataLines().size() == 1; },
                  [&] {
                      rig.Feed(1, "b\n");
                      rig.Feed(2, "zz");
                  });
    rig.Start();  // ends by itself

    EXPECT_LT(rig.pump.Calls, rig.pump.MaxCalls);
    EXPECT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_TRUE(rig.state.Recording.ProtocolFull);
    EXPECT_FALSE(rig.state.Recording.Running);
    EXPECT_FALSE(rig.state.StartButton.Enabled);
    EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::Idle);

    const int appends = rig.field.Appends;
    rig.Start();  // a disabled button starts nothing
    EXPECT_EQ(rig.field.Appends, appends);
    EXPECT_FALSE(rig.state.StartButton.Down);
    EXPECT_FALSE(rig.state.Recording.Running);

    SpeedButtonClearOnMouseDown(rig.ctx, false);  // right button: nothing
    EXPECT_TRUE(rig.state.Recording.ProtocolFull);
    SpeedButtonClearOnMouseDown(rig.ctx, true);
    EXPECT_FALSE(rig.state.Recording.ProtocolFull);
    EXPECT_TRUE(rig.state.StartButton.Enabled);
    EXPECT_EQ(rig.state.StartButton.HintRow, kTextStartRecording);

    rig.field.RefuseAtLine = -1;
    rig.FeedWhenRecording(1, "c\n");
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), Lines{"COM1: c"});
    EXPECT_EQ(rig.messages.Boxes.size(), 1u);
}

TEST(CaptureLoop, TimeTagsWithAGermanLocale) {
    CaptureRig rig;
    rig.locale.DecimalSeparator = ',';
    rig.locale.ThousandSeparator = '.';
    rig.options.ShowTimeTags = true;
    rig.pollTimer.SecondsPerWait = 0.0;
    rig.OpenChannel(1);
    rig.pump.When([&] { return rig.field.LineCount() == 1; },  // the start line: origin taken
                  [&] {
                      rig.clock.Advance(4321.5);
                      rig.Feed(1, "x\n");
                  });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), Lines{"4.321,500000  COM1: x"});
}

TEST(CaptureLoop, LineWrapEndsLinesAtTheWindowWidth) {
    CaptureRig rig;
    rig.options.LineWrap = true;
    rig.channels.Fonts[0].FontSize = 15;  // 20 pixels at 96 ppi
    rig.field.Width = 141;                // ((141 - 21) * 5) div 60 = 10 characters
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, "abcdefgh");
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: abcd", "COM1: efgh"}));
}

TEST(CaptureLoop, HexLinesEndAtTheByteCount) {
    CaptureRig rig;
    rig.options.LogMode = LogMode::Hex;
    rig.options.HexLineByteCount = 2;
    SetHexLineWidth(rig.state.Layout, rig.options);
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, std::string("\0A\r", 3));
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: 00 41   \x01" "A", "COM1: 0D      \x01"}));
}

TEST(CaptureLoop, IdleWaitOnlyWhenEveryPortIsQuiet) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.OpenChannel(2);
    rig.FeedWhenRecording(1, std::string(50, 'a'));
    rig.FeedWhenRecording(2, "b");
    int waitsWhenDrained = -1;
    rig.WhenDrained([&] { waitsWhenDrained = rig.pollTimer.Waits; });
    rig.pump.When([&] { return rig.pollTimer.Waits >= 3; }, [&] { rig.ClickStop(); });
    rig.Start();
    EXPECT_EQ(waitsWhenDrained, 0);
    EXPECT_EQ(rig.pollTimer.LastDueTime, -10);
    EXPECT_EQ(rig.pollTimer.LastPeriodMs, 1);
    EXPECT_EQ(rig.pollTimer.LastTimeoutMs, 1u);
    EXPECT_EQ(rig.pollTimer.Sets, rig.pollTimer.Waits);
}

TEST(CaptureLoop, StartPreparesProtocolPortsAndButtons) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.OpenChannel(3);
    rig.channels.Channels[3].Active = false;  // installed, open, not recorded
    rig.field.AppendLine("old");
    rig.state.Lines[1].LineText.assign("stale");
    rig.Feed(1, "junk");  // received before Start: purged
    rig.pump.ThenDo([&] {
        EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::StartDown);
        EXPECT_FALSE(rig.hooks.EditSearchEnabled);
        EXPECT_TRUE(rig.state.StartButton.Down);
        EXPECT_EQ(rig.state.StartButton.CaptionRow, kTextStop);
        EXPECT_EQ(rig.state.StartButton.HintRow, kTextStopRecording);
    });
    rig.pump.ThenDo([&] { rig.ClickStop(); });
    rig.Start();
    EXPECT_EQ(rig.field.Texts().at(1), "");  // empty line before the new recording
    EXPECT_EQ(rig.field.Texts().at(2).rfind("Start: ", 0), 0u);
    EXPECT_GE(rig.ports.Port("COM1").Purges, 1);
    EXPECT_EQ(rig.ports.Port("COM1").Timeouts, kPortTimeouts);  // configuration applied again
    EXPECT_EQ(rig.ports.Port("COM3").Purges, 0);
    EXPECT_TRUE(rig.state.Lines[1].LineText.empty());
    EXPECT_EQ(rig.DataLines(), (Lines{"old", ""}));
    EXPECT_EQ(rig.field.Focuses, 1);
    EXPECT_EQ(rig.field.UndoClears, 1);
    EXPECT_TRUE(rig.hooks.EditSearchEnabled);
    EXPECT_EQ(rig.hooks.Calls, (Lines{"CloseFind", "StopSending", "RestartFind"}));
    EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::Idle);
    EXPECT_EQ(rig.state.StartButton.CaptionRow, kTextStart);
}

TEST(CaptureLoop, WithoutStartStopTimeNoProgramLines) {
    CaptureRig rig;
    rig.options.ShowStartStopTime = false;
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, "x\n");
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.field.Texts(), Lines{"COM1: x"});
}

TEST(CaptureLoop, ClearRequestEmptiesTheProtocolAfterTheLastFlush) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.FeedWhenRecording(1, "pending");
    rig.WhenDrained([&] {
        rig.state.Recording.ClearRequest = true;
        rig.state.Recording.Running = false;
    });
    rig.Start();
    ASSERT_EQ(rig.field.Lines.size(), 1u);
    EXPECT_EQ(rig.field.Lines[0].Text.rfind("Stop:  ", 0), 0u);
    EXPECT_FALSE(rig.state.Recording.ClearRequest);
}

TEST(CaptureLoop, SenderModeStartOnlyStartsSending) {
    CaptureRig rig;
    rig.options.MonitorMode = false;
    rig.OpenChannel(1);
    rig.Start();
    EXPECT_TRUE(rig.state.Recording.Running);
    EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::StartDown);
    EXPECT_EQ(rig.state.StartButton.HintRow, kTextStopSending);
    EXPECT_EQ(rig.hooks.Calls, (Lines{"CloseFind", "StartSending"}));
    EXPECT_TRUE(rig.field.Lines.empty());
    rig.ClickStop();
    EXPECT_FALSE(rig.state.Recording.Running);
    EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::Idle);
    EXPECT_EQ(rig.hooks.Calls.back(), "RestartFind");
}

TEST(CaptureLoop, StartButtonMouseUpShowsRunning) {
    CaptureRig rig;
    rig.state.Recording.Running = true;
    SpeedButtonStartOnMouseUp(rig.ctx, false);
    EXPECT_EQ(rig.state.StartButton.CaptionRow, kTextStart);
    SpeedButtonStartOnMouseUp(rig.ctx, true);
    EXPECT_EQ(rig.state.StartButton.CaptionRow, kTextStop);
    EXPECT_EQ(rig.state.StartButton.HintRow, kTextStopRecording);
}

}  // namespace
}  // namespace kestrum
