// Sender mode's tick (TxTimerOnTimer) with a fake timer, fake ports and a
// fake protocol field.
#include <gtest/gtest.h>

#include "fakes/sender_rig.h"
#include "sender/sync_pacing.h"
#include "sender/tx_timer_tick.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

using fakes::SenderRig;

// Options for tests that look at the bytes of a line alone.
void PlainAscii(SenderRig& rig) {
    rig.options.AppendCrChar = rig.options.AppendLfChar = false;
    rig.options.SenderModeAutoRepeat = false;
}

// What goes out tick by tick.
std::vector<std::string> SentPerTick(SenderRig& rig, int ticks) {
    std::vector<std::string> sent;
    std::string before = rig.Sent();
    for (int i = 0; i < ticks; ++i) {
        rig.Ticks(1);
        const std::string now = rig.Sent();
        sent.push_back(now.substr(before.size()));
        before = now;
    }
    return sent;
}

TEST(SenderTick, StartEnablesTheTimerAtTheIntervalAndSendsAfterIt) {
    SenderRig rig;
    rig.SenderMode({"hello"});
    rig.options.TxTimeInterval = 250;
    rig.StartSending();
    EXPECT_TRUE(rig.timer.On);
    EXPECT_EQ(rig.timer.Value, 250u);
    EXPECT_EQ(rig.Sent(), "");  // nothing before the first tick
    EXPECT_TRUE(rig.state.Recording.Running);
    EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::StartDown);
}

TEST(SenderTick, EndOfPassWithoutRepeatRunsTheStopSteps) {
    SenderRig rig;
    rig.SenderMode({"hello"});
    rig.options.SenderModeAutoRepeat = false;
    rig.StartSending();
    rig.Ticks(1);
    EXPECT_EQ(rig.Sent(), "hello\r\n");
    EXPECT_FALSE(rig.timer.On);
    EXPECT_FALSE(rig.state.Recording.Running);
    EXPECT_FALSE(rig.state.StartButton.Down);
    EXPECT_EQ(rig.state.StartButton.CaptionRow, kTextStart);
    EXPECT_EQ(rig.state.StartButton.HintRow, kTextStartSending);
    // What a click on Stop does (it used to be skipped here).
    EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::Idle);
    EXPECT_TRUE(rig.hooks.EditSearchEnabled);
    EXPECT_EQ(rig.field.UndoClears, 1);
    EXPECT_NE(std::find(rig.hooks.Calls.begin(), rig.hooks.Calls.end(), "RestartFind"), rig.hooks.Calls.end());
}

TEST(SenderTick, CommentsEmptyLinesRepeatAndPassEnds) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        bool repeat;
        int ticks;
        std::vector<std::string> sent;  // per tick
        bool runningAfter;
    } cases[] = {
        {"a comment line is skipped within the tick", {"A // x", "// note", "B"}, false, 2, {"A ", "B"}, false},
        {"an empty line uses its tick", {"A", "", "B"}, false, 3, {"A", "", "B"}, false},
        {"auto repeat wraps", {"A", "B"}, true, 5, {"A", "B", "A", "B", "A"}, true},
        {"a trailing comment skipped into the next pass", {"A", "// end"}, true, 3, {"A", "A", "A"}, true},
        {"a trailing comment ends a pass without repeat", {"A", "// end"}, false, 3, {"A", "", ""}, false},
        {"nothing but comments gives up after one pass", {"// a", "// b"}, true, 3, {"", "", ""}, true},
        {"nothing but comments without repeat ends", {"// a", "// b"}, false, 1, {""}, false},
    };
    for (const Case& c : cases) {
        SenderRig rig;
        rig.SenderMode(c.lines);
        PlainAscii(rig);
        rig.options.SenderModeAutoRepeat = c.repeat;
        rig.StartSending();
        EXPECT_EQ(SentPerTick(rig, c.ticks), c.sent) << c.name;
        EXPECT_EQ(rig.state.Recording.Running, c.runningAfter) << c.name;
        EXPECT_FALSE(rig.sender.TxBusy) << c.name;
        EXPECT_LT(rig.pump.Calls, 100) << c.name;
    }
}

TEST(SenderTick, HexLines) {
    struct Case {
        const char* name;
        std::string line;
        std::string bytes;           // sent, when it converts
        std::string message;         // otherwise the message's start
    } cases[] = {
        {"a dump line", "COM1: 41 42 43  ABC", "ABC", ""},
        {"dashes", "41-42-43", "ABC", ""},
        {"an empty line sends nothing", "", "", ""},
        {"an invalid digit", "41 4G", "", "The input contains an invalid hex cipher:\r\r41 4G"},
        {"two colons", "x: COM1: 41", "", "The input contains an invalid hex cipher:"},
        {"a number above FF", "100", "", "The input contains a hex number > FF."},
    };
    for (const Case& c : cases) {
        SenderRig rig;
        rig.SenderMode({"01", c.line, "02"});
        rig.options.LogMode = LogMode::Hex;
        rig.StartSending();
        rig.Ticks(2);
        if (c.message.empty()) {
            EXPECT_EQ(rig.Sent(), "\x01" + c.bytes) << c.name;
            EXPECT_TRUE(rig.state.Recording.Running) << c.name;
            EXPECT_TRUE(rig.messages.Boxes.empty()) << c.name;
            continue;
        }
        EXPECT_EQ(rig.Sent(), "\x01") << c.name;
        ASSERT_EQ(rig.messages.Boxes.size(), 1u) << c.name;
        EXPECT_EQ(rig.messages.Boxes[0].Text.rfind(c.message, 0), 0u) << c.name << ": " << rig.messages.Boxes[0].Text;
        EXPECT_FALSE(rig.state.Recording.Running) << c.name;
        EXPECT_FALSE(rig.timer.On) << c.name;
        EXPECT_EQ(rig.sender.TxLineIndex, 1) << c.name << ": stays on the line";
        EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::Idle) << c.name;
    }
}

TEST(SenderTick, NoSenderChannelOrEmptyProtocolIdleWithTheTimerOn) {
    SenderRig rig;
    rig.SenderMode({}, 1);
    rig.StartSending();
    rig.Ticks(3);
    rig.options.SenderChannel = -1;
    rig.field.AppendLine("A");
    rig.Ticks(3);
    EXPECT_EQ(rig.Sent(), "");
    EXPECT_TRUE(rig.timer.On);
    EXPECT_TRUE(rig.state.Recording.Running);
    EXPECT_EQ(rig.sender.TxLineIndex, 0);
}

TEST(SenderTick, LinesDeletedWhileSendingEndThePass) {
    for (bool repeat : {false, true}) {
        SenderRig rig;
        rig.SenderMode({"A", "B", "C"});
        PlainAscii(rig);
        rig.options.SenderModeAutoRepeat = repeat;
        rig.StartSending();
        rig.Ticks(2);
        rig.field.Lines.resize(1);  // the user deletes lines 2 and 3
        rig.Ticks(1);
        EXPECT_EQ(rig.Sent(), repeat ? "ABA" : "AB") << repeat;
        EXPECT_EQ(rig.state.Recording.Running, repeat) << repeat;
    }
}

TEST(SenderTick, FailedWritesBeepOncePerRunAndAGonePortEndsSending) {
    SenderRig rig;
    rig.SenderMode({"A", "B", "C"});
    rig.options.SenderModeAutoRepeat = true;
    fakes::FakePort& port = rig.ports.Port("COM1");
    rig.StartSending();
    rig.ports.CloseHandle(port.Handle);  // writes fail from now on
    rig.Ticks(3);
    EXPECT_EQ(rig.messages.Beeps.size(), 1u);
    EXPECT_TRUE(rig.messages.Boxes.empty());
    EXPECT_EQ(rig.sender.TxLineIndex, 0);  // the flow went on over the three lines
    EXPECT_TRUE(rig.state.Recording.Running);

    port.Present = false;  // now the device is gone as well
    rig.Ticks(1);
    EXPECT_FALSE(rig.state.Recording.Running);
    EXPECT_FALSE(rig.timer.On);
    ASSERT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(rig.messages.Boxes[0].Text, "Sending has stopped: the COM1 port is no longer available.");
    EXPECT_EQ(rig.messages.Calls, (std::vector<std::string>{"beep", "beep", "box"}));

    // A new run beeps again.
    port.Present = true;
    rig.StartSending();
    rig.Ticks(2);
    EXPECT_EQ(rig.messages.Beeps.size(), 3u);
}

TEST(SenderTick, ANestedTickDoesNothing) {
    SenderRig rig;
    rig.SenderMode({"A", "B"});
    PlainAscii(rig);
    rig.options.SenderModeAutoRepeat = false;
    rig.StartSending();
    rig.Ticks(1);
    // The end of the pass lets messages through: a tick that comes then must
    // not send line 0 again.
    rig.pump.ThenDo([&] { TxTimerOnTimer(rig.senderCtx); });
    rig.Ticks(1);
    EXPECT_EQ(rig.Sent(), "AB");
    EXPECT_TRUE(rig.pump.ScriptDone());
}

}  // namespace
}  // namespace kestrum
