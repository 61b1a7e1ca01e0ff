#include "platform/linux/port_wait_poll_timer.h"

#include <time.h>

#include <algorithm>

#include "platform/linux/serial_ports_linux.h"

namespace kestrum {

namespace {

constexpr std::int64_t kTickNs = std::chrono::nanoseconds(PortWaitPollTimer::kTick).count();

std::int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

std::int64_t RoundUpToTick(std::int64_t ns) { return (ns + kTickNs - 1) / kTickNs * kTickNs; }

}  // namespace

bool PortWaitPollTimer::SetWaitableTimer(std::int64_t dueTime, std::int32_t periodMs) {
    const std::int64_t now = MonotonicNs();
    // Negative: relative, in 100 ns units. Absolute times are not used by the
    // program; they count as "now".
    const std::int64_t due = dueTime < 0 ? now + (-dueTime) * 100 : now;
    signalAt_ = RoundUpToTick(std::max(due, now + 1));
    periodNs_ = static_cast<std::int64_t>(std::max(periodMs, 0)) * 1'000'000;
    armed_ = true;
    return true;
}

bool PortWaitPollTimer::WaitForSingleObject(std::uint32_t timeoutMs) {
    const std::int64_t now = MonotonicNs();
    const std::int64_t deadline =
        timeoutMs == 0 ? now : RoundUpToTick(now + static_cast<std::int64_t>(timeoutMs) * 1'000'000);
    const bool signals = armed_ && signalAt_ <= deadline;
    const std::int64_t end = signals ? signalAt_ : deadline;
    if (end > now && ports_.WaitForInput(std::chrono::nanoseconds(end - now))) return false;
    if (!signals) return false;
    // Auto reset: the next signal is on the first tick a period on, or none.
    if (periodNs_ > 0) {
        const std::int64_t after = MonotonicNs();
        while (signalAt_ <= after) signalAt_ = RoundUpToTick(signalAt_ + periodNs_);
    } else {
        armed_ = false;
    }
    return true;
}

}  // namespace kestrum
