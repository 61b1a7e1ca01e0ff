#pragma once
// What the benchmarks measure: wall-clock seconds on the monotonic clock,
// the CPU seconds of the whole process (all threads, user and system; unlike
// the wall clock they do not grow when other programs share the cores), and
// the peak resident memory; Step prints all three for one step.

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace kestrum::bench {

inline double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double Now() { return Seconds(CLOCK_MONOTONIC); }
inline double CpuSeconds() { return Seconds(CLOCK_PROCESS_CPUTIME_ID); }

// Starts a new peak of the resident set (Linux 4.0 on).
inline void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Peak resident set in MiB since the last reset (VmHWM).
inline double PeakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0;
}

// One measured step, from its construction to Done(), which prints a line:
// the name (padded to `width`), wall-clock and CPU seconds, peak memory and
// `extra`.
struct Step {
    const char* name;
    int width;
    double start;
    double cpuStart;
    explicit Step(const char* stepName, int nameWidth = 34) : name(stepName), width(nameWidth) {
        ResetPeakMemory();
        start = Now();
        cpuStart = CpuSeconds();
    }
    void Done(const std::string& extra = {}) const {
        const double seconds = Now() - start;
        std::printf("%-*s %7.3f s (CPU %7.3f s)   peak RSS %7.1f MiB   %s\n", width, name, seconds,
                    CpuSeconds() - cpuStart, PeakMemoryMiB(), extra.c_str());
        std::fflush(stdout);
    }
};

}  // namespace kestrum::bench
