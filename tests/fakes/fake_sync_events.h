#pragma once
// Named sync events in memory for unit tests. Waits do not sleep: each part
// of a wait counts as its length in milliseconds of "waited" time, and a
// test pulses the event from the code that runs between the parts (the
// message pump's script), as the master instance would.

#include <map>
#include <string>
#include <vector>

#include "platform/sync_event.h"

namespace kestrum::fakes {

class FakeSyncEvents : public SyncEvents {
public:
    struct Event {
        int Handles = 0;
        bool Signalled = false;
        unsigned Generation = 0;
    };
    std::map<std::string, Event> Events;
    std::vector<std::string> Calls;  // "create", "open", "set", "reset", "wait <timeout>", "close"
    // Milliseconds waited by the last WaitInParts, and its parts.
    std::uint64_t Waited = 0;
    int Parts = 0;

    // Another process holds the event `name` (OpenEvent finds it).
    void HeldElsewhere(const std::string& name) { ++Events[name].Handles; }
    // A pulse of the master (SetEvent then ResetEvent) on the event `name`.
    void Pulse(const std::string& name);

    EventHandle CreateEvent(const std::string& name) override;
    EventHandle OpenEvent(const std::string& name) override;
    bool SetEvent(EventHandle event) override;
    bool ResetEvent(EventHandle event) override;
    WaitResult WaitForSingleObject(EventHandle event, std::uint32_t timeoutMs) override;
    WaitResult WaitInParts(EventHandle event, std::uint32_t timeoutMs, std::uint32_t partMs,
                           const std::function<bool()>& between) override;
    bool CloseHandle(EventHandle event) override;

private:
    Event* Find(EventHandle event);
    std::map<EventHandle, std::string> handles_;
    EventHandle next_ = 500;
};

}  // namespace kestrum::fakes
