// The switch between monitor mode and sender mode.
#include <gtest/gtest.h>

#include "fakes/sender_rig.h"
#include "sender/mode_switch.h"
#include "sender/sender_controls.h"
#include "sender/tx_timer_tick.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

using fakes::SenderRig;

// Channels 1 and 2 recorded (2 with its trigger enabled), 3 the sender channel.
void ThreePorts(SenderRig& rig) {
    for (int n : {1, 2, 3}) {
        rig.OpenChannel(n);
        rig.channels.Channel(n).MonitorChannel = n != 3;
    }
    rig.ports.CloseHandle(rig.channels.Channel(3).Handle);
    ChannelRecord& third = rig.channels.Channel(3);
    third.Open = third.Active = false;
    third.Handle = kInvalidPortHandle;
    rig.channels.Channel(2).TriggerBytes = "x";
    rig.channels.Channel(2).TriggerLength = 1;
    rig.channels.Channel(2).TriggerEnabled = true;
    rig.options.SenderChannel = 3;
}

TEST(ModeSwitch, ToSenderModeClosesTheRecordedPortsAndOpensTheSenderPort) {
    SenderRig rig;
    rig.Follower();
    ThreePorts(rig);
    SetUpSenderControls(rig.senderCtx);
    rig.state.Recording.Running = true;  // a recording runs further down
    SpeedButtonMonitorOrSenderOnMouseDown(rig.senderCtx, false, true);

    EXPECT_FALSE(rig.options.MonitorMode);
    EXPECT_TRUE(rig.options.SenderMode);
    EXPECT_TRUE(rig.sender.PreviousMonitorMode);
    EXPECT_FALSE(rig.state.Recording.Running);
    for (int n : {1, 2}) EXPECT_FALSE(rig.ports.IsOpen("COM" + std::to_string(n))) << n;
    EXPECT_TRUE(rig.ports.IsOpen("COM3"));
    EXPECT_TRUE(rig.channels.Channel(3).Active);
    EXPECT_FALSE(rig.channels.Channel(1).Active);
    const MainView& view = rig.view;
    EXPECT_TRUE(view.Sender.Down);
    EXPECT_FALSE(view.Monitor.Down);
    EXPECT_FALSE(view.Trigger.Visible);
    EXPECT_TRUE(view.Sync.Visible && view.Sync.Enabled);
    EXPECT_TRUE(view.TxTimeInterval.Visible && view.UpDownTxTimeInterval.Visible);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(view.ChannelButton(n).GroupIndex, 1) << n;
        EXPECT_FALSE(view.ChannelButton(n).Underline) << n;
        EXPECT_EQ(view.ChannelButton(n).Down, n == 3) << n;
    }
    EXPECT_EQ(view.ChannelButton(3).Hint, "Deactivate COM3 port");
    EXPECT_EQ(rig.captionUpdates.size(), 1u);
    EXPECT_TRUE(rig.state.StartButton.Enabled);
    EXPECT_EQ(rig.state.StartButton.HintRow, kTextStartSending);
}

TEST(ModeSwitch, BackToMonitorModeWhileSendingStopsItAndReopensTheRecordedPorts) {
    SenderRig rig;
    ThreePorts(rig);
    SpeedButtonMonitorOrSenderOnMouseDown(rig.senderCtx, false, true);
    rig.field.AppendLine("A");
    rig.StartSending();
    ASSERT_TRUE(rig.timer.On);

    SpeedButtonMonitorOrSenderOnMouseDown(rig.senderCtx, true, true);
    EXPECT_FALSE(rig.timer.On);
    EXPECT_FALSE(rig.state.Recording.Running);
    EXPECT_EQ(rig.state.Recording.ActivityMarker, ActivityMarker::Idle);  // the Stop steps ran
    EXPECT_TRUE(rig.hooks.EditSearchEnabled);
    EXPECT_FALSE(rig.ports.IsOpen("COM3"));
    EXPECT_TRUE(rig.ports.IsOpen("COM1") && rig.ports.IsOpen("COM2"));
    EXPECT_TRUE(rig.view.Trigger.Visible);
    EXPECT_FALSE(rig.view.Sync.Visible || rig.view.TxTimeInterval.Visible);
    EXPECT_EQ(rig.view.ChannelButton(2).GroupIndex, 2);
    EXPECT_TRUE(rig.view.ChannelButton(2).Underline);  // trigger enabled and active
    EXPECT_FALSE(rig.view.ChannelButton(1).Underline);
    EXPECT_EQ(rig.state.StartButton.HintRow, kTextStartRecording);
    EXPECT_FALSE(rig.view.Sync.Enabled);  // master
}

TEST(ModeSwitch, OnlyAPlainLeftClickOnTheOtherModeSwitches) {
    SenderRig rig;
    ThreePorts(rig);
    SpeedButtonMonitorOrSenderOnMouseDown(rig.senderCtx, false, false);  // right, or with Ctrl
    EXPECT_TRUE(rig.options.MonitorMode);
    EXPECT_TRUE(rig.ports.IsOpen("COM1"));
    SpeedButtonMonitorOrSenderOnMouseDown(rig.senderCtx, true, true);  // the mode that is on
    EXPECT_TRUE(rig.options.MonitorMode);
    EXPECT_TRUE(rig.ports.IsOpen("COM1"));
    EXPECT_TRUE(rig.captionUpdates.empty());
    EXPECT_EQ(rig.ports.Port("COM1").Closes, 0);
}

TEST(ModeSwitch, MouseUpActsOnlyAfterASwitchingMouseDown) {
    SenderRig rig;
    ThreePorts(rig);
    SpeedButtonMonitorOrSenderOnMouseDown(rig.senderCtx, false, true);
    SpeedButtonMonitorOrSenderOnMouseUp(rig.senderCtx);
    EXPECT_FALSE(rig.state.Recording.Running);
    EXPECT_TRUE(rig.state.StartButton.Enabled);

    // Sending starts; a later click that switches nothing must not stop it.
    rig.field.AppendLine("A");
    rig.StartSending();
    SpeedButtonMonitorOrSenderOnMouseDown(rig.senderCtx, false, true);
    SpeedButtonMonitorOrSenderOnMouseUp(rig.senderCtx);
    EXPECT_TRUE(rig.state.Recording.Running);
    EXPECT_TRUE(rig.timer.On);
}

TEST(ModeSwitch, AFullProtocolKeepsTheStartButtonDisabled) {
    SenderRig rig;
    ThreePorts(rig);
    rig.state.Recording.ProtocolFull = true;
    rig.state.StartButton.Enabled = false;
    SpeedButtonMonitorOrSenderOnMouseDown(rig.senderCtx, false, true);
    SpeedButtonMonitorOrSenderOnMouseUp(rig.senderCtx);
    EXPECT_FALSE(rig.state.StartButton.Enabled);
}

TEST(SenderControls, IntervalEditUpDownAndSyncButton) {
    SenderRig rig;
    rig.Follower(2, false);
    rig.options.TxTimeInterval = 1000;
    SetUpSenderControls(rig.senderCtx);
    EXPECT_EQ(rig.view.TxTimeInterval.Caption, "1000");
    EXPECT_EQ(rig.sender.UpDownPosition, 6);
    EXPECT_FALSE(rig.timer.On);

    rig.timer.IntervalsSet.clear();
    for (const char* text : {"", "5", "50", "500"}) EditTxTimeIntervalOnChange(rig.senderCtx, text);
    EXPECT_EQ(rig.timer.IntervalsSet, (std::vector<std::uint32_t>{1000, 5, 50, 500}));
    EXPECT_EQ(rig.options.TxTimeInterval, 500u);
    EXPECT_EQ(rig.view.TxTimeInterval.Caption, "500");
    EXPECT_EQ(rig.sender.UpDownPosition, 5);
    EXPECT_EQ(rig.messages.Beeps.size(), 1u);  // the empty text

    EditTxTimeIntervalOnChange(rig.senderCtx, "0");
    EXPECT_EQ(rig.timer.Value, 0u);  // the timer's own rule: no ticks
    UpDownTxTimeIntervalOnClick(rig.senderCtx, +1);
    EXPECT_EQ(rig.options.TxTimeInterval, 20u);
    EXPECT_EQ(rig.view.TxTimeInterval.Caption, "20");
    for (int i = 0; i < 12; ++i) UpDownTxTimeIntervalOnClick(rig.senderCtx, +1);
    EXPECT_EQ(rig.options.TxTimeInterval, 10000u);
    EXPECT_EQ(rig.timer.Value, 10000u);

    SpeedButtonSyncOnClick(rig.senderCtx);
    EXPECT_TRUE(rig.options.Synchronize);
    EXPECT_TRUE(rig.view.Sync.Down);
    EXPECT_EQ(rig.view.Sync.Hint, "Deactivate synchonization\rwith the master instance");
    SpeedButtonSyncOnClick(rig.senderCtx);
    EXPECT_FALSE(rig.view.Sync.Down);
    EXPECT_EQ(rig.view.Sync.Hint, "Activate synchonization\rwith the master instance");
}

}  // namespace
}  // namespace kestrum
