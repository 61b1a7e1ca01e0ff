// Clocks on Linux: CLOCK_MONOTONIC nanoseconds as the performance counter,
// the real-time clock shifted by the local UTC offset as the local date-time.
// The date-time is read from CLOCK_REALTIME_COARSE: it has the resolution of
// the kernel tick (1-4 ms, like the Windows date-time clock), which is all
// its users need (line time-outs of 0.1 s, start and stop times in seconds),
// and costs a fraction of a full read; the capture loop reads it on every
// pass.

#include <time.h>

#include "platform/clock.h"
#include "platform/linux/local_date_time.h"

namespace kestrum {

namespace {

class SystemClock final : public Clock {
public:
    bool QueryPerformanceFrequency(std::int64_t& frequency) override {
        frequency = 1'000'000'000;
        return true;
    }

    bool QueryPerformanceCounter(std::int64_t& count) override {
        timespec ts{};
        if (clock_gettime(CLOCK_MONOTONIC, &ts) != 0) return false;
        count = static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
        return true;
    }

    DateTime Now() override { return localTime_.Now(); }

private:
    LocalDateTime localTime_;
};

}  // namespace

std::unique_ptr<Clock> CreateSystemClock() {
    return std::make_unique<SystemClock>();
}

}  // namespace kestrum
