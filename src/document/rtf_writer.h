#pragma once
// Writing the protocol as Rich Text (Windows-1252).

#include <string>

#include "document/protocol_document.h"

namespace kestrum {

// The document as a Rich Text file: a "{\rtf1\ansi\ansicpg1252\deff0" header,
// a font table and a colour table of the formats the runs use, then per run
// the changes of font, size (\fs, half points), colour (\cf) and style (\b,
// \i, \ul, \strike, switched off explicitly), the run's bytes and \par after
// each line. Bytes below 0x20 and from 0x7F on are written as \'hh, and \ { }
// are escaped, so every byte of a line reads back unchanged.
// Only the four style bits 1, 2, 4 and 8 are written. A colour with a
// non-zero high byte (a system colour) is written as the automatic colour,
// which reads back as black. Sizes are written as they are; the reader keeps
// sizes within 1..1638 points.
// Without `endLastLine` the last line has no \par: a piece of text copied
// from the middle of a line stays without a line end.
std::string WriteRtf(const FieldLineSource& document, bool endLastLine = true);

}  // namespace kestrum
