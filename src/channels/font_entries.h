#pragma once
// Font entries 0..9: the style byte built from the saved flags, the master
// font choice, the attributes applied to protocol text and the colour of a
// channel button's caption.

#include <cstdint>

#include "base/channel_table.h"
#include "platform/protocol_field.h"

namespace kestrum {


// Bold 1, italic 2, underline 4, strike-out 8 from the entry's flags.
std::uint8_t FontStyleFromFlags(const FontEntry& entry);

// Rebuilds FontStyle of every entry: entries 0..8 from all four flags, the
// master entry (9) from bold and italic only.
void RebuildFontStyles(ChannelTable& table);

// Stores a style chosen in the font dialog for entry 0..9: sets the flags from
// the bits and rebuilds FontStyle. The master entry keeps only bold and
// italic. Entries outside 0..9 are ignored.
void SetEntryFontStyle(ChannelTable& table, int entry, std::uint8_t style);

// Master font choice: entries 0..8 take the master entry's name, size, bold
// and italic; underline and strike-out are cleared; colours stay.
void ApplyMasterFont(ChannelTable& table);

// Name, size, colour and style of an entry, as applied to appended text.
TextAttributes FontEntryAttributes(const FontEntry& entry);

// A channel button's caption colour: the font colour, silver shown as black.
Colour ButtonCaptionColour(Colour fontColor);

}  // namespace kestrum
