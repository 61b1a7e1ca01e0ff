#pragma once
// A left click on a channel button: the channel's port is opened or closed.

#include <functional>
#include <string>

#include "base/main_view.h"
#include "base/channel_table.h"
#include "platform/message_box.h"
#include "platform/serial_port.h"
#include "settings/options.h"

namespace kestrum {

struct ChannelClickContext {
    Options& options;
    ChannelTable& channels;
    MainView& view;
    SerialPorts& ports;
    MessageBoxes& messages;
    const ScreenPoint& dialogOrigin;
    const std::string& exeBaseName;       // caption of message boxes
    // The device file behind a port name's channel -> its owning group
    // (DeviceGroupName); used to explain a refused open.
    std::function<std::string(const std::string& device)> deviceGroup;
    // Busy (hourglass) cursor on and off around the open; may be empty.
    std::function<void(bool busy)> busyCursor;
};

// SpeedButtonChannelOnClick: button `channel` (1..8) has toggled to `down`
// (in sender mode the group has moved its down state to it). Down opens the
// port: a port held elsewhere beeps and says so; one this user may not open
// says that instead, naming the device and its group; one that fails for
// another reason (not a serial device, an input/output error) names the
// device and gives the system's text; a port that is gone says nothing. Active ends as Open; in sender mode every other open channel
// is closed and SenderChannel follows. Up closes the port. In monitor mode
// MonitorChannel follows Active. The button shows Active with the matching
// hint and underline.
void SpeedButtonChannelOnClick(ChannelClickContext& context, int channel, bool down);

// The whole look of channel button n from its record: down = Active,
// enabled = Installed, caption, colour, underline, hint; group index by mode.
void ShowChannelButton(MainView& view, const ChannelTable& channels, const Options& options, int channel);

// The text shown when the port could not be opened for another reason than
// another owner or a missing permission, with the system's text.
std::string OpenFailedText(const std::string& portName, const std::string& device,
                           const std::string& systemText, int language);

// The text shown when the port could not be opened for lack of permission.
std::string NoPermissionText(const std::string& portName, const std::string& device,
                             const std::string& group, int language);

}  // namespace kestrum
