#include "platform/file_sync.h"

#include <fcntl.h>
#include <unistd.h>

namespace kestrum {

bool SyncToDisk(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

}  // namespace kestrum
