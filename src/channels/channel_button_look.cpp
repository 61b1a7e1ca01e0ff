#include "channels/channel_button_look.h"

#include "channels/font_entries.h"
#include "channels/trigger_fields.h"

namespace kestrum {

ChannelButtonLook ChannelButtonLookOf(const ChannelTable& table, int channel) {
    ChannelButtonLook look;
    if (channel < kFirstChannel || channel > kLastChannel) return look;
    const ChannelRecord& record = table.Channel(channel);
    look.Caption = record.PortName;
    look.CaptionColour = ButtonCaptionColour(table.Font(channel).FontColor);
    look.Underline = TriggerUnderline(record);
    return look;
}

}  // namespace kestrum
