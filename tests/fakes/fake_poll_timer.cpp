#include "fakes/fake_poll_timer.h"

namespace kestrum::fakes {

bool FakePollTimer::SetWaitableTimer(std::int64_t dueTime, std::int32_t periodMs) {
    ++Sets;
    LastDueTime = dueTime;
    LastPeriodMs = periodMs;
    return true;
}

bool FakePollTimer::WaitForSingleObject(std::uint32_t timeoutMs) {
    ++Waits;
    LastTimeoutMs = timeoutMs;
    if (clock_ != nullptr) clock_->Advance(SecondsPerWait);
    return true;
}

}  // namespace kestrum::fakes
