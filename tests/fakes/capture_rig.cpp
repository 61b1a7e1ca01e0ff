#include "fakes/capture_rig.h"

#include <memory>

#include "capture/capture_loop.h"
#include "capture/line_layout.h"
#include "capture/protocol_clock.h"
#include "channels/channel_ids.h"

namespace kestrum::fakes {

CaptureRig::CaptureRig() {
    ComputeIdPaddings(channels);
    SetHexLineWidth(state.Layout, options);
    SetUpProtocolClock(state.ProtocolTime, clock);
    pump.OnRunaway = [this] { state.Recording.Running = false; };
}

void CaptureRig::OpenChannel(int n) {
    ChannelRecord& record = channels.Channels[static_cast<std::size_t>(n)];
    ports.Port(record.PortName);
    OpenFailure failure = OpenFailure::None;
    record.Handle = ports.CreateFile(record.PortName, failure);
    record.Installed = true;
    record.Available = record.Open = record.Active = record.Handle != kInvalidPortHandle;
}

void CaptureRig::Feed(int n, const std::string& bytes) {
    ports.Feed(channels.Channels[static_cast<std::size_t>(n)].PortName, bytes);
}

void CaptureRig::FeedWhenRecording(int n, const std::string& bytes) {
    pump.When([this] { return state.Recording.FirstPhase; }, [this, n, bytes] { Feed(n, bytes); });
}

bool CaptureRig::Drained() {
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        if (!ports.Port(channels.Channels[static_cast<std::size_t>(n)].PortName).Received.empty())
            return false;
    return true;
}

void CaptureRig::Start() {
    state.Recording.FirstPhase = false;
    ClickStartButton(ctx);
}

void CaptureRig::ClickStop() {
    ClickStartButton(ctx);
}

void CaptureRig::WhenDrained(std::function<void()> event) {
    pump.When([this] { return Drained(); }, std::move(event));
}

void CaptureRig::WhenQuiet(std::function<void()> event) {
    auto waits = std::make_shared<int>(-1);
    pump.When(
        [this, waits] {
            if (!Drained()) return false;
            *waits = pollTimer.Waits;
            return true;
        },
        [] {});
    pump.When([this, waits] { return pollTimer.Waits > *waits; }, std::move(event));
}

void CaptureRig::AdvanceWhenDrained(double seconds) {
    WhenDrained([this, seconds] { clock.Advance(seconds); });
}

void CaptureRig::StopWhenDrained() {
    WhenQuiet([this] { ClickStop(); });
}

std::vector<std::string> CaptureRig::DataLines() const {
    std::vector<std::string> lines;
    for (const FakeLine& line : field.Lines)
        if (line.Text.rfind("Start: ", 0) != 0 && line.Text.rfind("Stop:  ", 0) != 0)
            lines.push_back(line.Text);
    return lines;
}

}  // namespace kestrum::fakes
