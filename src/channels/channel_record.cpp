#include "channels/channel_record.h"

namespace kestrum {

namespace {
constexpr std::array<Colour, kEntryCount> kDefaultColours = {
    0x000000, 0x0000FF, 0xFF0000, 0x008000, 0xFF00FF,
    0x000080, 0x800000, 0x008080, 0x800080, 0x000000,
};
const std::string kMasterId = "MasterFont";
}  // namespace

ChannelTable::ChannelTable() {
    for (int k = 0; k < kEntryCount; ++k) Fonts[k].FontColor = kDefaultColours[k];
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        Channels[n].PortName = "COM" + std::to_string(n);
        Channels[n].ChannelID = Channels[n].PortName;
    }
}

const std::string& ChannelTable::EntryId(int entry) const {
    if (entry == kUserEntry) return UserName;
    if (entry >= kFirstChannel && entry <= kLastChannel) return Channels[entry].ChannelID;
    return kMasterId;
}

}  // namespace kestrum
