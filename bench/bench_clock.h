#pragma once
// The two clocks the benchmarks read: wall-clock seconds on the monotonic
// clock, and the CPU seconds the whole process has used (all threads, user
// and system).

#include <time.h>

namespace kestrum::bench {

inline double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double Now() { return Seconds(CLOCK_MONOTONIC); }
inline double CpuSeconds() { return Seconds(CLOCK_PROCESS_CPUTIME_ID); }

}  // namespace kestrum::bench
