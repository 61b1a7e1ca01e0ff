#pragma once
// Lets pending window messages through from inside a running handler
// (Application.ProcessMessages). Every other handler of the window may run
// nested inside this call.

namespace kestrum {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void ProcessMessages() = 0;
};

}  // namespace kestrum
