#include "fakes/fake_message_pump.h"

namespace kestrum::fakes {

void FakeMessagePump::Then(Step step) {
    script_.push_back(std::move(step));
}

void FakeMessagePump::ThenDo(std::function<void()> event) {
    script_.push_back([event = std::move(event)] {
        event();
        return true;
    });
}

void FakeMessagePump::When(std::function<bool()> condition, std::function<void()> event) {
    script_.push_back([condition = std::move(condition), event = std::move(event)] {
        if (!condition()) return false;
        event();
        return true;
    });
}

void FakeMessagePump::ProcessMessages() {
    ++Calls;
    if (running_) return;  // a handler run from here let messages through again
    running_ = true;
    if (Calls > MaxCalls && OnRunaway) OnRunaway();
    if (EveryCall) EveryCall();
    if (!script_.empty()) {
        Step step = script_.front();
        if (step()) script_.pop_front();
    }
    running_ = false;
}

}  // namespace kestrum::fakes
