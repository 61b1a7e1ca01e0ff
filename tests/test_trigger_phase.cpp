#include <gtest/gtest.h>

#include "capture/capture_loop.h"
#include "capture/protocol_clock.h"
#include "capture/trigger_phase.h"
#include "channels/trigger_fields.h"
#include "fakes/capture_rig.h"

namespace kestrum {
namespace {

using fakes::CaptureRig;
using Lines = std::vector<std::string>;

void ArmTrigger(CaptureRig& rig, int n, const std::string& word, bool autoReset = false) {
    ChannelRecord& record = rig.channels.Channels[static_cast<std::size_t>(n)];
    SetTriggerBytes(record, word);
    SetTriggerEnabled(record, true);
    record.TriggerOneShot = autoReset;
    rig.options.TriggerOn = true;
}

// Index of the byte at which the word completes, or -1.
int FiringIndex(const std::string& word, const std::string& input) {
    CaptureRig rig;
    ArmTrigger(rig, 1, word);
    rig.state.Recording.MatchPosition.fill(1);
    for (std::size_t i = 0; i < input.size(); ++i)
        if (MatchStep(rig.ctx, 1, static_cast<std::uint8_t>(input[i]))) return static_cast<int>(i);
    return -1;
}

TEST(TriggerMatch, OverlappingPrefixesAreNotSearchedAgain) {
    struct Case {
        const char* Word;
        const char* Input;
        int Fires;
    };
    const Case cases[] = {
        {"AAB", "AAB", 2},     {"AAB", "AXAAB", 4},  {"AAB", "AAAB", -1},
        {"AAB", "AAAAB", 4},   {"AAB", "AABAAB", 2}, {"A", "xxA", 2},
        {"ABC", "ABABC", 4},   {"ABAC", "ABABAC", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FiringIndex(c.Word, c.Input), c.Fires) << c.Word << " in " << c.Input;
}

TEST(TriggerMatch, FirstByteOfAMatchTakesTheTimeOrigin) {
    CaptureRig rig;
    rig.options.ShowTimeTags = true;
    ArmTrigger(rig, 1, "XYZ");
    rig.state.Recording.MatchPosition.fill(1);
    MatchStep(rig.ctx, 1, 'X');
    const auto firstByte = rig.clock.Counter;
    rig.clock.Advance(1.0);
    MatchStep(rig.ctx, 1, 'Y');
    EXPECT_EQ(rig.state.ProtocolTime.CounterOrigin, firstByte);
    MatchStep(rig.ctx, 1, 'X');  // mismatch, compared with the first byte again
    EXPECT_EQ(rig.state.ProtocolTime.CounterOrigin, rig.clock.Counter);
    rig.clock.Advance(1.0);
    EXPECT_FALSE(MatchStep(rig.ctx, 1, 'Y'));
    EXPECT_TRUE(MatchStep(rig.ctx, 1, 'Z'));
    EXPECT_NEAR(ElapsedSeconds(rig.state.ProtocolTime, rig.clock), 1.0, 1e-9);
}

TEST(TriggerMatch, PositionBroughtBackIntoRangeWhenTheWordChanges) {
    CaptureRig rig;
    ArmTrigger(rig, 1, "ABCDEF");
    rig.state.Recording.MatchPosition.fill(1);
    for (char b : std::string("ABCDE")) MatchStep(rig.ctx, 1, static_cast<std::uint8_t>(b));
    SetTriggerBytes(rig.channels.Channels[1], "XY");  // shorter word during the wait
    EXPECT_FALSE(MatchStep(rig.ctx, 1, 'X'));
    EXPECT_TRUE(MatchStep(rig.ctx, 1, 'Y'));
    SetTriggerBytes(rig.channels.Channels[1], "");  // no word: never fires
    EXPECT_FALSE(MatchStep(rig.ctx, 1, 'X'));
}

TEST(TriggerPhase, ListsTheWordsDropsDataBeforeTheHitAndStartsTheLineWithTheWord) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.OpenChannel(2);
    ArmTrigger(rig, 1, "GO");
    rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                  [&] {
                      rig.Feed(1, "xxGO on\n");
                      rig.Feed(2, "los");  // read and dropped in the passes before the hit
                  });
    rig.StopWhenDrained();
    rig.Start();
    const Lines texts = rig.field.Texts();
    ASSERT_EQ(texts.size(), 6u) << ::testing::PrintToString(texts);
    EXPECT_EQ(texts[0], "Trigger words:");
    EXPECT_EQ(texts[1], "COM1: 47 4F  GO");
    EXPECT_EQ(texts[2], "");
    EXPECT_EQ(texts[3].rfind("Start: ", 0), 0u);
    EXPECT_EQ(texts[4], "COM1: GO on");
    EXPECT_EQ(texts[5].rfind("Stop:  ", 0), 0u);
    EXPECT_EQ(rig.field.Lines[0].Attributes.FontName, rig.channels.Fonts[kMasterEntry].FontName);
    EXPECT_EQ(rig.state.Recording.TriggeredChannel, 1);
}

TEST(TriggerPhase, GermanListHeading) {
    CaptureRig rig;
    rig.options.Language = 2;
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "GO");
    rig.pump.ThenDo([&] { rig.ClickStop(); });
    rig.Start();
    EXPECT_EQ(rig.field.Texts().at(0), "Trigger-Worte:");
}

TEST(TriggerPhase, TriggerOnWithoutAnArmedActiveChannelRecordsAtOnce) {
    CaptureRig rig;
    rig.OpenChannel(1);
    ArmTrigger(rig, 2, "GO");  // channel 2 is not active
    rig.FeedWhenRecording(1, "data\n");
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), Lines{"COM1: data"});
    EXPECT_EQ(rig.field.Texts().at(0).rfind("Start: ", 0), 0u);
}

TEST(TriggerPhase, StopWhileWaitingEndsTheRunWithoutStartOrStopLine) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "GO");
    rig.FeedWhenRecording(1, "no trigger here\n");
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_TRUE(rig.field.Lines.empty());
    EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::Idle);
}

TEST(TriggerPhase, CrLfWordWithAutoResetWritesItsDisplayFormAndWaitsAgain) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "\r\n", true);
    rig.FeedWhenRecording(1, "before\r\nafter");
    rig.WhenQuiet([&] { rig.Feed(1, "\r\n"); });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: \xB6\xA4", "COM1: \xB6\xA4"}));
    EXPECT_EQ(rig.field.Texts().front().rfind("Start: ", 0), 0u);  // one start line
}

TEST(TriggerPhase, AutoResetRearmsAtALineEndButNotAtATimeOut) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "AB", true);
    rig.FeedWhenRecording(1, "ABC");
    rig.AdvanceWhenDrained(0.2);
    rig.pump.When([&] { return rig.DataLines() == Lines{"COM1: ABC"}; },
                  [&] { rig.Feed(1, "D\nlost"); });
    rig.WhenQuiet([&] { rig.Feed(1, "ABE\n"); });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: ABCD", "COM1: ABE"}));
}

TEST(TriggerPhase, WithoutAutoResetEverythingAfterTheHitIsRecorded) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "AB");
    rig.FeedWhenRecording(1, "xAB1\n2\n");
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: AB1", "COM1: 2"}));
}

TEST(TriggerPhase, TwoWordsCompletingInOnePassLowerChannelWins) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.OpenChannel(1);
    rig.OpenChannel(2);
    ArmTrigger(rig, 1, "AB");
    ArmTrigger(rig, 2, "XY");
    rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                  [&] {
                      rig.Feed(1, "AB");
                      rig.Feed(2, "XYZ");
                  });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.state.Recording.TriggeredChannel, 1);
    // Channel 2's Y was not read in the hitting pass: it is recorded.
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: AB", "COM2: YZ"}));
}

TEST(TriggerPhase, TriggeredLineHasTimeTagZero) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.options.ShowTimeTags = true;
    rig.pollTimer.SecondsPerWait = 0.0;
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "AB");
    rig.FeedWhenRecording(1, "A");
    rig.WhenQuiet([&] {
        rig.clock.Advance(0.5);
        rig.Feed(1, "B\n");
    });
    rig.WhenQuiet([&] {
        rig.clock.Advance(1.0);
        rig.Feed(1, "x\n");
    });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"0.000000  COM1: AB", "1.500000  COM1: x"}));
}

TEST(TriggerPhase, HexWordLongerThanTheLineIsWrittenAtOnce) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.options.LogMode = LogMode::Hex;
    rig.options.HexLineByteCount = 8;
    SetHexLineWidth(rig.state.Layout, rig.options);
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "0123456789AB");
    rig.FeedWhenRecording(1, "0123456789ABC");
    rig.StopWhenDrained();
    rig.Start();
    const Lines lines = rig.DataLines();
    ASSERT_EQ(lines.size(), 2u);
    // The word's column is as wide as a line of 12 bytes (40 characters).
    EXPECT_EQ(lines[0], "COM1: 30 31 32 33 34 35 36 37 - 38 39 41 42   0123456789AB");
    EXPECT_EQ(lines[1], "COM1: 43" + std::string(26 - 2, ' ') + "C");
}

TEST(TriggerPhase, HexTriggerLineContinuesWithTheNextBytes) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.options.LogMode = LogMode::Hex;
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "AB");
    rig.FeedWhenRecording(1, "ABC");
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), Lines{"COM1: 41 42 43" + std::string(52 - 8, ' ') + "ABC"});
}

// In hex display with auto reset the trigger line must be continued by the
// triggering channel's next bytes too; otherwise a byte arriving before the
// first time-out would begin a new line and the trigger word would be lost.
TEST(TriggerPhase, HexAutoResetKeepsTheTriggerWordWhenBytesFollowAtOnce) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.options.LogMode = LogMode::Hex;
    rig.options.HexLineByteCount = 4;
    SetHexLineWidth(rig.state.Layout, rig.options);
    rig.pollTimer.SecondsPerWait = 0.0;  // no time-out can come between
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "AB", true);
    rig.FeedWhenRecording(1, "ABCDEF");
    rig.WhenQuiet([&] { rig.Feed(1, "ABGH"); });
    rig.StopWhenDrained();
    rig.Start();
    // CD completes the trigger line and re-arms; EF is dropped while waiting.
    EXPECT_EQ(rig.DataLines(),
              (Lines{"COM1: 41 42 43 44   ABCD", "COM1: 41 42 47 48   ABGH"}));
}

TEST(TriggerPhase, DisplaySwitchBeforeThePassesStartsTheWordInTheNewForm) {
    CaptureRig rig;
    rig.options.ShowTriggerWords = false;
    rig.OpenChannel(1);
    ArmTrigger(rig, 1, "AB");
    rig.FeedWhenRecording(1, "AB");
    // Switched while the start line is written, after the hit.
    rig.pump.When([&] { return rig.state.Recording.TriggerHit; },
                  [&] { rig.options.LogMode = LogMode::Hex; });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), Lines{"COM1: 41 42" + std::string(52 - 5, ' ') + "AB"});
}

}  // namespace
}  // namespace kestrum
