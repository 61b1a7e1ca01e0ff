#pragma once
// The local date-time on Linux, in the days of DateTime: the real-time clock
// shifted by the local UTC offset. It is read from CLOCK_REALTIME_COARSE,
// which has the resolution of the kernel tick (1-4 ms, like the Windows
// date-time clock) and costs a fraction of a full read; the UTC offset is
// looked up once a minute. One object per thread.

#include <time.h>

#include "platform/clock.h"

namespace kestrum {

class LocalDateTime {
public:
    // The local date-time now.
    DateTime Now();

private:
    time_t cachedMinute_ = -1;
    long utcOffset_ = 0;
};

}  // namespace kestrum
