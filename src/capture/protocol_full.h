#pragma once
// The protocol field refused a line.

#include <string>

#include "capture/capture_context.h"

namespace kestrum {

// "The capacity of the protocol field is exhausted." and, in brackets, the
// field's limits (when it names them, grouped as the locale groups
// thousands) and what to do: save the protocol, then clear it.
std::string ProtocolFullText(const ProtocolField::Limits& limits, int language, const LocaleInfo& locale);

// ProtocolFull and Running false, the Start button disabled until the
// protocol is cleared, and the error shown, once: later refusals while the
// protocol is still full (the flushes of the ending loop) show nothing more.
void ProtocolCapacityExhausted(CaptureContext& c);

}  // namespace kestrum
