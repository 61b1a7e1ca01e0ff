#include "sender/mode_switch.h"

#include "capture/start_button.h"
#include "channels/channel_button_click.h"
#include "channels/port_operations.h"
#include "sender/tx_timer_tick.h"

namespace kestrum {
namespace {

// The Start button disabled and enabled again, with messages let through
// after each step: a running recording sees that it has to end. A full
// protocol keeps it disabled.
void PulseStartButton(SenderContext& c) {
    StartButtonView& start = c.capture.state.StartButton;
    start.Enabled = false;
    c.capture.pump.ProcessMessages();
    start.Enabled = !c.capture.state.Recording.ProtocolFull;
    c.capture.pump.ProcessMessages();
}

void ShowModeControls(SenderContext& c, bool monitor) {
    c.view.ShowModeControls(monitor, c.instance.Number > 1);
    c.view.Changed();
}

}  // namespace

void SpeedButtonMonitorOrSenderOnMouseDown(SenderContext& c, bool monitorButton, bool plainLeftClick) {
    if (!plainLeftClick) return;
    CaptureContext& capture = c.capture;
    Options& options = capture.options;
    ChannelTable& channels = capture.channels;
    RecordingState& recording = capture.state.Recording;

    c.state.PreviousMonitorMode = options.MonitorMode;
    options.MonitorMode = monitorButton;
    options.SenderMode = !monitorButton;
    if (options.MonitorMode == c.state.PreviousMonitorMode) return;
    const bool monitor = options.MonitorMode;
    c.state.ModeSwitchPending = true;

    ShowModeControls(c, monitor);
    // A sending in progress ends as a Stop click ends it; a recording in
    // progress ends by itself once this handler has returned.
    const bool wasSending = recording.Running && !c.state.PreviousMonitorMode;
    recording.Running = false;
    StopSending(c);
    PulseStartButton(c);
    if (wasSending) {
        EndSending(c);
    } else {
        SetStartButtonState(capture.state.StartButton, recording, false, monitor);
    }
    capture.pump.ProcessMessages();

    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        ChannelRecord& record = channels.Channel(n);
        if (!record.Active) continue;
        ClosePort(channels, n, capture.ports);
        record.Active = false;
    }
    if (monitor) {
        for (int n = kFirstChannel; n <= kLastChannel; ++n) c.view.ChannelButton(n).GroupIndex = n;
        capture.pump.ProcessMessages();
        for (int n = kFirstChannel; n <= kLastChannel; ++n) {
            ChannelRecord& record = channels.Channel(n);
            if (record.MonitorChannel) OpenPort(channels, n, capture.ports);
            record.Active = record.Open;
        }
    } else {
        for (int n = kFirstChannel; n <= kLastChannel; ++n) {
            c.view.ChannelButton(n).GroupIndex = 1;
            c.view.ChannelButton(n).Underline = false;
        }
        capture.pump.ProcessMessages();
        if (IsChannel(options.SenderChannel)) {
            OpenPort(channels, options.SenderChannel, capture.ports);
            ChannelRecord& record = channels.Channel(options.SenderChannel);
            record.Active = record.Open;
        }
    }
    for (int n = kFirstChannel; n <= kLastChannel; ++n) ShowChannelButton(c.view, channels, options, n);
    if (c.updateWindowCaption) c.updateWindowCaption();
    c.view.Changed();
}

void SpeedButtonMonitorOrSenderOnMouseUp(SenderContext& c) {
    if (!c.state.ModeSwitchPending) return;
    c.state.ModeSwitchPending = false;
    CaptureContext& capture = c.capture;
    if (capture.options.MonitorMode == c.state.PreviousMonitorMode) return;
    PulseStartButton(c);
    SetStartButtonState(capture.state.StartButton, capture.state.Recording, false, capture.options.MonitorMode);
    capture.state.Recording.Running = false;
    if (capture.options.MonitorMode) {
        c.view.Sender.Enabled = false;
        capture.pump.ProcessMessages();
        c.view.Sender.Enabled = true;
        capture.pump.ProcessMessages();
    }
    c.view.Changed();
}

}  // namespace kestrum
