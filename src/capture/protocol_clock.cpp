#include "capture/protocol_clock.h"

#include <cmath>

namespace kestrum {

void SetUpProtocolClock(ProtocolClock& clock, Clock& source) {
    std::int64_t frequency = 0;
    clock.CounterAvailable = source.QueryPerformanceFrequency(frequency) && frequency > 0;
    clock.CounterFrequency = clock.CounterAvailable ? static_cast<double>(frequency) : 0.0;
    std::int64_t count = 0;
    if (clock.CounterAvailable && source.QueryPerformanceCounter(count)) clock.CounterOrigin = count;
    clock.TimeOrigin = source.Now();
}

void TakeTimeOrigin(ProtocolClock& clock, Clock& source) {
    if (clock.CounterAvailable) {
        std::int64_t count = 0;
        if (source.QueryPerformanceCounter(count)) clock.CounterOrigin = count;
    } else {
        clock.TimeOrigin = source.Now();
    }
}

double ElapsedSeconds(const ProtocolClock& clock, Clock& source) {
    if (clock.CounterAvailable) {
        std::int64_t count = 0;
        if (!source.QueryPerformanceCounter(count)) return 0.0;
        return static_cast<double>(count - clock.CounterOrigin) / clock.CounterFrequency;
    }
    const double days = source.Now() - clock.TimeOrigin;
    // Fraction in [0, 1): a clock set back gives a time of day, not a negative one.
    return (days - std::floor(days)) * kSecondsPerDay;
}

void TakeTimeOriginAt(ProtocolClock& clock, const InputArrival& arrival) {
    if (clock.CounterAvailable)
        clock.CounterOrigin = arrival.Counter;
    else
        clock.TimeOrigin = arrival.LocalTime;
}

double ArrivalSeconds(const ProtocolClock& clock, const InputArrival& arrival) {
    if (clock.CounterAvailable) {
        const double seconds = static_cast<double>(arrival.Counter - clock.CounterOrigin) / clock.CounterFrequency;
        return seconds > 0.0 ? seconds : 0.0;
    }
    const double days = arrival.LocalTime - clock.TimeOrigin;
    if (days < 0.0 && days * kSecondsPerDay >= -kEarlyArrivalSeconds) return 0.0;
    return (days - std::floor(days)) * kSecondsPerDay;
}

}  // namespace kestrum
