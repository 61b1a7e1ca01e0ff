#pragma once
// Manual send: a character string (ASCII display) or a byte sequence (hex
// display) sent once through an active channel's port while recording, with
// a history of recent entries per channel; what was sent is written into
// the protocol as a line of the user's entry 0.

#include "sender/sender_context.h"

namespace kestrum {

// The longest ASCII entry: the history keeps an entry as hex text of at
// most this many bytes.
inline constexpr int kMaxInputLineLength = 255;

// ManualSendFromChannel(channel 1..8): only in monitor mode while Running,
// for an Active channel (anything else does nothing).
// 1. Caption " " + ExeBaseName + ": Send character string from " (ASCII) or
//    ": Send byte sequence from " (hex) + the channel ID, and the prompt, in
//    the current language.
// 2. Every channel's unwritten line is written first, so the sent data
//    starts a line of its own.
// 3. The dialog's list is built from the channel's history (entries that are
//    not hex text dropped; in ASCII the bytes shown, in hex the texts), the
//    dialog runs (the field takes at most 255 characters in ASCII), and its
//    list goes back into the history. In hex, an entry that is not hex text
//    shows the conversion's message and the dialog opens again with the
//    typed text; so does input that converts to no bytes (without a
//    message).
// 4. Nothing is sent after "Clear History" (unless something was typed
//    after it), for an empty hex input, or for an empty ASCII input without
//    an appended CR or LF. Otherwise the bytes (ASCII: the text, then CR
//    with AppendCrChar, LF with AppendLfChar) go out in one WriteFile, and
//    only when the port took them all they are written into the protocol as
//    entry 0's line: ASCII text (with "<CR>"/"<LF>" as ShowCrChar/ShowLfChar
//    say), or hex dump lines of HexLineByteCount bytes, each with the time
//    tag and channel-ID prefix of the moment of sending. Over ports that
//    stamp their input, the line waits until the recording has shown what
//    arrived before that moment (deferred_lines.h). A failed write
//    beeps and shows the system's text once; nothing goes into the protocol.
void ManualSendFromChannel(SenderContext& c, int channel);

// The display mode changed to `logMode`: each channel's LastInputLine is
// converted (to ASCII: the bytes of its hex text, empty when it is not hex
// text; to hex: its hex text, limited to HexLineByteCount bytes).
void ConvertLastInputLines(SenderContext& c, LogMode logMode);

}  // namespace kestrum
