#pragma once
// Assembling a line of an entry byte by byte, in ASCII or hex dump form.

#include <cstdint>
#include <string>

#include "capture/capture_context.h"

namespace kestrum {

// Time after which unwritten bytes of a line are shown as an open line.
constexpr double kLineTimeOutDays = 0.1 / kSecondsPerDay;

// ChannelID of entry n (entry 0: the user name) + ":" + its IdPadding.
std::string ChannelIdPrefix(const ChannelTable& channels, int entry);

// FormatTimeTag of `seconds` with the protocol clock's kind and the locale.
std::string FormatTimeTagFor(const CaptureContext& c, double seconds);

// The prefix of a line: with ShowTimeTags the time tag of `seconds` and two
// blanks, then with ShowChannelId the channel-ID prefix.
template <std::size_t N>
void AppendLinePrefix(FixedText<N>& text, const CaptureContext& c, int entry, double seconds);

// A new ASCII line: LineText holds the prefix of the line's first byte
// (ByteTime); LineStarted; deadline now + 0.1 s.
void BeginAsciiLine(CaptureContext& c, int entry);

// NUL shown as byte 1; CR and LF shown as "<CR>"/"<LF>" when ShowCrChar /
// ShowLfChar are on, otherwise dropped; any other byte appended while Running.
void AddAsciiByte(CaptureContext& c, int entry, std::uint8_t byte);

// A new hex line: blank hex column, empty character column, the prefix in
// HexPrefix, no bytes; LineStarted; deadline now + 0.1 s.
void BeginHexLine(CaptureContext& c, int entry);

// The byte's two digits at their place in the hex column, the byte (below 32
// as byte 1) appended to the character column.
void AddHexByte(CaptureContext& c, int entry, std::uint8_t byte);

// ---------------------------------------------------------------------------

template <std::size_t N>
void AppendLinePrefix(FixedText<N>& text, const CaptureContext& c, int entry, double seconds) {
    if (c.options.ShowTimeTags) {
        text.append(FormatTimeTagFor(c, seconds));
        text.append("  ");
    }
    if (c.options.ShowChannelId) {
        text.append(c.channels.EntryId(entry));
        text.push_back(':');
        text.append(c.channels.IdPadding[static_cast<std::size_t>(entry)]);
    }
}

}  // namespace kestrum
