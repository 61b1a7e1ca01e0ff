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
void ReadPlainText(std::string_view bytes, const TextAttributes& attributes, ProtocolDocument& document);

// Every line's bytes followed by CR LF.
std::string WritePlainText(const ProtocolDocument& document);

}  // namespace kestrum
