#pragma once
// A udev monitor of tty devices: the events the udev daemon sends once it has
// handled a tty device that was added, removed or changed (its links in
// /dev/serial/by-id and its permissions are in place by then). Built only
// where libudev is available; elsewhere CreateUdevTtyMonitor gives nothing.

#include <memory>

namespace kestrum {

class UdevTtyMonitor {
public:
    virtual ~UdevTtyMonitor() = default;
    // The monitor's socket: non-blocking, close-on-exec, readable while
    // device events are pending. Owned by the monitor.
    virtual int Handle() const = 0;
    // Receives every pending event without blocking; how many there were.
    virtual int DrainEvents() = 0;
};

// A monitor listening to the udev daemon's tty events; nullptr when libudev
// is not built in or the monitor cannot be set up (no netlink socket, no
// memory). Whether a daemon runs is the caller's question: without one the
// monitor is valid but never reports anything.
std::unique_ptr<UdevTtyMonitor> CreateUdevTtyMonitor();

}  // namespace kestrum
