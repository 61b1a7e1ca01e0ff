#include "base/channel_table.h"

#include <stdexcept>

namespace kestrum {

namespace {
constexpr std::array<Colour, kEntryCount> kDefaultColours = {
    0x000000, 0x0000FF, 0xFF0000, 0x008000, 0xFF00FF,
    0x000080, 0x800000, 0x008080, 0x800080, 0x000000,
};
const std::string kMasterId = "MasterFont";
}  // namespace

ChannelTable::ChannelTable() {
    for (int k = 0; k < kEntryCount; ++k) Font(k).FontColor = At(kDefaultColours, k);
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        Channel(n).PortName = "COM" + std::to_string(n);
        Channel(n).ChannelID = Channel(n).PortName;
    }
}

ChannelRecord& ChannelTable::Channel(int n) {
    if (!IsChannel(n)) throw std::out_of_range("channel " + std::to_string(n) + " is not in 1..8");
    return Channels[static_cast<std::size_t>(n)];
}

const ChannelRecord& ChannelTable::Channel(int n) const {
    if (!IsChannel(n)) throw std::out_of_range("channel " + std::to_string(n) + " is not in 1..8");
    return Channels[static_cast<std::size_t>(n)];
}

const std::string& ChannelTable::EntryId(int entry) const {
    if (entry == kUserEntry) return UserName;
    if (entry >= kFirstChannel && entry <= kLastChannel) return Channel(entry).ChannelID;
    return kMasterId;
}

}  // namespace kestrum
