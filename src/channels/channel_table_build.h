#pragma once
// Bringing the channel table into its starting state after the settings
// file has been read, before any port is looked at.

#include "base/channel_table.h"

namespace kestrum {

// Builds every FontStyle, the ID paddings and, for channels 1..8 in order,
// the trigger from its saved TriggerWord (quietly; a word that does not
// convert is empty, one over 16 bytes keeps its first 16), with TriggerWord
// written back in its canonical form and TriggerEnabled cleared for an empty
// word. A channel ID that is empty after trimming becomes its PortName.
// Button colours and menu checks are then copied by the GUI, and the
// protocol's default attributes are FontEntryAttributes(Fonts[kUserEntry]).
void BuildChannelTable(ChannelTable& table);

}  // namespace kestrum
