#pragma once
// The waitable timer of the capture loop's idle wait: an unnamed auto-reset
// timer (CreateWaitableTimerA), set with SetWaitableTimer and waited on with
// WaitForSingleObject.

#include <cstdint>
#include <memory>

namespace kestrum {

class PollTimer {
public:
    virtual ~PollTimer() = default;

    // Due time in 100 ns units, negative for a time relative to now; then
    // signalled every `periodMs` milliseconds (0: once). No completion
    // routine, no resume.
    virtual bool SetWaitableTimer(std::int64_t dueTime, std::int32_t periodMs) = 0;
    // Waits until the timer is signalled (and resets it) or `timeoutMs` has
    // passed. True when it was signalled.
    virtual bool WaitForSingleObject(std::uint32_t timeoutMs) = 0;
};

class SerialPorts;

// A new timer of the system. Given the system's serial ports
// (CreateSystemSerialPorts), its waits also end as soon as an open port
// receives input, so an idle recording sleeps without delaying data.
std::unique_ptr<PollTimer> CreateSystemPollTimer(SerialPorts* ports = nullptr);

}  // namespace kestrum
