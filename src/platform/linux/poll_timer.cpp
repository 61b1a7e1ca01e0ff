// The idle-wait timer on Linux. Windows signals a waitable timer on its
// system timer tick; here the tick is one millisecond of CLOCK_MONOTONIC, so
// a due time of 1 us signals at the next millisecond boundary.

#include <errno.h>
#include <time.h>

#include <algorithm>

#include "platform/poll_timer.h"

#include "platform/linux/port_wait_poll_timer.h"
#include "platform/linux/serial_ports_linux.h"

namespace kestrum {

namespace {

constexpr std::int64_t kTickNs = 1'000'000;

std::int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

std::int64_t RoundUpToTick(std::int64_t ns) {
    return (ns + kTickNs - 1) / kTickNs * kTickNs;
}

void SleepUntil(std::int64_t ns) {
    timespec until{};
    until.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    until.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

class SystemPollTimer final : public PollTimer {
public:
    bool SetWaitableTimer(std::int64_t dueTime, std::int32_t periodMs) override {
        const std::int64_t now = MonotonicNs();
        // Negative: relative, in 100 ns units. Positive absolute times (FILETIME)
        // are not used by the program; they count as "now".
        const std::int64_t due = dueTime < 0 ? now + (-dueTime) * 100 : now;
        signalAt_ = RoundUpToTick(std::max(due, now + 1));
        periodNs_ = static_cast<std::int64_t>(std::max(periodMs, 0)) * kTickNs;
        armed_ = true;
        return true;
    }

    bool WaitForSingleObject(std::uint32_t timeoutMs) override {
        const std::int64_t now = MonotonicNs();
        const std::int64_t deadline = now + static_cast<std::int64_t>(timeoutMs) * kTickNs;
        if (!armed_) {
            SleepUntil(deadline);
            return false;
        }
        if (signalAt_ > deadline) {
            SleepUntil(deadline);
            return false;
        }
        if (signalAt_ > now) SleepUntil(signalAt_);
        // Auto reset: the next signal is one period on, or none.
        if (periodNs_ > 0) {
            const std::int64_t after = MonotonicNs();
            while (signalAt_ <= after) signalAt_ += periodNs_;
        } else {
            armed_ = false;
        }
        return true;
    }

private:
    bool armed_ = false;
    std::int64_t signalAt_ = 0;
    std::int64_t periodNs_ = 0;
};

}  // namespace

std::unique_ptr<PollTimer> CreateSystemPollTimer(SerialPorts* ports) {
    if (auto* linuxPorts = dynamic_cast<LinuxSerialPorts*>(ports))
        return std::make_unique<PortWaitPollTimer>(*linuxPorts);
    return std::make_unique<SystemPollTimer>();
}

}  // namespace kestrum
