#pragma once
// A poll timer for unit tests: counts its use and, instead of sleeping,
// moves a fake clock on by the wait.

#include <cstdint>

#include "fakes/fake_clock.h"
#include "platform/poll_timer.h"

namespace kestrum::fakes {

class FakePollTimer : public PollTimer {
public:
    explicit FakePollTimer(FakeClock* clock = nullptr) : clock_(clock) {}

    int Sets = 0;
    int Waits = 0;
    std::int64_t LastDueTime = 0;
    std::int32_t LastPeriodMs = 0;
    std::uint32_t LastTimeoutMs = 0;
    double SecondsPerWait = 0.001;  // how far each wait moves the clock

    bool SetWaitableTimer(std::int64_t dueTime, std::int32_t periodMs) override;
    bool WaitForSingleObject(std::uint32_t timeoutMs) override;

private:
    FakeClock* clock_;
};

}  // namespace kestrum::fakes
