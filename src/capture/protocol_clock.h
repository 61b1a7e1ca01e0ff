#pragma once
// The protocol clock: seconds since a time origin, from the performance
// counter when there is one, else from the local date-time.

#include <cstdint>

#include "platform/clock.h"

namespace kestrum {

struct ProtocolClock {
    bool CounterAvailable = false;
    double CounterFrequency = 0.0;  // counts per second
    std::int64_t CounterOrigin = 0;
    DateTime TimeOrigin = 0.0;
};

// At window creation: tests for the counter and takes both origins.
void SetUpProtocolClock(ProtocolClock& clock, Clock& source);

// The time origin is now: the counter's with a counter, else the date-time's.
void TakeTimeOrigin(ProtocolClock& clock, Clock& source);

// Seconds since the origin. Without the counter the time of day difference
// is used, so the result runs from 0 up to one day and starts again at 0.
double ElapsedSeconds(const ProtocolClock& clock, Clock& source);

}  // namespace kestrum
