// The channel's port operations over in-memory ports: flags after every
// outcome of an open, what is written to the port and put back, the
// presence test, the configuration dialog and the ports at start-up.
#include <gtest/gtest.h>

#include <functional>

#include "channels/port_operations.h"
#include "channels/trigger_fields.h"
#include "fakes/fake_serial_ports.h"

namespace kestrum {
namespace {

using fakes::FakePort;
using fakes::FakeSerialPorts;

// A dialog that plays the user's part: optionally changes the record and
// the device, and confirms or cancels.
struct ScriptedDialog : PortDialog {
    bool confirm = true;
    std::function<void(CommConfig&, std::string&)> edit;
    int calls = 0;
    std::string portName;
    CommConfig seen;
    bool CommConfigDialog(const std::string& name, std::string& device, CommConfig& config) override {
        ++calls;
        portName = name;
        seen = config;
        if (!confirm) return false;
        if (edit) edit(config, device);
        return true;
    }
};

class PortOperations : public testing::Test {
protected:
    // Channel n with a present port, tested and (if wanted) opened.
    ChannelRecord& Present(int n) {
        ports.Port(table.Channels[n].PortName);
        PortPresenceTest(table, n, ports);
        return table.Channels[n];
    }
    FakePort& PortOf(int n) { return ports.Port(table.Channels[n].PortName); }
    void ArmTrigger(int n) {
        SetTriggerBytes(table.Channels[n], "GO");
        SetTriggerEnabled(table.Channels[n], true);
    }

    ChannelTable table;
    FakeSerialPorts ports;
};

Dcb ExpectedDcb(std::uint32_t baud, std::uint8_t size, std::uint8_t parity, std::uint8_t stop,
                bool fParity) {
    Dcb dcb;
    dcb.BaudRate = baud;
    dcb.ByteSize = size;
    dcb.Parity = parity;
    dcb.StopBits = stop;
    dcb.fParity = fParity;
    return dcb;  // the defaults are the fixed control flags
}

TEST_F(PortOperations, OpenSavesThePortsSettingsAndWritesTheChannels) {
    FakePort& port = ports.Port("COM3");
    port.Config.dcb.BaudRate = 1200;  // what the port had before
    port.Config.dcb.fOutX = true;
    port.Timeouts.ReadTotalTimeoutConstant = 500;
    const CommConfig before = port.Config;
    const CommTimeouts timeoutsBefore = port.Timeouts;

    ChannelRecord& channel = table.Channels[3];
    channel.Device = "/dev/ttyUSB1";
    channel.BaudRate = 115200;
    channel.ByteSize = 7;
    channel.Parity = Parity::Even;
    channel.StopBits = StopBits::Two;
    channel.Config.dcb.fOutX = true;  // unlisted bits are overwritten by the fixed flags
    channel.Config.dcb.fNull = true;
    PortPresenceTest(table, 3, ports);
    EXPECT_EQ("/dev/ttyUSB1", ports.MappedDevices["COM3"]);
    OpenPort(table, 3, ports);

    EXPECT_TRUE(channel.Open);
    EXPECT_TRUE(channel.Available);
    EXPECT_EQ(OpenFailure::None, channel.LastOpenFailure);
    EXPECT_EQ(port.Handle, channel.Handle);
    EXPECT_EQ(before, channel.SavedConfig);
    EXPECT_EQ(timeoutsBefore, channel.SavedTimeouts);
    EXPECT_EQ(ExpectedDcb(115200, 7, 2, 2, false), port.Config.dcb);
    EXPECT_EQ(kPortTimeouts, port.Timeouts);
    EXPECT_EQ(0xFFFFFFFFu, port.Timeouts.ReadIntervalTimeout);
    EXPECT_EQ(1, port.Purges);

    OpenPort(table, 3, ports);  // already open: nothing
    EXPECT_EQ(1, port.Opens);

    ClosePort(table, 3, ports);
    EXPECT_FALSE(channel.Open);
    EXPECT_TRUE(channel.Available) << "closing leaves Available";
    EXPECT_EQ(kInvalidPortHandle, channel.Handle);
    EXPECT_EQ(before, port.Config) << "the port's own settings are back";
    EXPECT_EQ(timeoutsBefore, port.Timeouts);
    EXPECT_EQ(1, port.Closes);
}

TEST_F(PortOperations, AFailedOpenLeavesTheChannelUnavailableWithItsTriggerOffAndSaysWhy) {
    struct Case {
        const char* name;
        std::function<void(FakePort&)> breakPort;
        OpenFailure failure;
    };
    const Case cases[] = {
        {"held by another process", [](FakePort& p) { p.HeldElsewhere = true; }, OpenFailure::HeldElsewhere},
        {"no permission", [](FakePort& p) { p.NoPermission = true; }, OpenFailure::NoPermission},
        {"unplugged since the last test", [](FakePort& p) { p.Present = false; }, OpenFailure::Missing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        table = ChannelTable();
        ports = FakeSerialPorts();
        ChannelRecord& channel = Present(4);
        ArmTrigger(4);
        // A previous open had succeeded.
        OpenPort(table, 4, ports);
        ClosePort(table, 4, ports);
        ASSERT_TRUE(channel.Available);

        c.breakPort(PortOf(4));
        OpenPort(table, 4, ports);
        EXPECT_FALSE(channel.Open);
        EXPECT_FALSE(channel.Available);
        EXPECT_FALSE(channel.TriggerEnabled);
        EXPECT_EQ(c.failure, channel.LastOpenFailure);
        EXPECT_EQ(kInvalidPortHandle, channel.Handle);
        EXPECT_TRUE(channel.Installed) << "only the presence test changes Installed";
        ClosePort(table, 4, ports);
        EXPECT_EQ(1, PortOf(4).Closes) << "no CloseHandle for a port that did not open";
    }
}

TEST_F(PortOperations, NothingIsOpenedOrConfiguredOnAPortThatIsNotInstalled) {
    ChannelRecord& channel = table.Channels[6];
    ports.Port("COM6").Present = false;
    PortPresenceTest(table, 6, ports);
    OpenPort(table, 6, ports);
    ApplyPortConfiguration(table, 6, ports);
    ClosePort(table, 6, ports);
    EXPECT_FALSE(channel.Installed);
    EXPECT_FALSE(channel.Open);
    EXPECT_EQ(0, PortOf(6).Opens);
    EXPECT_EQ(0, PortOf(6).Purges);
    EXPECT_EQ(0, PortOf(6).Closes);
    for (int n : {0, 9, -1, 42}) {  // not channels
        EXPECT_FALSE(PortPresenceTest(table, n, ports).NewlyPresent);
        OpenPort(table, n, ports);
        ClosePort(table, n, ports);
    }
}

TEST_F(PortOperations, ClosingAGonePortClosesTheHandleWithoutRestoring) {
    ChannelRecord& channel = Present(2);
    OpenPort(table, 2, ports);
    const CommConfig written = PortOf(2).Config;
    PortOf(2).Present = false;
    PortPresenceTest(table, 2, ports);  // finds it gone and closes it
    EXPECT_FALSE(channel.Installed);
    EXPECT_FALSE(channel.Open);
    EXPECT_EQ(kInvalidPortHandle, channel.Handle);
    EXPECT_EQ(1, PortOf(2).Closes);
    EXPECT_EQ(1, PortOf(2).Opens) << "a gone port is not reopened";
    EXPECT_EQ(written, PortOf(2).Config);
}

TEST_F(PortOperations, PresenceTestReportsChangesAndLeavesAnOpenPortAlone) {
    ChannelRecord& channel = table.Channels[1];
    FakePort& port = ports.Port("COM1");
    port.Default.dcb.BaudRate = 4800;
    struct Step {
        bool present;
        bool newly, gone;
    };
    const Step steps[] = {{true, true, false}, {true, false, false}, {false, false, true},
                          {false, false, false}, {true, true, false}};
    for (const Step& step : steps) {
        port.Present = step.present;
        const PresenceChange change = PortPresenceTest(table, 1, ports);
        EXPECT_EQ(step.present, channel.Installed);
        EXPECT_EQ(step.newly, change.NewlyPresent);
        EXPECT_EQ(step.gone, change.Gone);
    }
    EXPECT_EQ(4800u, channel.DefaultConfig.dcb.BaudRate);

    OpenPort(table, 1, ports);
    ports.Feed("COM1", "unread");
    const int purges = port.Purges;
    PortPresenceTest(table, 1, ports);
    EXPECT_TRUE(channel.Open);
    EXPECT_EQ(1, port.Opens);
    EXPECT_EQ(0, port.Closes);
    EXPECT_EQ(purges, port.Purges);
    EXPECT_EQ(6u, port.Received.size()) << "unread input survives the test";

    port.HungUp = true;  // its line has gone, but a byte is still to be read
    EXPECT_FALSE(PortPresenceTest(table, 1, ports).Gone);
    port.Received.clear();
    EXPECT_TRUE(PortPresenceTest(table, 1, ports).Gone);
    EXPECT_FALSE(channel.Open);
    EXPECT_EQ(1, port.Closes);
}

TEST_F(PortOperations, ApplyWritesLineSettingsAndFixedFlagsButKeepsFParity) {
    ChannelRecord& channel = Present(7);
    OpenPort(table, 7, ports);
    channel.BaudRate = 300;
    channel.Parity = Parity::Space;
    channel.Config.dcb.fParity = true;
    channel.Config.dcb.fRtsControl = 2;
    channel.Config.dcb.fOutxCtsFlow = true;
    ApplyPortConfiguration(table, 7, ports);
    EXPECT_EQ(ExpectedDcb(300, 8, 4, 0, true), PortOf(7).Config.dcb);
    EXPECT_EQ(2, PortOf(7).Purges);
}

// ---- the configuration dialog ------------------------------------------------

TEST_F(PortOperations, DialogOnANotInstalledPortDoesNothing) {
    ScriptedDialog dialog;
    ports.Port("COM5").Present = false;
    PortPresenceTest(table, 5, ports);
    const PortDialogOutcome outcome = PortConfigurationDialog(table, 5, ports, dialog);
    EXPECT_FALSE(outcome.Shown);
    EXPECT_EQ(0, dialog.calls);
}

TEST_F(PortOperations, CancelledDialogChangesNothingButAsksForTheHints) {
    ChannelRecord& channel = Present(2);
    OpenPort(table, 2, ports);
    channel.Active = true;
    channel.BaudRate = 19200;
    channel.Parity = Parity::Odd;
    channel.HintSuffix = "stale";
    const int purges = PortOf(2).Purges;
    ScriptedDialog dialog;
    dialog.confirm = false;
    const PortDialogOutcome outcome = PortConfigurationDialog(table, 2, ports, dialog);
    EXPECT_TRUE(outcome.Shown);
    EXPECT_FALSE(outcome.Confirmed);
    EXPECT_EQ("COM2", dialog.portName);
    EXPECT_EQ(19200u, dialog.seen.dcb.BaudRate) << "the dialog starts from the line settings";
    EXPECT_TRUE(dialog.seen.dcb.fParity);
    EXPECT_EQ(19200u, channel.BaudRate);
    EXPECT_EQ(Parity::Odd, channel.Parity);
    EXPECT_EQ("\r(19200,8,O,1)", channel.HintSuffix);
    EXPECT_EQ(purges + 1, PortOf(2).Purges) << "an active channel is configured again";
}

TEST_F(PortOperations, ABaudChangeOnAnActiveChannelAppliesAtOnceAndPurges) {
    ChannelRecord& channel = Present(1);
    OpenPort(table, 1, ports);
    channel.Active = true;
    ports.Feed("COM1", "old bytes");
    ScriptedDialog dialog;
    dialog.edit = [](CommConfig& config, std::string&) {
        config.dcb.BaudRate = 57600;
        config.dcb.StopBits = 1;
        config.dcb.fOutX = true;  // the fixed flags win
    };
    const PortDialogOutcome outcome = PortConfigurationDialog(table, 1, ports, dialog);
    EXPECT_TRUE(outcome.Confirmed);
    EXPECT_FALSE(outcome.DeviceChanged);
    EXPECT_EQ(57600u, channel.BaudRate);
    EXPECT_EQ(StopBits::OneAndHalf, channel.StopBits);
    EXPECT_EQ(ExpectedDcb(57600, 8, 0, 1, false), PortOf(1).Config.dcb);
    EXPECT_TRUE(PortOf(1).Received.empty());
    EXPECT_EQ("\r(57600,8,N,1.5)", channel.HintSuffix);
}

TEST_F(PortOperations, ABaudChangeOnAnInactiveChannelOnlyChangesTheSettingsAndHint) {
    ChannelRecord& channel = Present(8);
    ScriptedDialog dialog;
    dialog.edit = [](CommConfig& config, std::string&) { config.dcb.BaudRate = 2400; };
    PortConfigurationDialog(table, 8, ports, dialog);
    EXPECT_EQ(2400u, channel.BaudRate);
    EXPECT_EQ("\r(2400,8,N,1)", channel.HintSuffix);
    EXPECT_EQ(0, PortOf(8).Opens);
    EXPECT_EQ(0, PortOf(8).Purges);
}

TEST_F(PortOperations, AnotherDeviceChosenInTheDialogMovesTheOpenPort) {
    ChannelRecord& channel = Present(3);
    channel.Device = "/dev/ttyUSB0";
    OpenPort(table, 3, ports);
    channel.Active = true;
    ScriptedDialog dialog;
    dialog.edit = [](CommConfig&, std::string& device) { device = "/dev/serial/by-id/usb-B"; };
    PortDialogOutcome outcome = PortConfigurationDialog(table, 3, ports, dialog);
    EXPECT_TRUE(outcome.DeviceChanged);
    EXPECT_EQ("/dev/serial/by-id/usb-B", channel.Device);
    EXPECT_EQ("/dev/serial/by-id/usb-B", ports.MappedDevices["COM3"]);
    EXPECT_EQ(1, PortOf(3).Closes);
    EXPECT_EQ(2, PortOf(3).Opens);
    EXPECT_TRUE(channel.Open);
    EXPECT_TRUE(channel.Active);

    // A device that is not there leaves the channel not installed and inactive.
    dialog.edit = [this](CommConfig&, std::string& device) {
        device = "/dev/ttyUSB7";
        PortOf(3).Present = false;
    };
    outcome = PortConfigurationDialog(table, 3, ports, dialog);
    EXPECT_TRUE(outcome.DeviceChanged);
    EXPECT_FALSE(channel.Installed);
    EXPECT_FALSE(channel.Active);
    EXPECT_FALSE(channel.Available);
    EXPECT_FALSE(channel.Open);
    EXPECT_EQ("", channel.HintSuffix);
}

// ---- start-up --------------------------------------------------------------

TEST_F(PortOperations, StartupInMonitorModeKeepsTheRecordedChannelsOpen) {
    Options options;
    options.MonitorMode = true;
    options.SenderChannel = 5;
    for (int n : {1, 2, 4, 5}) ports.Port(table.Channels[n].PortName).Default.dcb.fParity = true;
    table.Channels[1].MonitorChannel = true;
    table.Channels[1].Parity = Parity::Even;
    table.Channels[3].MonitorChannel = true;  // no port
    table.Channels[4].MonitorChannel = true;
    ArmTrigger(4);
    ports.Port("COM4").HeldElsewhere = true;
    for (int n = 6; n <= 8; ++n) ports.Port(table.Channels[n].PortName).Present = false;

    OpenPortsAtStartup(table, options, ports);

    const ChannelRecord& c1 = table.Channels[1];
    EXPECT_TRUE(c1.Installed && c1.Available && c1.Open && c1.Active);
    EXPECT_TRUE(c1.Config.dcb.fParity);
    EXPECT_EQ("\r(9600,8,E,1)", c1.HintSuffix);
    const ChannelRecord& c2 = table.Channels[2];  // opened, then closed again
    EXPECT_TRUE(c2.Installed && c2.Available);
    EXPECT_FALSE(c2.Open || c2.Active);
    EXPECT_FALSE(c2.Config.dcb.fParity) << "fParity follows Parity, not the default";
    EXPECT_EQ(1, PortOf(2).Opens);
    EXPECT_EQ(1, PortOf(2).Closes);
    const ChannelRecord& c3 = table.Channels[3];
    EXPECT_FALSE(c3.Installed || c3.Available || c3.Active);
    EXPECT_EQ("", c3.HintSuffix);
    const ChannelRecord& c4 = table.Channels[4];
    EXPECT_TRUE(c4.Installed);
    EXPECT_FALSE(c4.Available || c4.Active);
    EXPECT_FALSE(c4.TriggerEnabled);
    EXPECT_EQ(OpenFailure::HeldElsewhere, c4.LastOpenFailure);
    EXPECT_EQ(5, options.SenderChannel) << "channel 5 opened, so it is available";
}

TEST_F(PortOperations, StartupInSenderModeOpensOnlyTheSenderChannel) {
    struct Case {
        const char* name;
        int senderChannel;
        std::function<void(FakeSerialPorts&)> setUp;
        int expectedSender;
    };
    const Case cases[] = {
        {"free port", 2, [](FakeSerialPorts&) {}, 2},
        {"held port", 2, [](FakeSerialPorts& p) { p.Port("COM2").HeldElsewhere = true; }, -1},
        {"missing port", 2, [](FakeSerialPorts& p) { p.Port("COM2").Present = false; }, -1},
        {"no sender channel", -1, [](FakeSerialPorts&) {}, -1},
        {"out of range", 9, [](FakeSerialPorts&) {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        table = ChannelTable();
        ports = FakeSerialPorts();
        for (int n = kFirstChannel; n <= kLastChannel; ++n) ports.Port(table.Channels[n].PortName);
        c.setUp(ports);
        table.Channels[1].MonitorChannel = true;  // not used in sender mode
        Options options;
        options.MonitorMode = false;
        options.SenderMode = true;
        options.SenderChannel = c.senderChannel;
        OpenPortsAtStartup(table, options, ports);
        EXPECT_EQ(c.expectedSender, options.SenderChannel);
        for (int n = kFirstChannel; n <= kLastChannel; ++n) {
            const bool wanted = n == c.expectedSender;
            EXPECT_EQ(wanted, table.Channels[n].Active) << n;
            EXPECT_EQ(wanted, ports.IsOpen(table.Channels[n].PortName)) << n;
        }
    }
}

TEST_F(PortOperations, CloseAllPortsPutsBackEveryPortsSettings) {
    Options options;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        ports.Port(table.Channels[n].PortName).Config.dcb.BaudRate = 110;
        table.Channels[n].MonitorChannel = n % 2 == 0;
    }
    OpenPortsAtStartup(table, options, ports);
    CloseAllPorts(table, ports);
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        EXPECT_FALSE(ports.IsOpen(table.Channels[n].PortName)) << n;
        EXPECT_EQ(110u, PortOf(n).Config.dcb.BaudRate) << n;
        EXPECT_FALSE(table.Channels[n].Open);
    }
}

}  // namespace
}  // namespace kestrum
