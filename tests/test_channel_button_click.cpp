// A left click on a channel button opens or closes its port.
#include <gtest/gtest.h>

#include "channels/channel_button_click.h"
#include "channels/port_operations.h"
#include "fakes/fake_serial_ports.h"
#include "fakes/recording_message_boxes.h"

namespace kestrum {
namespace {

struct ChannelClickTest : ::testing::Test {
    Options options;
    ChannelTable channels;
    MainView view;
    fakes::FakeSerialPorts ports;
    RecordingMessageBoxes messages;
    ScreenPoint origin{30, 40};
    std::string exeBaseName = "kestrum";
    ChannelClickContext context{options, channels, view, ports, messages, origin, exeBaseName,
                                [](const std::string&) { return std::string("dialout"); }, {}};

    ChannelClickTest() {
        for (int n = 1; n <= 4; ++n) ports.Port("COM" + std::to_string(n));
        for (int n = 1; n <= 4; ++n) channels.Channels[n].Device = "/dev/ttyX" + std::to_string(n);
        OpenPortsAtStartup(channels, options, ports);
        for (int n = 1; n <= 8; ++n) ShowChannelButton(view, channels, options, n);
    }
    const ChannelButtonView& Button(int n) const { return view.ChannelButtons[n]; }
};

TEST_F(ChannelClickTest, StartUpLookOfPresentAndMissingPorts) {
    EXPECT_TRUE(Button(1).Enabled);
    EXPECT_FALSE(Button(1).Down);
    EXPECT_EQ(Button(1).Hint, "Activate COM1 port\r(9600,8,N,1)");
    EXPECT_EQ(Button(1).GroupIndex, 1);
    EXPECT_EQ(Button(3).GroupIndex, 3);
    EXPECT_FALSE(Button(6).Enabled);
    EXPECT_EQ(Button(6).Hint, "Port COM6 not installed");
}

TEST_F(ChannelClickTest, MonitorModeKeepsEveryPressedButtonDown) {
    SpeedButtonChannelOnClick(context, 1, true);
    SpeedButtonChannelOnClick(context, 3, true);
    for (int n : {1, 3}) {
        EXPECT_TRUE(channels.Channels[n].Open) << n;
        EXPECT_TRUE(channels.Channels[n].Active) << n;
        EXPECT_TRUE(channels.Channels[n].MonitorChannel) << n;
        EXPECT_TRUE(Button(n).Down) << n;
    }
    EXPECT_EQ(Button(3).Hint, "Deactivate COM3 port\r(9600,8,N,1)");
    SpeedButtonChannelOnClick(context, 1, false);
    EXPECT_FALSE(ports.IsOpen("COM1"));
    EXPECT_FALSE(channels.Channels[1].MonitorChannel);
    EXPECT_FALSE(Button(1).Down);
    EXPECT_EQ(Button(1).Hint, "Activate COM1 port\r(9600,8,N,1)");
    EXPECT_TRUE(channels.Channels[3].Active);
    EXPECT_TRUE(messages.Boxes.empty());
}

TEST_F(ChannelClickTest, SenderModeMovesTheOneChannel) {
    options.MonitorMode = false;
    SpeedButtonChannelOnClick(context, 1, true);
    EXPECT_EQ(options.SenderChannel, 1);
    SpeedButtonChannelOnClick(context, 3, true);
    EXPECT_FALSE(ports.IsOpen("COM1"));
    EXPECT_FALSE(channels.Channels[1].Active);
    EXPECT_FALSE(Button(1).Down);
    EXPECT_TRUE(Button(3).Down);
    EXPECT_EQ(options.SenderChannel, 3);
    EXPECT_FALSE(channels.Channels[3].MonitorChannel);  // sender mode leaves the monitor choice
    SpeedButtonChannelOnClick(context, 3, false);
    EXPECT_EQ(options.SenderChannel, -1);
}

TEST_F(ChannelClickTest, PortHeldElsewhereBeepsAndStaysUp) {
    channels.Channels[2].TriggerEnabled = true;
    channels.Channels[2].TriggerLength = 2;
    ports.Port("COM2").HeldElsewhere = true;
    SpeedButtonChannelOnClick(context, 2, true);
    ASSERT_EQ(messages.Calls, (std::vector<std::string>{"beep", "box"}));
    EXPECT_EQ(messages.Beeps[0], MessageKind::Error);
    EXPECT_EQ(messages.Boxes[0].Text,
              "SpeedButtonChannelOnClick: The COM2 port is currently\ropened by another process.");
    EXPECT_EQ(messages.Boxes[0].Origin, origin);
    EXPECT_FALSE(channels.Channels[2].Active);
    EXPECT_FALSE(channels.Channels[2].MonitorChannel);
    EXPECT_FALSE(channels.Channels[2].TriggerEnabled);  // a failed open turns the trigger off
    EXPECT_FALSE(Button(2).Down);
    EXPECT_EQ(Button(2).Hint, "Activate COM2 port\r(9600,8,N,1)");

    options.Language = 2;
    SpeedButtonChannelOnClick(context, 2, true);
    EXPECT_EQ(messages.Boxes[1].Text,
              "SpeedButtonChannelOnClick: Auf die COM2-Schnittstelle wird derzeit\rdurch einen anderen "
              "Prozess zugegriffen.");
}

TEST_F(ChannelClickTest, RefusedPermissionNamesDeviceAndGroup) {
    ports.Port("COM4").NoPermission = true;
    SpeedButtonChannelOnClick(context, 4, true);
    ASSERT_EQ(messages.Boxes.size(), 1u);
    EXPECT_EQ(messages.Boxes[0].Text,
              "SpeedButtonChannelOnClick: No permission to open the COM4 port (/dev/ttyX4).\r"
              "Access is granted to the members of the group \"dialout\".");
    EXPECT_FALSE(Button(4).Down);
}

TEST_F(ChannelClickTest, OtherOpenFailuresGiveTheSystemsText) {
    ports.Port("COM3").OpenError = "Inappropriate ioctl for device";
    SpeedButtonChannelOnClick(context, 3, true);
    options.Language = 2;
    SpeedButtonChannelOnClick(context, 3, true);
    ASSERT_EQ(messages.Boxes.size(), 2u);
    EXPECT_EQ(messages.Boxes[0].Text,
              "SpeedButtonChannelOnClick: The COM3 port could not be opened (/dev/ttyX3).\r"
              "Inappropriate ioctl for device");
    EXPECT_EQ(messages.Boxes[1].Text,
              "SpeedButtonChannelOnClick: Die COM3-Schnittstelle konnte nicht ge\xF6" "ffnet werden (/dev/ttyX3).\r"
              "Inappropriate ioctl for device");
    EXPECT_FALSE(Button(3).Down);
}

TEST_F(ChannelClickTest, UnpluggedPortSaysNothingAndStaysEnabled) {
    ports.Port("COM1").Present = false;
    SpeedButtonChannelOnClick(context, 1, true);
    EXPECT_TRUE(messages.Calls.empty());
    EXPECT_FALSE(channels.Channels[1].Installed);
    EXPECT_FALSE(Button(1).Down);
    EXPECT_TRUE(Button(1).Enabled);  // until the next device-change scan
}

TEST_F(ChannelClickTest, UnderlineFollowsTriggerAndActive) {
    channels.Channels[1].TriggerWord = "41";
    channels.Channels[1].TriggerBytes = "A";
    channels.Channels[1].TriggerLength = 1;
    channels.Channels[1].TriggerEnabled = true;
    SpeedButtonChannelOnClick(context, 1, true);
    EXPECT_TRUE(Button(1).Underline);
    SpeedButtonChannelOnClick(context, 1, false);
    EXPECT_FALSE(Button(1).Underline);
    EXPECT_TRUE(channels.Channels[1].TriggerEnabled);
}

}  // namespace
}  // namespace kestrum
