#pragma once
// The device watcher on Linux. One inotify instance watches the system's
// device folder <dev>, the adapter links in <dev>/serial/by-id and the folders
// of the mapped devices for entries created, deleted, moved in or out and
// changed in their attributes (udev sets a new device's owner and mode after
// the kernel created it), and for the folders themselves being deleted or
// moved. A watched folder that is missing (by-id exists only while an adapter
// is plugged in) is awaited from its nearest existing parent and watched as
// soon as it appears; a deleted one is awaited again. Which entry events count
// is decided by CountsAsDeviceChange (device_event_filter.h).
//
// Where a udev daemon runs, a udev monitor of tty devices is merged into the
// same handle (an epoll set over both), so that a device udev has finished
// setting up is reported even when no folder entry changes.
//
// The roots are "/dev" and "/run/udev/control" normally; tests point them at
// temporary folders.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/device_watcher.h"
#include "platform/linux/device_event_filter.h"

namespace kestrum {

class UdevTtyMonitor;

class LinuxDeviceWatcher final : public DeviceWatcher {
public:
    // Watches `devRoot` and `devRoot`/serial/by-id at once. The udev monitor
    // is added when `udevControl` (the udev daemon's control socket) exists;
    // an empty path leaves it out.
    explicit LinuxDeviceWatcher(std::string devRoot = "/dev", std::string udevControl = "/run/udev/control");
    ~LinuxDeviceWatcher() override;
    LinuxDeviceWatcher(const LinuxDeviceWatcher&) = delete;
    LinuxDeviceWatcher& operator=(const LinuxDeviceWatcher&) = delete;

    void WatchDeviceFolders(const std::vector<std::string>& devicePaths) override;
    int EventHandle() const override { return epollFd_; }
    int DrainDeviceChanges() override;

    // Whether the udev monitor is part of the handle.
    bool ListensToUdev() const { return udev_ != nullptr; }
    // Every event read so far, relevant or not (for measurements).
    std::uint64_t EventsRead() const { return eventsRead_; }

private:
    // One inotify watch; several asked-for paths may lead to the same folder.
    struct Folder {
        unsigned roles = 0;
        std::vector<std::string> awaitedNames;  // missing subfolders waited for here
    };
    using FolderMap = std::map<int, Folder>;  // by watch descriptor

    int DrainInotify(bool& rebuild);
    // Re-resolves every wanted folder to a watch (or to the watch of the
    // parent it is awaited from) and drops the watches no longer needed.
    // Returns how many device folders that were missing are now watched.
    int Rebuild();
    // Watches `path` with `roles` in `next`, or its nearest existing parent
    // awaiting it. True when `path` itself is watched.
    bool WatchOrAwait(const std::string& path, unsigned roles, FolderMap& next);
    int AddWatch(const std::string& path, unsigned roles, FolderMap& next);

    std::string devRoot_;
    int epollFd_ = -1;
    int inotifyFd_ = -1;
    std::unique_ptr<UdevTtyMonitor> udev_;
    std::vector<std::string> mappedFolders_;
    DeviceFileNames mappedNames_;
    FolderMap folders_;
    std::set<std::string> missingFolders_;  // wanted device folders not watched at the last rebuild
    int pendingChanges_ = 0;                // found outside DrainDeviceChanges, reported by its next call
    std::uint64_t eventsRead_ = 0;
};

}  // namespace kestrum
