#pragma once
// Ports that come and go: the reaction to a device-change message, the
// one-shot TimerDeviceChange that scans once more a second after the last
// message, and open ports whose line has gone (a pulled adapter, a
// pseudo-terminal whose other side closed), which count as gone at once.
// Everything happens only while AutoDetectDeviceChanges is on.

#include <string>
#include <vector>

#include "base/channel_table.h"
#include "base/main_view.h"
#include "platform/device_watcher.h"
#include "platform/serial_port.h"
#include "settings/options.h"

namespace kestrum {

// TimerDeviceChange: a window timer that fires once.
class DeviceChangeTimer {
public:
    virtual ~DeviceChangeTimer() = default;
    // Stops the timer and starts it again, so that it fires `intervalMs`
    // from now, once.
    virtual void Restart(int intervalMs) = 0;
    virtual void Stop() = 0;
};

constexpr int kDeviceChangeIntervalMs = 1000;

struct DeviceChangeContext {
    Options& options;
    ChannelTable& channels;
    MainView& view;
    SerialPorts& ports;
    DeviceChangeTimer* timer = nullptr;  // none: no second scan
    DeviceWatcher* watcher = nullptr;    // none: no folders to follow
};

// One device-change message (WM_DEVICECHANGE, one per change the watcher
// reports; never marked as handled): with AutoDetectDeviceChanges on, the
// timer is restarted and the ports are scanned (a gone port loses its
// MonitorChannel). True when a channel changed.
bool DeviceChangeMessage(DeviceChangeContext& context);

// TimerDeviceChangeOnTimer: stops the timer and, with AutoDetectDeviceChanges
// on, scans the ports again; a gone port keeps its MonitorChannel.
bool TimerDeviceChangeOnTimer(DeviceChangeContext& context);

// The scan: the presence test of channels 1..8 in order (it never closes a
// port that is still there). A newly present port gets CommConfig from its
// DefaultCommConfig with fParity from Parity, counts as Available (nothing is
// known to hold it), and its button is enabled; the port stays closed and
// the channel inactive. A gone port is closed, loses
// Available and Active (and MonitorChannel unless `keepMonitorChannel`), and
// its button is disabled and raised. Every button hint is rebuilt afterwards,
// so that no hint is left stale. True when a channel changed.
bool ScanChannelPorts(DeviceChangeContext& context, bool keepMonitorChannel);

// With AutoDetectDeviceChanges on: every open port whose line has gone
// (SerialPorts::PortLineGone) counts as gone at once, as in the scan of a
// message; the other channels are not touched, so a recording goes on with
// them. True when a channel changed.
bool CheckOpenPortLines(DeviceChangeContext& context);

// The devices of channels 1..8 (their Device keys), for the watcher.
std::vector<std::string> ChannelDevicePaths(const ChannelTable& channels);

// Has the watcher follow the folders of the channels' devices.
void WatchChannelDevices(DeviceChangeContext& context);

}  // namespace kestrum
