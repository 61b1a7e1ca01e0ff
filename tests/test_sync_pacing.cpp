// Pacing between instances: the master's pulse and the follower's wait, with
// the sync event in memory.
#include <gtest/gtest.h>

#include "capture/capture_loop.h"
#include "fakes/sender_rig.h"
#include "sender/sync_pacing.h"
#include "sender/tx_timer_tick.h"

namespace kestrum {
namespace {

using fakes::SenderRig;

const std::string kEvent = "KestrumSyncEvent";

int Count(const std::vector<std::string>& calls, const std::string& call) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

TEST(SyncPacing, MasterCreatesTheEventAndPulsesItAtEveryPassStart) {
    SenderRig rig;
    rig.SenderMode({"A", "B"});
    OpenSyncEvent(rig.senderCtx);
    EXPECT_EQ(rig.syncEvents.Calls, std::vector<std::string>{"create"});
    rig.options.Synchronize = true;  // the master never waits, whatever it holds
    rig.StartSending();
    rig.Ticks(4);
    EXPECT_EQ(rig.Sent(), "A\r\nB\r\nA\r\nB\r\n");
    EXPECT_EQ(rig.syncEvents.Calls, (std::vector<std::string>{"create", "set", "reset", "set", "reset"}));
    CloseSyncEvent(rig.senderCtx);
    EXPECT_EQ(rig.syncEvents.Events[kEvent].Handles, 0);
}

TEST(SyncPacing, FollowerWaitsForThePulseAndKeepsPaceAfterIt) {
    SenderRig rig;
    rig.Follower();
    rig.syncEvents.HeldElsewhere(kEvent);
    rig.SenderMode({"A", "B"});
    rig.options.TxTimeInterval = 100;
    OpenSyncEvent(rig.senderCtx);
    rig.StartSending();
    // The master's pulse comes while the follower lets messages through.
    rig.pump.ThenDo([] {});
    rig.pump.ThenDo([&] { rig.syncEvents.Pulse(kEvent); });
    rig.Ticks(1);
    EXPECT_EQ(rig.Sent(), "A\r\n");
    EXPECT_EQ(rig.syncEvents.Waited, 2 * kSyncWaitPartMs);
    EXPECT_EQ(rig.syncEvents.Calls.back(), "wait 400");  // 2 x 2 lines x 100 ms
    EXPECT_TRUE(rig.timer.On);
    EXPECT_EQ(rig.timer.Value, 100u);
    rig.Ticks(1);
    EXPECT_EQ(rig.Sent(), "A\r\nB\r\n");
    // The tick after the last line comes after half an interval and waits.
    EXPECT_EQ(rig.timer.Value, 50u);
}

TEST(SyncPacing, FollowerTimeOutSendsNothingAndWaitsAgain) {
    SenderRig rig;
    rig.Follower();
    rig.syncEvents.HeldElsewhere(kEvent);
    rig.SenderMode({"A", "B"});
    rig.options.TxTimeInterval = 100;
    OpenSyncEvent(rig.senderCtx);
    rig.StartSending();
    rig.Ticks(2);
    EXPECT_EQ(rig.Sent(), "");
    EXPECT_EQ(Count(rig.syncEvents.Calls, "wait 400"), 2);
    EXPECT_EQ(rig.syncEvents.Parts, 20);  // messages went through every 20 ms
    EXPECT_TRUE(rig.timer.On);
    EXPECT_EQ(rig.sender.TxLineIndex, 0);
}

TEST(SyncPacing, StopCloseAndModeSwitchEndAWaitAtOnce) {
    struct Case {
        const char* name;
        std::function<void(SenderRig&)> act;
    } cases[] = {
        {"Stop", [](SenderRig& rig) { ClickStartButton(rig.capture); }},
        {"closing", [](SenderRig& rig) {
             rig.state.Recording.ActivityMarker = ActivityMarker::Closing;
             rig.state.Recording.Running = false;
         }},
        {"monitor mode", [](SenderRig& rig) {
             rig.options.MonitorMode = true;
             rig.state.Recording.Running = false;
         }},
    };
    for (const Case& c : cases) {
        SenderRig rig;
        rig.Follower();
        rig.syncEvents.HeldElsewhere(kEvent);
        rig.SenderMode(std::vector<std::string>(500, "line"));
        rig.options.TxTimeInterval = 1000;  // a wait of 2 x 500 x 1 s
        OpenSyncEvent(rig.senderCtx);
        rig.StartSending();
        rig.pump.ThenDo([&rig, &c] { c.act(rig); });
        rig.Ticks(1);
        EXPECT_EQ(rig.syncEvents.Calls.back(), "wait 1000000") << c.name;
        EXPECT_EQ(rig.syncEvents.Parts, 1) << c.name;
        EXPECT_EQ(rig.Sent(), "") << c.name;
        EXPECT_FALSE(rig.timer.On) << c.name;
        EXPECT_FALSE(rig.sender.TxBusy) << c.name;
    }
}

TEST(SyncPacing, FollowerWaitIsCapped) {
    struct Case {
        int lines;
        std::uint32_t interval;
        std::uint32_t wait;
    } cases[] = {{0, 1000, 0},          {1, 0, 0},          {2, 100, 400},
                 {500, 1000, 1000000}, {3000, 1000000, kMaxSyncWaitMs}, {2147483647, 0xFFFFFFFF, kMaxSyncWaitMs}};
    for (const Case& c : cases) EXPECT_EQ(FollowerWaitMs(c.lines, c.interval), c.wait) << c.lines << " x " << c.interval;
}

TEST(SyncPacing, AFollowerStartedBeforeTheMasterOpensTheEventAtAPassStart) {
    SenderRig rig;
    rig.Follower();
    rig.SenderMode({"A"});
    rig.options.TxTimeInterval = 10;
    OpenSyncEvent(rig.senderCtx);  // no master yet
    EXPECT_EQ(rig.sender.SyncEvent, kInvalidEventHandle);
    rig.StartSending();
    rig.Ticks(1);  // a wait that cannot be made goes on unsynchronised
    EXPECT_EQ(rig.Sent(), "A\r\n");

    rig.syncEvents.HeldElsewhere(kEvent);  // the master starts
    rig.Ticks(1);
    EXPECT_NE(rig.sender.SyncEvent, kInvalidEventHandle);
    EXPECT_EQ(rig.Sent(), "A\r\n");  // this time it waited, and timed out
    EXPECT_EQ(Count(rig.syncEvents.Calls, "open"), 3);
}

TEST(SyncPacing, OthersNeverWaitAndGetTheWholeIntervalBack) {
    struct Case {
        const char* name;
        int number;
        bool synchronize;
    } cases[] = {{"follower without Sync", 2, false}, {"instance 0", 0, true}};
    for (const Case& c : cases) {
        SenderRig rig;
        rig.Follower(c.number, c.synchronize);
        rig.SenderMode({"A", "B"});
        rig.options.TxTimeInterval = 100;
        rig.StartSending();
        rig.timer.Value = 50;  // left from an earlier synchronised pass
        rig.Ticks(3);
        EXPECT_EQ(rig.Sent(), "A\r\nB\r\nA\r\n") << c.name;
        EXPECT_EQ(Count(rig.syncEvents.Calls, "wait 400"), 0) << c.name;
        EXPECT_EQ(rig.timer.Value, 100u) << c.name;
    }
}

TEST(SyncPacing, HalfAnIntervalIsAtLeastOneMillisecond) {
    SenderRig rig;
    rig.Follower();
    rig.SenderMode({"A"});
    rig.options.TxTimeInterval = 1;
    rig.StartSending();
    rig.Ticks(1);  // no event: goes on and sends
    EXPECT_EQ(rig.Sent(), "A\r\n");
    EXPECT_EQ(rig.timer.Value, 1u);  // not 0, which would stop the ticks
}

}  // namespace
}  // namespace kestrum
