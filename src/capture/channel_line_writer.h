#pragma once
// Writing an entry's line into the protocol field: the one way a line gets
// into the protocol.

#include <string>

#include "capture/capture_context.h"

namespace kestrum {

// Applies font entry 0..9 to the text appended next.
void ApplyFontEntry(CaptureContext& c, int entry);

// The text of entry n's line in the form its buffers were filled in
// (LineRecord::Mode): ASCII LineText; hex HexPrefix + HexColumn + CharColumn,
// with a "-" between two groups of eight bytes once the second has begun.
void ComposeChannelLine(CaptureContext& c, int entry, std::string& text);

// Writes entry n's line: deletes the entry's open line first when LineClosed
// is false, appends the line in the entry's font, then applies the user
// font. A field that fails calls ProtocolCapacityExhausted, and the
// bookkeeping (Written, LineDeadline, LastChannel) is done all the same.
// The caller sets LineClosed afterwards.
void WriteChannelLine(CaptureContext& c, int entry);

}  // namespace kestrum
