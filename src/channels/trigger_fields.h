#pragma once
// A channel's trigger word and the fields derived from it, and the
// trigger-enabled flag.

#include <string>
#include <string_view>

#include "base/channel_table.h"

namespace kestrum {

// The bytes with their trailing run of CR and LF shown as 0xB6 (CR) and
// 0xA4 (LF); bytes before the run are unchanged.
std::string TriggerDisplayTextOf(std::string_view bytes);

// The bytes with every byte below 32 replaced by 0x01.
std::string TriggerHexColumnTextOf(std::string_view bytes);

// Stores a new trigger word: TriggerBytes (the first 16 bytes at most),
// TriggerLength, TriggerDisplayText, TriggerHexColumnText and TriggerWord
// (hex text, limit 16, no padding). An empty word clears TriggerEnabled; the
// caller then refreshes the button underline and menu check.
void SetTriggerBytes(ChannelRecord& record, std::string_view bytes);

// Rebuilds the trigger from the saved TriggerWord, without messages: text
// that does not convert gives an empty trigger.
void LoadTriggerWord(ChannelRecord& record);

// Stores the trigger-enabled flag. A channel without a trigger word stays
// disabled. Returns the stored value. The GUI then shows TriggerUnderline on
// the button and the flag as the menu item's check mark.
bool SetTriggerEnabled(ChannelRecord& record, bool enabled);

// The button caption is underlined exactly when the trigger is enabled and
// the channel is active.
bool TriggerUnderline(const ChannelRecord& record);

}  // namespace kestrum
