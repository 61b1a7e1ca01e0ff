#include "platform/linux/local_date_time.h"

namespace kestrum {

namespace {

// Days from 1899-12-30 (day 0 of the date-time) to 1970-01-01.
constexpr double kUnixEpochDays = 25569.0;

}  // namespace

DateTime LocalDateTime::Now() {
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

}  // namespace kestrum
