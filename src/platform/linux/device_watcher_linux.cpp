#include "platform/linux/device_watcher_linux.h"

#include <errno.h>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>

#include "platform/linux/udev_tty_monitor.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

// A device folder: every entry change, and the folder itself going away.
constexpr std::uint32_t kDeviceFolderMask =
    IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
// A parent a missing folder is awaited from: subfolders appearing, and the
// parent itself going away.
constexpr std::uint32_t kAwaitedParentMask = IN_CREATE | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;

constexpr unsigned kDeviceRoles = kDeviceRootFolder | kDeviceLinksFolder;

bool IsDirectory(const fs::path& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// "/a/b/" -> "/a/b", so that the last component is the folder's name.
fs::path WithoutTrailingSeparator(fs::path path) {
    while (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    return path;
}

bool AddToEpoll(int epollFd, int fd) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    return epoll_ctl(epollFd, EPOLL_CTL_ADD, fd, &event) == 0;
}

}  // namespace

LinuxDeviceWatcher::LinuxDeviceWatcher(std::string devRoot, std::string udevControl)
    : devRoot_(WithoutTrailingSeparator(std::move(devRoot)).string()) {
    epollFd_ = epoll_create1(EPOLL_CLOEXEC);
    if (epollFd_ < 0) return;
    inotifyFd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotifyFd_ >= 0 && !AddToEpoll(epollFd_, inotifyFd_)) {
        close(inotifyFd_);
        inotifyFd_ = -1;
    }
    if (!udevControl.empty() && access(udevControl.c_str(), F_OK) == 0) {
        udev_ = CreateUdevTtyMonitor();
        if (udev_ != nullptr && !AddToEpoll(epollFd_, udev_->Handle())) udev_.reset();
    }
    if (inotifyFd_ < 0 && udev_ == nullptr) {
        close(epollFd_);
        epollFd_ = -1;
        return;
    }
    Rebuild();
}

LinuxDeviceWatcher::~LinuxDeviceWatcher() {
    udev_.reset();
    if (inotifyFd_ >= 0) close(inotifyFd_);
    if (epollFd_ >= 0) close(epollFd_);
}

void LinuxDeviceWatcher::WatchDeviceFolders(const std::vector<std::string>& devicePaths) {
    std::vector<std::string> folders;
    DeviceFileNames names;
    for (const std::string& device : devicePaths) {
        if (device.empty()) continue;
        std::error_code error;
        const fs::path path = WithoutTrailingSeparator(fs::absolute(device, error));
        if (error || !path.has_filename()) continue;
        // The link's own folder: the lexical parent, no link is followed.
        names.insert(path.filename().string());
        folders.push_back(path.parent_path().string());
    }
    mappedFolders_ = std::move(folders);
    mappedNames_ = std::move(names);
    pendingChanges_ += Rebuild();
}

int LinuxDeviceWatcher::DrainDeviceChanges() {
    int changes = std::exchange(pendingChanges_, 0);
    if (inotifyFd_ >= 0) {
        bool rebuild = false;
        changes += DrainInotify(rebuild);
        // After the whole queue: a deleted folder's events all name its old watch.
        if (rebuild) changes += Rebuild();
    }
    if (udev_ != nullptr) {
        const int events = udev_->DrainEvents();
        eventsRead_ += static_cast<std::uint64_t>(events);
        changes += events;
    }
    return changes;
}

int LinuxDeviceWatcher::DrainInotify(bool& rebuild) {
    int changes = 0;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = read(inotifyFd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // EAGAIN: nothing more pending
        const auto size = static_cast<std::size_t>(got);
        std::size_t offset = 0;
        while (size - offset >= sizeof(inotify_event)) {
            inotify_event event;
            std::memcpy(&event, buffer + offset, sizeof event);
            const std::size_t nameOffset = offset + sizeof event;
            if (event.len > size - nameOffset) break;
            const char* nameStart = buffer + nameOffset;
            const std::string_view name(nameStart, strnlen(nameStart, event.len));
            offset = nameOffset + event.len;
            ++eventsRead_;

            if (event.mask & IN_Q_OVERFLOW) {
                // Events were dropped: anything may have changed, the folders too.
                rebuild = true;
                ++changes;
                continue;
            }
            const auto found = folders_.find(event.wd);
            if (found == folders_.end()) continue;  // a watch given up since
            const Folder& folder = found->second;
            if (event.mask & IN_IGNORED) {
                rebuild = true;
            } else if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
                rebuild = true;
                if (folder.roles & kDeviceRoles) ++changes;
            } else {
                if ((event.mask & IN_ISDIR) && (event.mask & (IN_CREATE | IN_MOVED_TO)) &&
                    std::find(folder.awaitedNames.begin(), folder.awaitedNames.end(), name) !=
                        folder.awaitedNames.end()) {
                    rebuild = true;
                }
                if (CountsAsDeviceChange(folder.roles, name, mappedNames_)) ++changes;
            }
        }
    }
    return changes;
}

int LinuxDeviceWatcher::Rebuild() {
    if (inotifyFd_ < 0) return 0;
    FolderMap next;
    std::set<std::string> missing;
    std::map<std::string, unsigned> wanted;  // a mapped folder may be a system one
    wanted[devRoot_] |= kDeviceRootFolder;
    wanted[devRoot_ + "/serial/by-id"] |= kDeviceLinksFolder;
    for (const std::string& folder : mappedFolders_) wanted[folder] |= kDeviceLinksFolder;
    int takenUp = 0;
    for (const auto& [path, roles] : wanted) {
        if (!WatchOrAwait(path, roles, next)) {
            missing.insert(path);
        } else if (missingFolders_.contains(path)) {
            ++takenUp;
        }
    }

    for (const auto& [wd, folder] : folders_) {
        if (!next.contains(wd)) inotify_rm_watch(inotifyFd_, wd);
    }
    folders_ = std::move(next);
    missingFolders_ = std::move(missing);
    return takenUp;
}

bool LinuxDeviceWatcher::WatchOrAwait(const std::string& path, unsigned roles, FolderMap& next) {
    // A few tries: the awaited folder may appear between the failed watch of
    // it and the watch of its parent, and then no event would tell.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (AddWatch(path, roles, next) >= 0) return true;
        if (errno != ENOENT && errno != ENOTDIR) return false;  // no access, no watches left
        fs::path child = WithoutTrailingSeparator(path);
        for (;;) {
            const fs::path parent = child.parent_path();
            if (parent.empty() || parent == child) return false;
            const int wd = AddWatch(parent.string(), kAwaitedParentFolder, next);
            if (wd >= 0) {
                next[wd].awaitedNames.push_back(child.filename().string());
                break;
            }
            if (errno != ENOENT && errno != ENOTDIR) return false;
            child = parent;
        }
        if (!IsDirectory(child)) return false;
    }
    return false;
}

int LinuxDeviceWatcher::AddWatch(const std::string& path, unsigned roles, FolderMap& next) {
    // IN_MASK_ADD: a folder reached under several parts keeps the events of all.
    const std::uint32_t events = (roles & kDeviceRoles) ? kDeviceFolderMask : kAwaitedParentMask;
    const int wd = inotify_add_watch(inotifyFd_, path.c_str(), events | IN_ONLYDIR | IN_MASK_ADD);
    if (wd >= 0) next[wd].roles |= roles;
    return wd;
}

std::unique_ptr<DeviceWatcher> CreateSystemDeviceWatcher() {
    return std::make_unique<LinuxDeviceWatcher>();
}

}  // namespace kestrum
