#pragma once
// What a channel button shows that follows from the channel table alone.

#include <string>

#include "base/channel_table.h"

namespace kestrum {

struct ChannelButtonLook {
    std::string Caption;         // the PortName
    Colour CaptionColour = 0;    // FontColor, silver shown as black
    bool Underline = false;      // TriggerEnabled and Active
    bool operator==(const ChannelButtonLook&) const = default;
};

// The look of channel 1..8's button. Entering sender mode removes all
// underlines; that is the mode switch's business, not this rule's.
ChannelButtonLook ChannelButtonLookOf(const ChannelTable& table, int channel);

}  // namespace kestrum
