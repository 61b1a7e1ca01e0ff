// Ports that come and go: the scans of a device-change message and of
// TimerDeviceChange, open ports whose line has gone, and the folders the
// watcher follows.
#include <gtest/gtest.h>

#include "channels/channel_button_click.h"
#include "channels/device_changes.h"
#include "channels/port_operations.h"
#include "fakes/fake_channel_dialogs.h"
#include "fakes/fake_serial_ports.h"

namespace kestrum {
namespace {

class RecordingWatcher : public DeviceWatcher {
public:
    std::vector<std::vector<std::string>> Watched;
    void WatchDeviceFolders(const std::vector<std::string>& paths) override { Watched.push_back(paths); }
    int EventHandle() const override { return -1; }
    int DrainDeviceChanges() override { return 0; }
};

struct DeviceChangesTest : ::testing::Test {
    Options options;
    ChannelTable channels;
    MainView view;
    fakes::FakeSerialPorts ports;
    fakes::RecordingDeviceTimer timer;
    RecordingWatcher watcher;
    DeviceChangeContext context{options, channels, view, ports, &timer, &watcher};

    // COM1..COM3 present; COM1 and COM2 recorded (open, active), COM3 not.
    DeviceChangesTest() {
        for (int n = 1; n <= 3; ++n) {
            ports.Port("COM" + std::to_string(n));
            channels.Channels[n].Device = "/dev/ttyUSB" + std::to_string(n - 1);
        }
        channels.Channels[1].MonitorChannel = true;
        channels.Channels[2].MonitorChannel = true;
        OpenPortsAtStartup(channels, options, ports);
        for (int n = 1; n <= 8; ++n) ShowChannelButton(view, channels, options, n);
    }
    ChannelRecord& Channel(int n) { return channels.Channels[static_cast<std::size_t>(n)]; }
    const ChannelButtonView& Button(int n) const { return view.ChannelButtons[static_cast<std::size_t>(n)]; }
};

TEST_F(DeviceChangesTest, AMessageScansAtOnceAndRestartsTheTimer) {
    ports.Feed("COM2", "unread");
    ports.Port("COM1").Present = false;  // unplugged while recorded
    EXPECT_TRUE(DeviceChangeMessage(context));
    EXPECT_EQ(std::vector<std::string>{"restart 1000"}, timer.Calls);

    EXPECT_FALSE(Channel(1).Installed);
    EXPECT_FALSE(Channel(1).Open);
    EXPECT_FALSE(Channel(1).Available);
    EXPECT_FALSE(Channel(1).Active);
    EXPECT_FALSE(Channel(1).MonitorChannel) << "an unplugged port loses its choice at the first scan";
    EXPECT_FALSE(Button(1).Enabled);
    EXPECT_FALSE(Button(1).Down);
    EXPECT_EQ("Port COM1 not installed", Button(1).Hint);

    // The other recorded port is tested where it is: not closed, not purged.
    EXPECT_TRUE(Channel(2).Open);
    EXPECT_EQ(1, ports.Port("COM2").Opens);
    EXPECT_EQ(0, ports.Port("COM2").Closes);
    EXPECT_EQ(6u, ports.Port("COM2").Received.size());
    EXPECT_TRUE(Button(2).Down);

    // Plugged in again: enabled, but up and closed until the user clicks.
    ports.Port("COM1").Present = true;
    ports.Port("COM1").Default.dcb.BaudRate = 4800;
    Channel(1).Parity = Parity::Even;
    EXPECT_TRUE(DeviceChangeMessage(context));
    EXPECT_TRUE(Channel(1).Installed);
    EXPECT_TRUE(Button(1).Enabled);
    EXPECT_FALSE(Button(1).Down);
    EXPECT_FALSE(Channel(1).Open);
    EXPECT_FALSE(Channel(1).Active);
    EXPECT_EQ(4800u, Channel(1).Config.dcb.BaudRate) << "CommConfig from the default";
    EXPECT_TRUE(Channel(1).Config.dcb.fParity);
    EXPECT_EQ("Activate COM1 port\r(9600,8,E,1)", Button(1).Hint);
    EXPECT_FALSE(DeviceChangeMessage(context)) << "nothing changed";
}

TEST_F(DeviceChangesTest, TheTimerScanKeepsTheChoiceOfAGonePort) {
    ports.Port("COM2").Present = false;
    EXPECT_TRUE(TimerDeviceChangeOnTimer(context));
    EXPECT_EQ(std::vector<std::string>{"stop"}, timer.Calls);
    EXPECT_FALSE(Channel(2).Installed);
    EXPECT_FALSE(Channel(2).Active);
    EXPECT_TRUE(Channel(2).MonitorChannel);
    EXPECT_FALSE(Button(2).Enabled);
}

TEST_F(DeviceChangesTest, WithDetectionOffNothingChanges) {
    options.AutoDetectDeviceChanges = false;
    ports.Port("COM1").Present = false;
    ports.Port("COM2").HungUp = true;
    EXPECT_FALSE(DeviceChangeMessage(context));
    EXPECT_FALSE(TimerDeviceChangeOnTimer(context));
    EXPECT_FALSE(CheckOpenPortLines(context));
    EXPECT_EQ(std::vector<std::string>{"stop"}, timer.Calls) << "no restart; a pending timer only stops";
    EXPECT_TRUE(Channel(1).Installed);
    EXPECT_TRUE(Channel(1).Open);
    EXPECT_TRUE(Channel(2).Open);
    EXPECT_TRUE(Button(1).Enabled);
}

TEST_F(DeviceChangesTest, AScanLeavesNoStaleHint) {
    for (int n = 1; n <= 8; ++n) view.ChannelButtons[static_cast<std::size_t>(n)].Hint = "stale";
    ScanChannelPorts(context, false);
    EXPECT_EQ("Deactivate COM1 port\r(9600,8,N,1)", Button(1).Hint);
    EXPECT_EQ("Activate COM3 port\r(9600,8,N,1)", Button(3).Hint);
    EXPECT_EQ("Port COM8 not installed", Button(8).Hint);
}

TEST_F(DeviceChangesTest, AHungUpLineIsGoneAtOnceOnceItsBytesAreRead) {
    ports.Feed("COM2", "bye");
    ports.Port("COM2").HungUp = true;
    EXPECT_FALSE(CheckOpenPortLines(context)) << "its last bytes are still to be read";
    EXPECT_TRUE(Channel(2).Open);
    ports.Port("COM2").Received.clear();
    EXPECT_TRUE(CheckOpenPortLines(context));
    EXPECT_FALSE(Channel(2).Open);
    EXPECT_FALSE(Channel(2).Installed);
    EXPECT_FALSE(Channel(2).Active);
    EXPECT_FALSE(Button(2).Enabled);
    EXPECT_FALSE(Button(2).Down);
    EXPECT_EQ("Port COM2 not installed", Button(2).Hint);
    EXPECT_TRUE(Channel(1).Open) << "the others go on";
    EXPECT_TRUE(Channel(1).Active);
    EXPECT_TRUE(timer.Calls.empty());
}

TEST_F(DeviceChangesTest, TheWatcherFollowsTheChannelsDevices) {
    Channel(5).Device = "/tmp/links/adapter";
    WatchChannelDevices(context);
    const std::vector<std::string> expected = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2", "/tmp/links/adapter"};
    ASSERT_EQ(1u, watcher.Watched.size());
    EXPECT_EQ(expected, watcher.Watched[0]);
    DeviceChangeContext without{options, channels, view, ports};
    WatchChannelDevices(without);  // no watcher: nothing to follow
    EXPECT_FALSE(DeviceChangeMessage(without)) << "no timer to restart, nothing changed";
}

}  // namespace
}  // namespace kestrum
