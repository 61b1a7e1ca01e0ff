#pragma once
// The clocks of the protocol: the high-resolution performance counter
// (QueryPerformanceFrequency / QueryPerformanceCounter) and the local
// date-time, given as days in the TDateTime form: days since 1899-12-30,
// the fraction being the time of day.

#include <cstdint>
#include <memory>

namespace kestrum {

// Local date-time in days (whole days since 1899-12-30 plus the time of day).
using DateTime = double;

constexpr double kSecondsPerDay = 86400.0;

class Clock {
public:
    virtual ~Clock() = default;

    // Counts per second of the performance counter; false when there is none.
    virtual bool QueryPerformanceFrequency(std::int64_t& frequency) = 0;
    // Current reading of the performance counter; false when there is none.
    virtual bool QueryPerformanceCounter(std::int64_t& count) = 0;
    // The local date-time now.
    virtual DateTime Now() = 0;
};

// The system's clocks.
std::unique_ptr<Clock> CreateSystemClock();

}  // namespace kestrum
