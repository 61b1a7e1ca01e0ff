#pragma once
// Reading one byte from a channel's port, and the wait of a pass that found
// every port quiet.

#include <cstdint>

#include "capture/capture_context.h"

namespace kestrum {

// One byte from the channel's port, if one is waiting. A failed read
// (a port that is closed or gone) counts as no byte.
inline bool ReadChannelByte(CaptureContext& c, const ChannelRecord& record, std::uint8_t& byte) {
    std::uint32_t got = 0;
    return c.ports.ReadFile(record.Handle, &byte, 1, got) && got == 1;
}

// The idle wait: the poll timer due 1 us from now with a period of 1 ms,
// waited on for at most 1 ms.
void IdleWait(CaptureContext& c);

}  // namespace kestrum
