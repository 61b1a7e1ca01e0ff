#include "fakes/fake_sync_events.h"

namespace kestrum::fakes {

void FakeSyncEvents::Pulse(const std::string& name) {
    Event& event = Events[name];
    ++event.Generation;
    event.Signalled = false;
}

EventHandle FakeSyncEvents::CreateEvent(const std::string& name) {
    Calls.push_back("create");
    Event& event = Events[name];
    ++event.Handles;
    event.Signalled = false;
    handles_[next_] = name;
    return next_++;
}

EventHandle FakeSyncEvents::OpenEvent(const std::string& name) {
    Calls.push_back("open");
    const auto found = Events.find(name);
    if (found == Events.end() || found->second.Handles == 0) return kInvalidEventHandle;
    ++found->second.Handles;
    handles_[next_] = name;
    return next_++;
}

FakeSyncEvents::Event* FakeSyncEvents::Find(EventHandle event) {
    const auto found = handles_.find(event);
    return found == handles_.end() ? nullptr : &Events[found->second];
}

bool FakeSyncEvents::SetEvent(EventHandle handle) {
    Calls.push_back("set");
    Event* event = Find(handle);
    if (!event) return false;
    event->Signalled = true;
    ++event->Generation;
    return true;
}

bool FakeSyncEvents::ResetEvent(EventHandle handle) {
    Calls.push_back("reset");
    Event* event = Find(handle);
    if (!event) return false;
    event->Signalled = false;
    return true;
}

WaitResult FakeSyncEvents::WaitForSingleObject(EventHandle handle, std::uint32_t timeoutMs) {
    return WaitInParts(handle, timeoutMs, timeoutMs, {});
}

WaitResult FakeSyncEvents::WaitInParts(EventHandle handle, std::uint32_t timeoutMs, std::uint32_t partMs,
                                       const std::function<bool()>& between) {
    Calls.push_back("wait " + std::to_string(timeoutMs));
    Waited = 0;
    Parts = 0;
    Event* event = Find(handle);
    if (!event) return WaitResult::Failed;
    if (event->Signalled) return WaitResult::Signalled;
    const unsigned generation = event->Generation;
    const std::uint64_t part = partMs == 0 ? 1 : partMs;
    while (true) {
        const std::uint64_t left = timeoutMs - Waited;
        Waited += left < part ? left : part;
        ++Parts;
        event = Find(handle);
        if (!event) return WaitResult::Failed;
        if (event->Generation != generation) return WaitResult::Signalled;
        if (Waited >= timeoutMs) return WaitResult::TimedOut;
        if (between && !between()) return WaitResult::TimedOut;
        event = Find(handle);
        if (event && event->Generation != generation) return WaitResult::Signalled;
    }
}

bool FakeSyncEvents::CloseHandle(EventHandle handle) {
    Calls.push_back("close");
    const auto found = handles_.find(handle);
    if (found == handles_.end()) return false;
    --Events[found->second].Handles;
    handles_.erase(found);
    return true;
}

}  // namespace kestrum::fakes
