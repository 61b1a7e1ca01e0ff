#pragma once
// Stand-ins for the sender's outside world where a window provides none:
// a timer that never ticks, named events that cannot be made, and an input
// dialog that is always cancelled.

#include "platform/interval_timer.h"
#include "platform/sync_event.h"
#include "sender/input_line_dialog.h"

namespace kestrum {

class InertIntervalTimer : public IntervalTimer {
public:
    void SetHandler(std::function<void()>) override {}
    void SetInterval(std::uint32_t milliseconds) override { interval_ = milliseconds; }
    std::uint32_t Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Enabled() const override { return enabled_; }

private:
    std::uint32_t interval_ = 1000;
    bool enabled_ = false;
};

class InertSyncEvents : public SyncEvents {
public:
    EventHandle CreateEvent(const std::string&) override { return kInvalidEventHandle; }
    EventHandle OpenEvent(const std::string&) override { return kInvalidEventHandle; }
    bool SetEvent(EventHandle) override { return false; }
    bool ResetEvent(EventHandle) override { return false; }
    WaitResult WaitForSingleObject(EventHandle, std::uint32_t) override { return WaitResult::Failed; }
    WaitResult WaitInParts(EventHandle, std::uint32_t, std::uint32_t, const std::function<bool()>&) override {
        return WaitResult::Failed;
    }
    bool CloseHandle(EventHandle) override { return false; }
};

class CancelledInputLine : public InputLineDialog {
public:
    InputLineOutcome GetInputLine(const InputLineRequest&, std::string&, std::vector<std::string>&, int&,
                                  int) override {
        return {};
    }
};

}  // namespace kestrum
