#pragma once
// Lets pending window messages through over QCoreApplication::processEvents.
// An idle processEvents costs about as much as a whole pass of the capture
// loop, so a call within kMinimumInterval of the previous one returns at once;
// nobody notices a millisecond.

#include <QEventLoop>

#include <chrono>
#include <functional>

#include "platform/message_pump.h"

namespace kestrum {

class QtMessagePump : public MessagePump {
public:
    static constexpr std::chrono::microseconds kMinimumInterval{1000};

    // `beforeEvents` runs before every processEvents (the window copies
    // changed view data onto its widgets there); may be empty.
    explicit QtMessagePump(std::function<void()> beforeEvents = {});

    void ProcessMessages() override;
    // Processes events now, whenever the last call was.
    void ProcessMessagesNow();
    // As ProcessMessages, but keys and mouse events wait for the event loop:
    // for a handler of user input, which must not run the input that came
    // after its own first.
    void ProcessMessagesExceptInput();

    // The longest time between two processEvents calls while calls kept
    // coming (a gap of more than a second counts as idle and is not kept).
    std::chrono::nanoseconds LongestGap() const { return longestGap_; }
    void ResetStatistics();

private:
    // Processes unless the last call was within kMinimumInterval.
    void ProcessIfDue(QEventLoop::ProcessEventsFlags flags);
    void Process(QEventLoop::ProcessEventsFlags flags);

    std::function<void()> beforeEvents_;
    std::chrono::steady_clock::time_point last_{};
    std::chrono::nanoseconds longestGap_{0};
};

}  // namespace kestrum
