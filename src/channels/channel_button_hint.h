#pragma once
// The hint of a channel button: its state in words, then its HintSuffix
// (a line break and the line settings).

#include <string>

#include "base/channel_table.h"
#include "base/main_view.h"

namespace kestrum {

// "Port %1 not installed" (port name) when not Installed; "Activate %1 port" /
// "Deactivate %1 port" (channel ID) when Available; "Port %1 not available"
// (port name) otherwise; followed by HintSuffix.
std::string ChannelButtonHint(const ChannelRecord& record, int language);

// The hint after a click on the button: "Deactivate %1 port" when Active,
// else "Activate %1 port", with the channel ID and the HintSuffix.
std::string ChannelClickHint(const ChannelRecord& record, int language);

// The hint refresh: every channel button's hint from ChannelButtonHint (the
// view counts as changed only when a hint did).
void RebuildAllChannelHints(MainView& view, const ChannelTable& channels, int language);

}  // namespace kestrum
