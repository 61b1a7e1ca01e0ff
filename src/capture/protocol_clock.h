#pragma once
// The protocol clock: seconds since a time origin, from the performance
// counter when there is one, else from the local date-time.

#include <cstdint>

#include "platform/clock.h"
#include "platform/serial_port.h"

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

// The time origin is when a byte arrived (a trigger word's first byte): its
// counter reading with the counter, else its date-time.
void TakeTimeOriginAt(ProtocolClock& clock, const InputArrival& arrival);

// Seconds since the origin at which a byte arrived, by the same rule as
// ElapsedSeconds: from its counter reading with the counter, else the time of
// day difference of its date-time (0 up to one day). A byte that arrived
// before the origin was taken (at most kEarlyArrivalSeconds before it, while
// a recording started) counts as arriving at the origin.
double ArrivalSeconds(const ProtocolClock& clock, const InputArrival& arrival);

constexpr double kEarlyArrivalSeconds = 1.0;

}  // namespace kestrum
