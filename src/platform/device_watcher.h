#pragma once
// Notices serial devices that come and go (Windows: the WM_DEVICECHANGE
// messages seen by the application's message hook). The watcher looks at the
// system's device folders and at the folders of the devices the channels are
// mapped to; the event loop waits on its handle and, when that turns
// readable, asks how many device changes arrived. Each one stands for one
// device-change message to the hook.
//
// Every call returns at once. A watcher that could not be set up (the system
// refused its resources) has no handle and never reports a change; the
// program then works without automatic detection.

#include <memory>
#include <string>
#include <vector>

namespace kestrum {

class DeviceWatcher {
public:
    virtual ~DeviceWatcher() = default;

    // Replaces the folders watched besides the system's ones by the folders of
    // `devicePaths` (the channels' devices; empty entries are skipped). A path
    // that is a link is watched in the folder of the link itself, not of its
    // target; a relative path is taken from the current folder. A folder that
    // does not exist yet is watched for from its nearest existing parent and
    // taken up when it appears (which counts as a change, since devices may
    // have appeared in it before the watch did). The devices' file names also
    // count where they appear in the system's device folder.
    virtual void WatchDeviceFolders(const std::vector<std::string>& devicePaths) = 0;

    // A file descriptor that turns readable while events are pending, for
    // poll/epoll or an event-loop notifier; -1 when the watcher has none.
    // The watcher owns it; it stays the same for the watcher's lifetime.
    virtual int EventHandle() const = 0;

    // Reads everything pending without blocking and returns how many of the
    // events were device changes: 0 when nothing relevant happened. Events
    // the system dropped (its queue overflowed) count as one change.
    virtual int DrainDeviceChanges() = 0;
};

// The watcher of this system's device folders (Linux: inotify on /dev and
// /dev/serial/by-id, plus a udev monitor of tty devices where a udev daemon
// runs).
std::unique_ptr<DeviceWatcher> CreateSystemDeviceWatcher();

}  // namespace kestrum
