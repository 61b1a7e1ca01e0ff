#pragma once
// The capture loop's idle wait on Linux, ended early by input on any open
// serial port. Like a waitable timer on a system whose timer tick is kTick,
// it signals (and its waits end) on tick boundaries of CLOCK_MONOTONIC, so an
// idle pass sleeps up to one tick; input that arrives meanwhile ends the wait
// at once, so a quiet recording costs next to nothing without delaying data.

#include <chrono>
#include <cstdint>

#include "platform/poll_timer.h"

namespace kestrum {

class LinuxSerialPorts;

class PortWaitPollTimer final : public PollTimer {
public:
    static constexpr std::chrono::milliseconds kTick{10};

    explicit PortWaitPollTimer(LinuxSerialPorts& ports) : ports_(ports) {}

    bool SetWaitableTimer(std::int64_t dueTime, std::int32_t periodMs) override;
    // Ends at the timer's signal (true), at the time-out rounded up to a tick
    // (false), or as soon as a port has input to read (false).
    bool WaitForSingleObject(std::uint32_t timeoutMs) override;

private:
    LinuxSerialPorts& ports_;
    bool armed_ = false;
    std::int64_t signalAt_ = 0;  // ns of CLOCK_MONOTONIC
    std::int64_t periodNs_ = 0;
};

}  // namespace kestrum
