#pragma once
// Which device each channel's port name stands for. A channel keeps the
// device named in its settings (key Device); one without a device is given
// the next present device that no channel names yet, and keeps it from then
// on. A named device that does not exist leaves the port not installed.

#include <string>
#include <vector>

#include "base/channel_table.h"

namespace kestrum {

// For channels 1..8 in order: an empty Device takes the first device of
// `presentDevices` (in their order) that no channel names yet, either by
// the same path or as the same file reached through another link. Returns
// the numbers of the channels that were given a device.
std::vector<int> AssignDevices(ChannelTable& table, const std::vector<std::string>& presentDevices);

}  // namespace kestrum
