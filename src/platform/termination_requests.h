#pragma once
// Requests from the system to end the program (Linux: SIGTERM and SIGINT, as
// sent when a desktop session ends, by kill or by Ctrl+C), so that the main
// window can close the ordinary way and the settings are saved.
//
// Each kind of request is caught once: a second one of the same kind ends the
// program at once (the system default). One object at a time; its
// destruction puts the previous handling back.

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrum {

class TerminationRequests {
public:
    virtual ~TerminationRequests() = default;
    // Whether the requests are caught.
    virtual bool Installed() const = 0;
    // A handle the event loop waits on (a file descriptor on Linux): it turns
    // readable when a request came; -1 when nothing is caught.
    virtual std::intptr_t NotifyHandle() const = 0;
    // The requests that came since the last call, oldest first (the signal
    // numbers on Linux).
    virtual std::vector<int> TakeRequests() = 0;
};

// Catches the system's requests to end the program from now on.
std::unique_ptr<TerminationRequests> CreateSystemTerminationRequests();

}  // namespace kestrum
