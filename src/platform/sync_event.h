#pragma once
// The named event that paces the instances of one program file (Windows:
// CreateEventA, OpenEventA, SetEvent, ResetEvent, WaitForSingleObject,
// CloseHandle). The master instance creates it and pulses it (SetEvent at
// once followed by ResetEvent) at the start of every pass; the others open
// it and wait for a pulse, with a time-out. Each function makes one of those
// calls and reports its result; what a failure means is decided above.
//
// Semantics every implementation keeps:
// - The event is manual-reset. SetEvent releases every wait in progress on
//   it, in any process, and leaves the event signalled: a wait that starts
//   while it is signalled returns at once, until ResetEvent. So a pulse
//   releases exactly the waits in progress at that moment.
// - The event exists while some handle to it is open. OpenEvent of a name
//   that no running process holds fails, also when an earlier instance had
//   created it; the caller may try again later.
// - A process that ends, also by a crash and also in the middle of a wait,
//   leaves nothing locked: the other handles go on working, and a later
//   CreateEvent of the same name works. When the creator is gone while
//   others still hold the event, CreateEvent gives a handle to that same
//   event, so their waits are released by the new creator's pulses.
//
// The handles belong to the object that gave them out; one object is used
// from one thread at a time.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kestrum {

using EventHandle = std::intptr_t;
constexpr EventHandle kInvalidEventHandle = -1;

// A time-out that never ends (INFINITE).
constexpr std::uint32_t kInfiniteWait = 0xFFFFFFFF;

// The results of WaitForSingleObject, with the values Windows gives them.
enum class WaitResult : std::uint32_t {
    Signalled = 0,          // WAIT_OBJECT_0: the event was signalled or set during the wait
    TimedOut = 258,         // WAIT_TIMEOUT: the time-out passed without a signal
    Failed = 0xFFFFFFFF,    // WAIT_FAILED: not a valid event handle, or the system refused the wait
};

class SyncEvents {
public:
    virtual ~SyncEvents() = default;

    // CreateEventA(no security attributes, manual reset, not signalled,
    // `name`). Creates the event, or when it exists already, returns a new
    // handle to it and makes it not signalled. kInvalidEventHandle when the
    // name is empty or holds '/', or the system's object for the name cannot
    // be made or is not one of ours (left as it is).
    virtual EventHandle CreateEvent(const std::string& name) = 0;
    // OpenEventA(EVENT_ALL_ACCESS, not inheritable, `name`): a new handle to
    // an existing event; kInvalidEventHandle when no process holds an event
    // of that name, or for the reasons CreateEvent fails.
    virtual EventHandle OpenEvent(const std::string& name) = 0;
    // Signals the event: every wait in progress returns Signalled, and so does
    // every later wait until ResetEvent. False for an invalid handle.
    virtual bool SetEvent(EventHandle event) = 0;
    // Makes the event not signalled. False for an invalid handle.
    virtual bool ResetEvent(EventHandle event) = 0;
    // Waits until the event is signalled or `timeoutMs` milliseconds have
    // passed (kInfiniteWait: no limit; 0: only looks). Does not reset the
    // event. Failed for an invalid handle.
    virtual WaitResult WaitForSingleObject(EventHandle event, std::uint32_t timeoutMs) = 0;
    // One wait of up to `timeoutMs` milliseconds in all (kInfiniteWait: no
    // limit), made in parts of at most `partMs` (at least 1): after each part
    // that passed without a signal, `between` runs (a window lets its
    // messages through there); when it returns false the wait ends as
    // TimedOut. A SetEvent at any moment after the wait began, also while
    // `between` runs, ends it as Signalled at the next part. Failed for an
    // invalid handle. (Windows: MsgWaitForMultipleObjects in a loop.)
    virtual WaitResult WaitInParts(EventHandle event, std::uint32_t timeoutMs, std::uint32_t partMs,
                                   const std::function<bool()>& between) = 0;
    // Closes the handle; the handle is invalid afterwards. False when it was
    // not a valid handle.
    virtual bool CloseHandle(EventHandle event) = 0;
};

// The system's named events (Linux: a small shared file in the runtime
// folder, waited on with a futex). Handles still open when the object goes
// away are closed.
std::unique_ptr<SyncEvents> CreateSystemSyncEvents();

}  // namespace kestrum
