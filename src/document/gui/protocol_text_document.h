#pragma once
// The protocol document as a Qt text document, for printing a protocol file
// that is not in the window (kestrum --print-to-pdf).

#include <QTextDocument>

#include <memory>

#include "document/protocol_document.h"

namespace kestrum {

// One paragraph per line, each run in the character format of its
// attributes (as the protocol field makes them); `defaults` is the
// document's default font.
std::unique_ptr<QTextDocument> ProtocolTextDocument(const ProtocolDocument& protocol, const TextAttributes& defaults);

}  // namespace kestrum
