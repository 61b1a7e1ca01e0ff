#include "platform/device_group.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace kestrum {

std::string DeviceGroupName(const std::string& devicePath) {
    struct stat info {};
    if (devicePath.empty() || ::stat(devicePath.c_str(), &info) != 0) return {};
    long size = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    if (size <= 0) size = 16384;
    std::vector<char> buffer(static_cast<std::size_t>(size));
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->gr_name)
        return found->gr_name;
    return std::to_string(info.st_gid);
}

}  // namespace kestrum
