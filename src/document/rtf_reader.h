#pragma once
// Reading Rich Text files into the protocol, from this program or any other.
// Files come from anywhere, so the reader is bounded: group nesting has a
// limit, \bin may not reach past the end of the file, nothing a file holds
// drives recursion, and the time taken grows linearly with the file's size.

#include <cstddef>
#include <string_view>

#include "document/protocol_document.h"

namespace kestrum {

// Groups may nest this deep (the outermost group counts as 1).
constexpr int kMaxRtfGroupDepth = 1000;

enum class RtfError : int {
    None = 0,           // the file was read to the end of its outermost group
    NotRtf = 1,         // the file does not begin with "{\rtf"
    NestingTooDeep = 2, // a group opens deeper than kMaxRtfGroupDepth
    UnexpectedEnd = 3,  // the file ends inside a group, control word or \'hh
    BinaryTooLong = 4,  // \binN announces more bytes than the file has left
};

struct RtfReadResult {
    RtfError Error = RtfError::None;
    std::size_t Offset = 0;  // byte offset in the file where the error was found
    bool Ok() const { return Error == RtfError::None; }
};

// Clears `document` and reads the Rich Text in `bytes` into it. Each \par,
// \line or \row (and a \'0d or \'0a) ends a line; text after the last line
// end counts as a line when it is not empty. Text is taken byte for byte
// (\'hh as the byte hh); \uN gives its Windows-1252 byte, or '?' outside
// that code page, and skips the \ucN fallback characters that follow it.
// \tab and \cell give a TAB, \~ 0xA0, \- 0xAD, \_ '-'. Formats come from
// \f (through the font table, \deff for unknown fonts), \fs, \cf (through
// the colour table; the automatic colour is black), \b, \i, \ul, \strike,
// \plain, and are restored at the end of each group. The font table, the
// colour table, {\*...} groups and the non-text destinations (style sheet,
// info, pictures, objects, headers, footers, footnotes, field instructions
// and the like) give no text. Unknown control words are ignored. Anything
// after the outermost group is ignored.
// On an error the document keeps the lines read up to that point.
RtfReadResult ReadRtf(std::string_view bytes, ProtocolDocument& document);

}  // namespace kestrum
