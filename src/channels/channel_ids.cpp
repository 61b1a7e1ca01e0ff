#include "channels/channel_ids.h"

#include <algorithm>

namespace kestrum {

namespace {
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

void ComputeIdPaddings(ChannelTable& table) {
    std::size_t longest = 0;
    for (int k = kUserEntry; k <= kLastChannel; ++k) {
        longest = std::max(longest, table.EntryId(k).size());
    }
    for (int k = kUserEntry; k <= kLastChannel; ++k) {
        table.IdPadding[k].assign(longest - table.EntryId(k).size() + 1, ' ');
    }
}

void ChangeChannelId(ChannelTable& table, int channel, std::string_view id) {
    if (channel < kFirstChannel || channel > kLastChannel) return;
    ChannelRecord& record = table.Channel(channel);
    const bool empty = std::all_of(id.begin(), id.end(), IsBlankOrControl);
    record.ChannelID = empty ? record.PortName : std::string(id);
    ComputeIdPaddings(table);
}

}  // namespace kestrum
