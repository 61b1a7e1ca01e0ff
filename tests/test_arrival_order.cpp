// The order and time of arrival in the recording: the arrival-order rule of
// a pass over stamped input (two and eight channels, chunks that arrived
// together or one after the other, a loop that keeps up and one that lags),
// time tags from the arrival time (counter, date-time, day wrap, a byte just
// before the origin), the trigger's origin at its first byte's arrival, and
// the note of dropped input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/arrival_order.h"
#include "capture/capture_loop.h"
#include "capture/protocol_clock.h"
#include "channels/trigger_fields.h"
#include "fakes/capture_rig.h"

namespace kestrum {
namespace {

using fakes::CaptureRig;
using Lines = std::vector<std::string>;

struct Chunk {
    int Channel;
    const char* Bytes;
    std::uint64_t Sequence;  // equal numbers: arrived together
};

std::string Port(int channel) { return "COM" + std::to_string(channel); }

void FeedChunk(CaptureRig& rig, const Chunk& chunk) {
    InputArrival arrival;
    arrival.Sequence = chunk.Sequence;
    rig.clock.QueryPerformanceCounter(arrival.Counter);
    arrival.LocalTime = rig.clock.Now();
    rig.ports.FeedChunk(Port(chunk.Channel), chunk.Bytes, arrival);
}

// Records `chunks` on `channels` channels: all waiting before the first pass
// (lagging), or each fed once the one before has been read (keeping up).
Lines Record(int channels, const std::vector<Chunk>& chunks, bool lagging) {
    CaptureRig rig;
    rig.options.ShowCrChar = false;
    for (int n = 1; n <= channels; ++n) rig.OpenChannel(n);
    if (lagging) {
        rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                      [&] {
                          for (const Chunk& chunk : chunks) FeedChunk(rig, chunk);
                      });
    } else {
        rig.pump.When([&] { return rig.state.Recording.FirstPhase; }, [&] { FeedChunk(rig, chunks.front()); });
        for (std::size_t i = 1; i < chunks.size(); ++i) rig.WhenDrained([&, i] { FeedChunk(rig, chunks[i]); });
    }
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_TRUE(rig.pump.ScriptDone());
    return rig.DataLines();
}

TEST(ArrivalOrder, APassReadsByChunkArrival) {
    struct Case {
        const char* Name;
        int Channels;
        std::vector<Chunk> Chunks;
        bool Lagging;
        Lines Expected;
    };
    const std::vector<Case> cases = {
        {"two channels, lines one after the other, lagging",
         2, {{1, "A1\n", 1}, {2, "B1\n", 2}, {1, "A2\n", 3}}, true,
         {"COM1: A1", "COM2: B1", "COM1: A2"}},
        {"two channels, the second channel's line arrived first, lagging",
         2, {{2, "B1\n", 1}, {1, "A1\n", 2}}, true,
         {"COM2: B1", "COM1: A1"}},
        {"two channels, the same, keeping up",
         2, {{2, "B1\n", 1}, {1, "A1\n", 2}}, false,
         {"COM2: B1", "COM1: A1"}},
        {"two channels, chunks that arrived together interleave byte by byte",
         2, {{1, "ab", 1}, {2, "xy", 1}}, true,
         {"COM1: a", "COM2: x", "COM1: b", "COM2: y"}},
        {"two channels, bytes that truly arrived interleaved still interleave",
         2, {{1, "a", 1}, {2, "x", 2}, {1, "b", 3}, {2, "y", 4}}, true,
         {"COM1: a", "COM2: x", "COM1: b", "COM2: y"}},
        {"two channels, a line in two chunks stays whole while the other waits",
         2, {{1, "HEL", 1}, {1, "LO\n", 2}, {2, "OK\n", 3}}, true,
         {"COM1: HELLO", "COM2: OK"}},
        {"eight channels, lines in reverse channel order, lagging",
         8, {{8, "h\n", 1}, {7, "g\n", 2}, {6, "f\n", 3}, {5, "e\n", 4}, {4, "d\n", 5}, {3, "c\n", 6},
             {2, "b\n", 7}, {1, "a\n", 8}}, true,
         {"COM8: h", "COM7: g", "COM6: f", "COM5: e", "COM4: d", "COM3: c", "COM2: b", "COM1: a"}},
        {"eight channels, the same, keeping up",
         8, {{8, "h\n", 1}, {7, "g\n", 2}, {6, "f\n", 3}, {5, "e\n", 4}, {4, "d\n", 5}, {3, "c\n", 6},
             {2, "b\n", 7}, {1, "a\n", 8}}, false,
         {"COM8: h", "COM7: g", "COM6: f", "COM5: e", "COM4: d", "COM3: c", "COM2: b", "COM1: a"}},
        {"eight channels that arrived together take turns as in the plain pass",
         8, {{1, "1", 1}, {2, "2", 1}, {3, "3", 1}, {4, "4", 1}, {5, "5", 1}, {6, "6", 1}, {7, "7", 1},
             {8, "8", 1}}, true,
         {"COM1: 1", "COM2: 2", "COM3: 3", "COM4: 4", "COM5: 5", "COM6: 6", "COM7: 7", "COM8: 8"}},
        {"eight channels, two together among lines in order",
         8, {{5, "e\n", 1}, {3, "ab", 2}, {6, "xy", 2}, {1, "z\n", 3}}, true,
         // 6 reads in the pass that finished 5's line, 3's turn had passed
         {"COM5: e", "COM6: x", "COM3: a", "COM6: y", "COM3: b", "COM1: z"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Record(c.Channels, c.Chunks, c.Lagging), c.Expected) << c.Name;
}

TEST(ArrivalOrder, UnstampedInputIsReadAsInThePlainPass) {
    CaptureRig rig;
    rig.OpenChannel(1);
    rig.OpenChannel(2);
    rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                  [&] {
                      rig.Feed(2, "x");
                      rig.Feed(1, "a");
                  });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: a", "COM2: x"}));
}

TEST(ArrivalOrder, InputThatArrivesDuringAPassWaitsForTheNext) {
    fakes::FakeSerialPorts ports;
    ChannelTable channels;
    for (int n = 1; n <= 2; ++n) {
        ports.Port(Port(n));
        OpenFailure failure;
        channels.Channel(n).Handle = ports.CreateFile(Port(n), failure);
    }
    ports.FeedChunk("COM2", "late", {5, 0, 0.0, 0});
    ports.FeedChunk("COM1", "early", {4, 0, 0.0, 0});
    ArrivalOrder order;
    order.Begin(ports, channels, (1u << 1) | (1u << 2));
    EXPECT_TRUE(order.MayRead(1));
    EXPECT_FALSE(order.MayRead(2));
    ports.FeedChunk("COM1", "later", {6, 0, 0.0, 0});  // after the pass began
    std::uint8_t bytes[5];
    std::uint32_t got = 0;
    ports.ReadFile(channels.Channel(1).Handle, bytes, 5, got);  // "early", read in one go
    order.Advance(ports, channels, 1);
    EXPECT_FALSE(order.MayRead(1)) << "its next chunk came during the pass";
    EXPECT_TRUE(order.MayRead(2));
    ASSERT_NE(order.Next(2), nullptr);
    EXPECT_EQ(order.Next(2)->Sequence, 5u);
    EXPECT_EQ(order.Next(1), nullptr);
}

// ---- time tags from the arrival time ---------------------------------------

TEST(ArrivalTime, SecondsSinceTheOriginFromTheArrival) {
    constexpr double kDay = 1.0 / kSecondsPerDay;  // one second in days
    struct Case {
        const char* Name;
        bool Counter;
        double ArrivalAfterOrigin;  // seconds; negative: before it
        double OriginTimeOfDay;     // seconds since midnight
        double Expected;
    };
    const Case cases[] = {
        {"counter, 2.5 s after the origin", true, 2.5, 43200, 2.5},
        {"counter, a day and a half after", true, 129600, 43200, 129600},
        {"counter, moments before the origin count as at it", true, -0.002, 43200, 0},
        {"date-time, 2.5 s after the origin", false, 2.5, 43200, 2.5},
        {"date-time, across midnight", false, 1.2, 86399.5, 1.2},
        {"date-time, past a whole day starts again at 0", false, 86400 + 3, 600, 3},
        {"date-time, moments before the origin count as at it", false, -0.3, 43200, 0},
        {"date-time, a clock set back an hour gives a time of day", false, -3600, 43200, 86400 - 3600},
    };
    for (const Case& c : cases) {
        ProtocolClock clock;
        clock.CounterAvailable = c.Counter;
        clock.CounterFrequency = c.Counter ? 1e7 : 0.0;
        clock.CounterOrigin = 5'000'000;
        clock.TimeOrigin = 45000.0 + c.OriginTimeOfDay * kDay;
        InputArrival arrival;
        arrival.Counter = clock.CounterOrigin + static_cast<std::int64_t>(c.ArrivalAfterOrigin * 1e7);
        arrival.LocalTime = clock.TimeOrigin + c.ArrivalAfterOrigin * kDay;
        EXPECT_NEAR(ArrivalSeconds(clock, arrival), c.Expected, 1e-3) << c.Name;
    }
}

TEST(ArrivalTime, ALineReadLateCarriesTheTimeItsFirstByteArrived) {
    for (const bool counter : {true, false}) {
        CaptureRig rig;
        rig.clock.HasCounter = counter;
        SetUpProtocolClock(rig.state.ProtocolTime, rig.clock);
        rig.options.ShowTimeTags = true;
        rig.options.ShowCrChar = false;
        rig.clock.SetTimeOfDay(86399.0);  // the recording starts a second before midnight
        rig.ports.StampClock = &rig.clock;
        rig.OpenChannel(1);
        rig.OpenChannel(2);
        rig.pollTimer.SecondsPerWait = 0.0;
        rig.pump.When([&] { return rig.state.Recording.FirstPhase && rig.field.LineCount() == 1; },
                      [&] {
                          rig.clock.Advance(0.25);
                          rig.Feed(2, "B");  // 0.25 s
                          rig.clock.Advance(1.0);
                          rig.Feed(1, "A\n");  // 1.25 s, after midnight
                          rig.Feed(2, "\n");
                          rig.clock.Advance(3.0);  // read 3 s after they arrived
                      });
        rig.StopWhenDrained();
        rig.Start();
        const std::string tag1 = counter ? "0.250000" : "0.250";
        const std::string tag2 = counter ? "1.250000" : "1.250";
        EXPECT_EQ(rig.DataLines(), (Lines{tag1 + "  COM2: B", tag2 + "  COM1: A", tag2 + "  COM2: "}))
            << (counter ? "counter" : "date-time");
    }
}

TEST(ArrivalTime, TheTriggerWordsFirstByteArrivalIsTheOrigin) {
    CaptureRig rig;
    rig.options.ShowTimeTags = true;
    rig.options.ShowTriggerWords = false;
    rig.options.ShowCrChar = false;
    rig.options.TriggerOn = true;
    rig.ports.StampClock = &rig.clock;
    rig.OpenChannel(1);
    ChannelRecord& record = rig.channels.Channels[1];
    SetTriggerBytes(record, "GO");
    SetTriggerEnabled(record, true);
    rig.pollTimer.SecondsPerWait = 0.0;
    rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                  [&] {
                      rig.Feed(1, "xG");
                      rig.clock.Advance(0.5);
                      rig.Feed(1, "O!\n");
                      rig.clock.Advance(0.5);
                      rig.Feed(1, "next\n");
                      rig.clock.Advance(2.0);
                  });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"0.000000  COM1: GO!", "1.000000  COM1: next"}));
}

// ---- dropped input ------------------------------------------------------------

TEST(ArrivalOrder, DroppedInputIsNotedWhereItWasLeftOut) {
    CaptureRig rig;
    rig.options.ShowCrChar = false;
    rig.ports.StampClock = &rig.clock;
    rig.channels.Fonts[kMasterEntry].FontColor = 0x123456;
    rig.OpenChannel(1);
    rig.OpenChannel(2);
    rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                  [&] {
                      rig.Feed(1, "before");
                      rig.Feed(2, "two\n");
                      rig.ports.DropInput("COM1", 4096);
                      rig.Feed(1, "after\n");
                  });
    rig.StopWhenDrained();
    rig.Start();
    EXPECT_EQ(rig.DataLines(), (Lines{"COM1: before", "COM2: two",
                                      "COM1: 4096 bytes lost: more than 16 MiB were waiting to be shown.",
                                      "COM1: after"}));
    EXPECT_EQ(rig.field.Lines[3].Attributes.Color, 0x123456) << "in the master font";
}

TEST(ArrivalOrder, DroppedInputAtTheEndOfAQueueIsNotedWithoutWaitingForMore) {
    CaptureRig rig;
    rig.options.Language = 2;
    rig.ports.StampClock = &rig.clock;
    rig.OpenChannel(3);
    rig.pump.When([&] { return rig.state.Recording.FirstPhase; },
                  [&] {
                      rig.Feed(3, "open");
                      rig.ports.DropInput("COM3", 7);
                  });
    rig.pump.When([&] { return rig.DataLines().size() == 2; }, [&] { rig.ClickStop(); });
    rig.Start();
    EXPECT_EQ(rig.DataLines(),
              (Lines{"COM3: open", "COM3: 7 Bytes verloren: mehr als 16 MiB warteten auf die Anzeige."}));
}

}  // namespace
}  // namespace kestrum
