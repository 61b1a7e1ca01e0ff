#pragma once
// Channel IDs and the blanks that line protocol lines up behind them.

#include <string_view>

#include "base/channel_table.h"

namespace kestrum {

// IdPadding of entries 0..8: (L - length + 1) blanks, L the longest ID
// among entries 0..8.
void ComputeIdPaddings(ChannelTable& table);

// Stores a new ID for channel 1..8: as typed, or the PortName when it is empty
// after trimming blanks. Rebuilds every IdPadding; the caller rebuilds the
// button hints. Other indexes are ignored.
void ChangeChannelId(ChannelTable& table, int channel, std::string_view id);

}  // namespace kestrum
