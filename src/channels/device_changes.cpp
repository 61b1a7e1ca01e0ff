#include "channels/device_changes.h"

#include "channels/channel_button_click.h"
#include "channels/channel_button_hint.h"
#include "channels/hint_suffix.h"
#include "channels/port_operations.h"

namespace kestrum {
namespace {

void ShowGone(DeviceChangeContext& c, int n, bool keepMonitorChannel) {
    ChannelRecord& channel = c.channels.Channel(n);
    // Not installed first: a gone port's settings are not put back.
    channel.Installed = false;
    ClosePort(c.channels, n, c.ports);
    channel.Available = false;
    channel.Active = false;
    if (!keepMonitorChannel) channel.MonitorChannel = false;
    RebuildHintSuffix(channel);
    ShowChannelButton(c.view, c.channels, c.options, n);
}

}  // namespace

bool DeviceChangeMessage(DeviceChangeContext& c) {
    if (!c.options.AutoDetectDeviceChanges) return false;
    if (c.timer != nullptr) c.timer->Restart(kDeviceChangeIntervalMs);
    return ScanChannelPorts(c, false);
}

bool TimerDeviceChangeOnTimer(DeviceChangeContext& c) {
    if (c.timer != nullptr) c.timer->Stop();
    if (!c.options.AutoDetectDeviceChanges) return false;
    return ScanChannelPorts(c, true);
}

bool ScanChannelPorts(DeviceChangeContext& c, bool keepMonitorChannel) {
    bool changed = false;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        ChannelRecord& channel = c.channels.Channel(n);
        const PresenceChange change = PortPresenceTest(c.channels, n, c.ports);
        if (change.NewlyPresent) {
            // Nothing holds a port that has just appeared, as far as anyone
            // knows: its hint invites a click ("Activate"), not "not available"
            // left over from when it went. A click that finds it held says so.
            channel.Available = true;
            channel.Config = channel.DefaultConfig;
            SetParityFlag(channel);
            RebuildHintSuffix(channel);
            ShowChannelButton(c.view, c.channels, c.options, n);
            changed = true;
        } else if (change.Gone) {
            ShowGone(c, n, keepMonitorChannel);
            changed = true;
        }
    }
    RebuildAllChannelHints(c.view, c.channels, c.options.Language);
    return changed;
}

bool CheckOpenPortLines(DeviceChangeContext& c) {
    if (!c.options.AutoDetectDeviceChanges) return false;
    bool changed = false;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        const ChannelRecord& channel = c.channels.Channel(n);
        if (!channel.Open || !c.ports.PortLineGone(channel.Handle)) continue;
        ShowGone(c, n, false);
        changed = true;
    }
    if (changed) RebuildAllChannelHints(c.view, c.channels, c.options.Language);
    return changed;
}

std::vector<std::string> ChannelDevicePaths(const ChannelTable& channels) {
    std::vector<std::string> paths;
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        if (!channels.Channel(n).Device.empty()) paths.push_back(channels.Channel(n).Device);
    return paths;
}

void WatchChannelDevices(DeviceChangeContext& c) {
    if (c.watcher != nullptr) c.watcher->WatchDeviceFolders(ChannelDevicePaths(c.channels));
}

}  // namespace kestrum
