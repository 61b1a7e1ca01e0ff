// Instance markers as lock files: <name>.lock in $XDG_RUNTIME_DIR (else the
// per-user folder /tmp/kestrum-<uid>, mode 0700), held with an exclusive
// flock. The lock goes with the process, also when it crashes. Lock files
// are left in place: removing one would race with a process that has just
// opened it.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/instance_markers.h"
#include "platform/linux/runtime_folder.h"

namespace kestrum {
namespace {

class LockFileMarkers final : public InstanceMarkers {
public:
    MarkerHandle CreateMutex(const std::string& name, bool& alreadyExists) override {
        alreadyExists = false;
        if (name.empty() || name.find('/') != std::string::npos) return kInvalidMarkerHandle;
        const std::string folder = RuntimeFolder();
        if (folder.empty()) return kInvalidMarkerHandle;
        const std::string path = folder + "/" + name + ".lock";
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return kInvalidMarkerHandle;
        int result;
        do {
            result = flock(fd, LOCK_EX | LOCK_NB);
        } while (result != 0 && errno == EINTR);
        if (result == 0) return fd;
        if (errno == EWOULDBLOCK) {
            alreadyExists = true;
            return fd;  // a handle to the existing marker, holding nothing
        }
        close(fd);
        return kInvalidMarkerHandle;
    }

    // The marker was created not owned; it lives until its handle closes.
    bool ReleaseMutex(MarkerHandle handle) override { return handle >= 0; }

    bool CloseHandle(MarkerHandle handle) override {
        if (handle < 0) return false;
        return close(static_cast<int>(handle)) == 0;
    }
};

}  // namespace

std::unique_ptr<InstanceMarkers> CreateSystemInstanceMarkers() {
    return std::make_unique<LockFileMarkers>();
}

}  // namespace kestrum
