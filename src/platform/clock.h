#pragma once
// The clocks of the protocol: the high-resolution performance counter
// (QueryPerformanceFrequency / QueryPerformanceCounter) and the local
// date-time, given as days in the TDateTime form: days since 1899-12-30,
// the fraction being the time of day.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/locale_info.h"

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
    // The time of day of `dateTime` in the locale's long time format.
    virtual std::string LongTimeText(DateTime dateTime) = 0;
};

// The system's clocks; `locale` gives the long time format.
std::unique_ptr<Clock> CreateSystemClock(const LocaleInfo& locale);

}  // namespace kestrum
