#include "fakes/fake_clock.h"

#include <cmath>

#include "capture/long_time_text.h"

namespace kestrum::fakes {

void FakeClock::Advance(double seconds) {
    Counter += std::llround(seconds * static_cast<double>(Frequency));
    DateTimeNow += seconds / kSecondsPerDay;
}

void FakeClock::SetTimeOfDay(double seconds) {
    DateTimeNow = std::floor(DateTimeNow) + seconds / kSecondsPerDay;
}

bool FakeClock::QueryPerformanceFrequency(std::int64_t& frequency) {
    frequency = HasCounter ? Frequency : 0;
    return HasCounter;
}

bool FakeClock::QueryPerformanceCounter(std::int64_t& count) {
    count = HasCounter ? Counter : 0;
    return HasCounter;
}

DateTime FakeClock::Now() {
    ++NowCalls;
    return DateTimeNow;
}

}  // namespace kestrum::fakes
