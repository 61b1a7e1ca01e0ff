#pragma once
// Reading and writing the protocol as plain single-byte text, one byte per
// character, no formats.

#include <string>
#include <string_view>

#include "document/protocol_document.h"

namespace kestrum {

// Clears `document` and fills it with the lines of `bytes`, each in
// `attributes`. CR LF, LF and a lone CR each end a line; a last line without
// a line end counts; an empty text has no lines. Every other byte, NUL
// included, is kept.
//
// A text that opens with a Unicode byte-order mark (UTF-8, UTF-16 LE or BE,
// as editors write them) is read as that encoding instead and converted to
// Windows-1252, '?' standing for a character the code page lacks; the mark
// itself is dropped. A UTF-8 text whose bytes after the mark do not decode
// is kept byte for byte, mark included, so nothing is lost.
void ReadPlainText(std::string_view bytes, const TextAttributes& attributes, ProtocolDocument& document);

// The single-byte text of `bytes` as described above: unchanged without a
// byte-order mark.
std::string PlainTextBytes(std::string_view bytes);

// Every line's bytes followed by CR LF.
std::string WritePlainText(const ProtocolDocument& document);

}  // namespace kestrum
