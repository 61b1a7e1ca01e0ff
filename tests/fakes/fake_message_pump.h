#pragma once
// A message pump for unit tests that runs scripted events. The script is a
// queue of steps; each call of ProcessMessages runs the first step, and a
// step that returns true is done, so the next one runs at the next call.
// Steps stand for what the user does while a handler runs: a Stop click, a
// channel button, a Clear, typing.

#include <deque>
#include <functional>

#include "platform/message_pump.h"

namespace kestrum::fakes {

class FakeMessagePump : public MessagePump {
public:
    using Step = std::function<bool()>;

    int Calls = 0;
    // Past this many calls OnRunaway runs (once per call), so that a test
    // whose loop never ends fails instead of hanging.
    int MaxCalls = 200'000;
    std::function<void()> OnRunaway;
    // Runs on every call, before the script.
    std::function<void()> EveryCall;

    // Appends a step to the script.
    void Then(Step step);
    // Appends a step that runs `event` once.
    void ThenDo(std::function<void()> event);
    // Appends a step that waits until `condition` holds, then runs `event`.
    void When(std::function<bool()> condition, std::function<void()> event);
    bool ScriptDone() const { return script_.empty(); }

    void ProcessMessages() override;

private:
    std::deque<Step> script_;
    bool running_ = false;
};

}  // namespace kestrum::fakes
