// Manual send from a channel while recording, with a scripted dialog.
#include <gtest/gtest.h>

#include "channels/font_entries.h"
#include "fakes/sender_rig.h"
#include "sender/input_line_history.h"
#include "sender/manual_send.h"

namespace kestrum {
namespace {

using fakes::SenderRig;
using Strings = std::vector<std::string>;

// Monitor mode, recording, channel 1 active.
void Recording(SenderRig& rig) {
    rig.OpenChannel(1);
    rig.state.Recording.Running = true;
    rig.options.ShowTimeTags = false;
}

Strings History(SenderRig& rig, int n = 1) {
    Strings texts;
    for (const std::string& text : rig.channels.Channel(n).InputHistory)
        if (!text.empty()) texts.push_back(text);
    return texts;
}

TEST(InputLineHistory, NewestFirstEachOnceAtMostTheMaximum) {
    struct Case {
        const char* name;
        Strings items;
        std::string text;
        int max;
        Strings result;
    } cases[] = {
        {"a new text goes on top", {"b", "c"}, "a", 16, {"a", "b", "c"}},
        {"a text already there moves up", {"b", "a", "c"}, "a", 16, {"a", "b", "c"}},
        {"case counts", {"abc"}, "ABC", 16, {"ABC", "abc"}},
        {"a full list drops its oldest", {"d", "c", "b", "a"}, "e", 4, {"e", "d", "c", "b"}},
        {"a moved text drops nothing", {"d", "c", "b", "a"}, "a", 4, {"a", "d", "c", "b"}},
        {"empty text is the placeholder", {"a"}, "", 16, {"<NullString>", "a"}},
        {"a maximum of 0 keeps the newest", {"a"}, "b", 0, {"b"}},
    };
    for (const Case& c : cases) {
        Strings items = c.items;
        AddInputLineToHistory(items, c.text, c.max);
        EXPECT_EQ(items, c.result) << c.name;
    }
}

TEST(ManualSend, AsciiLineGoesOutOnceAndIntoTheProtocolAsTheUsersLine) {
    SenderRig rig;
    Recording(rig);
    rig.dialog.TypeAndOk("hello");
    ManualSendFromChannel(rig.senderCtx, 1);
    ASSERT_EQ(rig.dialog.Shown.size(), 1u);
    const InputLineRequest& request = rig.dialog.Shown[0].Request;
    EXPECT_EQ(request.Caption, " Kestrum: Send character string from COM1");
    EXPECT_EQ(request.Prompt, "String to be sent:");
    EXPECT_EQ(request.MaxLength, 255);
    EXPECT_TRUE(request.Highlight);
    EXPECT_EQ(rig.Sent(), "hello\r\n");
    EXPECT_EQ(rig.field.Texts(), Strings{"User: hello<CR>"});
    EXPECT_EQ(rig.field.Lines.back().Attributes, FontEntryAttributes(rig.channels.Font(0)));
    EXPECT_EQ(History(rig), Strings{"68 65 6C 6C 6F"});
    EXPECT_EQ(rig.sender.Channel(1).LastInputLine, "hello");
    EXPECT_EQ(rig.state.Recording.LastChannel, 0);

    // The next showing offers it first, in bytes.
    rig.dialog.Ok();
    ManualSendFromChannel(rig.senderCtx, 1);
    EXPECT_EQ(rig.dialog.Shown[1].Text, "hello");
    EXPECT_EQ(rig.dialog.Shown[1].List, Strings{"hello"});
    EXPECT_EQ(rig.Sent(), "hello\r\nhello\r\n");
}

TEST(ManualSend, WhatIsSentAndWhatTheProtocolShows) {
    struct Case {
        const char* name;
        LogMode mode;
        bool appendCr, appendLf, showCr, showLf;
        std::string typed;
        std::string sent;
        Strings lines;
        Strings history;
    } cases[] = {
        {"empty ASCII with CR appended", LogMode::Ascii, true, false, true, false, "", "\r", {"User: <CR>"},
         {"<NullString>"}},
        {"empty ASCII without line end", LogMode::Ascii, false, false, true, true, "", "", {}, {"<NullString>"}},
        {"LF shown", LogMode::Ascii, true, true, false, true, "x", "x\r\n", {"User: x<LF>"}, {"78"}},
        {"empty hex", LogMode::Hex, true, true, true, true, "", "", {}, {"<NullString>"}},
        {"hex", LogMode::Hex, true, true, true, true, " 41-42 ", "AB",
         {"User: 41 42" + std::string(47, ' ') + "AB"}, {"41-42"}},
    };
    for (const Case& c : cases) {
        SenderRig rig;
        Recording(rig);
        rig.options.LogMode = c.mode;
        rig.options.AppendCrChar = c.appendCr;
        rig.options.AppendLfChar = c.appendLf;
        rig.options.ShowCrChar = c.showCr;
        rig.options.ShowLfChar = c.showLf;
        rig.dialog.TypeAndOk(c.typed);
        ManualSendFromChannel(rig.senderCtx, 1);
        EXPECT_EQ(rig.dialog.Shown.size(), 1u) << c.name;
        EXPECT_EQ(rig.Sent(), c.sent) << c.name;
        EXPECT_EQ(rig.field.Texts(), c.lines) << c.name;
        EXPECT_EQ(History(rig), c.history) << c.name;
    }
}

TEST(ManualSend, HexInBlocksOfTheHexLineLength) {
    SenderRig rig;
    Recording(rig);
    rig.options.LogMode = LogMode::Hex;
    rig.options.HexLineByteCount = 4;
    rig.options.ShowChannelId = false;
    rig.dialog.TypeAndOk("01 02 41 42 0D 43");
    ManualSendFromChannel(rig.senderCtx, 1);
    EXPECT_EQ(rig.dialog.Shown[0].Request.Caption, " Kestrum: Send byte sequence from COM1");
    EXPECT_EQ(rig.dialog.Shown[0].Request.Prompt, "Hex codes of the bytes to be sent (separated by blanks):");
    EXPECT_EQ(rig.dialog.Shown[0].Request.MaxLength, 0);
    EXPECT_EQ(rig.Sent(), std::string("\x01\x02" "AB\r" "C"));
    EXPECT_EQ(rig.field.Texts(), (Strings{"01 02 41 42   \x01\x01" "AB", "0D 43" + std::string(9, ' ') + "\x01" "C"}));
    EXPECT_EQ(rig.state.Lines[0].Mode, LogMode::Hex);
}

TEST(ManualSend, HexThatDoesNotConvertOpensTheDialogAgainWithTheText) {
    struct Case {
        const char* name;
        std::string typed;
        std::size_t messages;
    } cases[] = {{"an invalid digit", "41 4G", 1}, {"nothing but signs", "$ -", 0}};
    for (const Case& c : cases) {
        SenderRig rig;
        Recording(rig);
        rig.options.LogMode = LogMode::Hex;
        rig.channels.Channel(1).InputHistory = {"30"};
        rig.dialog.TypeAndOk(c.typed);
        rig.dialog.TypeAndOk("41");
        ManualSendFromChannel(rig.senderCtx, 1);
        ASSERT_EQ(rig.dialog.Shown.size(), 2u) << c.name;
        EXPECT_EQ(rig.messages.Boxes.size(), c.messages) << c.name;
        EXPECT_TRUE(rig.dialog.Shown[1].Request.KeepText) << c.name;
        EXPECT_EQ(rig.dialog.Shown[1].Text, c.typed) << c.name;
        // An entry that is not hex text is dropped from the list.
        const Strings second = rig.dialog.Shown[1].List;
        EXPECT_EQ(std::count(second.begin(), second.end(), "41 4G"), 0) << c.name;
        EXPECT_EQ(rig.Sent(), "A") << c.name;
    }
}

TEST(ManualSend, ClearHistorySendsNothingUnlessSomethingIsTypedAfterIt) {
    for (bool typesAfter : {false, true}) {
        SenderRig rig;
        Recording(rig);
        rig.channels.Channel(1).InputHistory = {"61", "62"};
        rig.dialog.ClearHistoryThenOk(typesAfter ? "new" : "", typesAfter);
        ManualSendFromChannel(rig.senderCtx, 1);
        EXPECT_EQ(rig.Sent(), typesAfter ? "new\r\n" : "") << typesAfter;
        EXPECT_EQ(History(rig), typesAfter ? Strings{"6E 65 77"} : Strings{"<NullString>"}) << typesAfter;
    }
}

TEST(ManualSend, LongAsciiIsCutAt255AndKeptAsHexText) {
    SenderRig rig;
    Recording(rig);
    rig.options.AppendCrChar = rig.options.AppendLfChar = false;
    rig.dialog.TypeAndOk(std::string(300, 'x'));
    ManualSendFromChannel(rig.senderCtx, 1);
    EXPECT_EQ(rig.Sent(), std::string(255, 'x'));
    ASSERT_EQ(History(rig).size(), 1u);
    EXPECT_EQ(History(rig)[0].rfind("78 78 78", 0), 0u);  // not the error text
}

TEST(ManualSend, AFailedWriteIsReportedAndNotShownAsSent) {
    SenderRig rig;
    Recording(rig);
    rig.ports.CloseHandle(rig.channels.Channel(1).Handle);  // the write fails
    rig.dialog.TypeAndOk("hello");
    ManualSendFromChannel(rig.senderCtx, 1);
    EXPECT_TRUE(rig.field.Texts().empty());
    EXPECT_EQ(rig.messages.Calls, (Strings{"beep", "box"}));
    EXPECT_EQ(rig.messages.Boxes[0].Text.rfind("The data could not be sent through the COM1 port.", 0), 0u);
    EXPECT_EQ(History(rig), Strings{"68 65 6C 6C 6F"});
}

TEST(ManualSend, UnwrittenLinesAreWrittenBeforeTheDialogOpens) {
    SenderRig rig;
    Recording(rig);
    LineRecord& line = rig.state.Lines[2];
    line.LineText.assign("COM2: xyz");
    line.Mode = LogMode::Ascii;
    line.Written = false;
    Strings atDialog;
    rig.dialog.Replies.push_back([&](std::string& text, Strings& items) {
        atDialog = rig.field.Texts();
        text = "a";
        AddInputLineToHistory(items, text, 16);
        return InputLineOutcome{false, false};
    });
    ManualSendFromChannel(rig.senderCtx, 1);
    EXPECT_EQ(atDialog, Strings{"COM2: xyz"});
    EXPECT_EQ(rig.field.Texts(), (Strings{"COM2: xyz", "User: a<CR>"}));
}

TEST(ManualSend, InputThatArrivedWhileTheDialogWasOpenComesAboveTheSentLine) {
    SenderRig rig;
    rig.options.ShowTimeTags = false;
    rig.ports.StampClock = &rig.clock;
    rig.OpenChannel(1);
    rig.OpenChannel(2);
    rig.dialog.Replies.push_back([&](std::string& text, Strings& items) {
        rig.Feed(2, "during\n");
        text = "hello";
        AddInputLineToHistory(items, text, 16);
        return InputLineOutcome{false, false};
    });
    rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                  [&] {
                      rig.Feed(1, "open");  // a line begun before the dialog
                      ManualSendFromChannel(rig.senderCtx, 1);
                      rig.Feed(1, "reply\n");
                  });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Strings{"COM1: open", "COM2: during", "User: hello<CR>", "COM1: reply"}));
    EXPECT_TRUE(rig.state.DeferredLines.empty());
}

TEST(ManualSend, ALineStillWaitingWhenTheRecordingStopsIsWrittenBeforeTheStopLine) {
    SenderRig rig;
    rig.options.ShowTimeTags = false;
    rig.options.ShowStartStopTime = true;
    rig.ports.StampClock = &rig.clock;
    rig.OpenChannel(1);
    rig.dialog.TypeAndOk("bye");
    rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                  [&] {
                      rig.Feed(1, "late\n");
                      ManualSendFromChannel(rig.senderCtx, 1);
                      rig.ClickStop();
                  });
    rig.Start();
    const Strings lines = rig.field.Texts();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "User: bye<CR>");
    EXPECT_EQ(lines.back().rfind("Stop:", 0), 0u);
}

TEST(ManualSend, OnlyWhileRecordingInMonitorModeFromAnActiveChannel) {
    struct Case {
        const char* name;
        std::function<void(SenderRig&)> change;
        int channel;
    } cases[] = {
        {"not recording", [](SenderRig& rig) { rig.state.Recording.Running = false; }, 1},
        {"sender mode", [](SenderRig& rig) { rig.options.MonitorMode = false; }, 1},
        {"inactive channel", [](SenderRig&) {}, 2},
        {"no channel", [](SenderRig&) {}, 9},
    };
    for (const Case& c : cases) {
        SenderRig rig;
        Recording(rig);
        c.change(rig);
        ManualSendFromChannel(rig.senderCtx, c.channel);
        EXPECT_TRUE(rig.dialog.Shown.empty()) << c.name;
    }
}

TEST(ManualSend, CancelChangesNothing) {
    SenderRig rig;
    Recording(rig);
    rig.channels.Channel(1).InputHistory = {"61"};
    rig.dialog.Cancel();
    ManualSendFromChannel(rig.senderCtx, 1);
    EXPECT_EQ(rig.Sent(), "");
    EXPECT_EQ(History(rig), Strings{"61"});
}

TEST(ManualSend, PendingTextFollowsTheDisplayMode) {
    SenderRig rig;
    rig.sender.Channel(1).LastInputLine = "AB";
    rig.sender.Channel(2).LastInputLine = std::string(20, 'x');
    rig.options.HexLineByteCount = 16;
    ConvertLastInputLines(rig.senderCtx, LogMode::Hex);
    EXPECT_EQ(rig.sender.Channel(1).LastInputLine, "41 42");
    EXPECT_EQ(rig.sender.Channel(2).LastInputLine, "Error: The ASCII string contains more than 16 characters.");
    ConvertLastInputLines(rig.senderCtx, LogMode::Ascii);
    EXPECT_EQ(rig.sender.Channel(1).LastInputLine, "AB");
    EXPECT_EQ(rig.sender.Channel(2).LastInputLine, "");
}

}  // namespace
}  // namespace kestrum
