#include "channels/channel_table_build.h"

#include "channels/channel_ids.h"
#include "channels/font_entries.h"
#include "channels/trigger_fields.h"

namespace kestrum {

void BuildChannelTable(ChannelTable& table) {
    RebuildFontStyles(table);
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        // Also rebuilds the paddings; an ID that is only blanks would vanish
        // from every protocol line.
        ChangeChannelId(table, n, table.Channel(n).ChannelID);
    }
    ComputeIdPaddings(table);
    for (int n = kFirstChannel; n <= kLastChannel; ++n) LoadTriggerWord(table.Channel(n));
}

}  // namespace kestrum
