// Clocks on Linux: CLOCK_MONOTONIC nanoseconds as the performance counter,
// the real-time clock shifted by the local UTC offset as the local date-time.
// The date-time is read from CLOCK_REALTIME_COARSE: it has the resolution of
// the kernel tick (1-4 ms, like the Windows date-time clock), which is all
// its users need (line time-outs of 0.1 s, start and stop times in seconds),
// and costs a fraction of a full read; the capture loop reads it on every
// pass.

#include <time.h>

#include "platform/clock.h"

namespace kestrum {

namespace {

// Days from 1899-12-30 (day 0 of the date-time) to 1970-01-01.
constexpr double kUnixEpochDays = 25569.0;

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

    DateTime Now() override {
        timespec ts{};
        clock_gettime(CLOCK_REALTIME_COARSE, &ts);
        // The UTC offset only changes at whole minutes; look it up once a minute.
        const time_t minute = ts.tv_sec / 60;
        if (minute != cachedMinute_) {
            tm local{};
            time_t seconds = ts.tv_sec;
            if (localtime_r(&seconds, &local) != nullptr) utcOffset_ = local.tm_gmtoff;
            cachedMinute_ = minute;
        }
        // Whole seconds and nanoseconds scaled to days by multiplication (a
        // division here costs more than the clock read).
        constexpr double kDaysPerSecond = 1.0 / kSecondsPerDay;
        constexpr double kDaysPerNanosecond = kDaysPerSecond * 1e-9;
        return static_cast<double>(ts.tv_sec + utcOffset_) * kDaysPerSecond +
               static_cast<double>(ts.tv_nsec) * kDaysPerNanosecond + kUnixEpochDays;
    }

private:
    time_t cachedMinute_ = -1;
    long utcOffset_ = 0;
};

}  // namespace

std::unique_ptr<Clock> CreateSystemClock() {
    return std::make_unique<SystemClock>();
}

}  // namespace kestrum
