#pragma once
// A clock for unit tests: it moves only when the test says so. The counter
// and the date-time move together.

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace kestrum::fakes {

class FakeClock : public Clock {
public:
    bool HasCounter = true;
    std::int64_t Frequency = 10'000'000;  // counts per second
    std::int64_t Counter = 1'000'000;
    DateTime DateTimeNow = 45'000.5;      // noon of some day
    int NowCalls = 0;

    // Moves both clocks on by `seconds`.
    void Advance(double seconds);
    // Local time of day now, in seconds since midnight.
    void SetTimeOfDay(double seconds);

    bool QueryPerformanceFrequency(std::int64_t& frequency) override;
    bool QueryPerformanceCounter(std::int64_t& count) override;
    DateTime Now() override;
};

}  // namespace kestrum::fakes
