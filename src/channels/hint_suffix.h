#pragma once
// The second line of a channel button's hint: its line settings.

#include <string>

#include "base/channel_table.h"

namespace kestrum {

// "\r(" baud "," byte size "," parity letter "," stop bits ")", e.g.
// "\r(9600,8,N,1)"; empty while the port is not Installed.
std::string HintSuffixOf(const ChannelRecord& record);

// Stores HintSuffixOf(record) in record.HintSuffix.
void RebuildHintSuffix(ChannelRecord& record);

}  // namespace kestrum
