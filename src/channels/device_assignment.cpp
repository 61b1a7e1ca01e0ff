#include "channels/device_assignment.h"

#include <filesystem>

namespace kestrum {

namespace {

bool SameDevice(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code error;
    const bool same = std::filesystem::equivalent(a, b, error);
    return !error && same;
}

bool Taken(const ChannelTable& table, const std::string& device) {
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        const std::string& named = table.Channel(n).Device;
        if (!named.empty() && SameDevice(named, device)) return true;
    }
    return false;
}

}  // namespace

std::vector<int> AssignDevices(ChannelTable& table, const std::vector<std::string>& presentDevices) {
    std::vector<int> assigned;
    std::size_t next = 0;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        ChannelRecord& channel = table.Channel(n);
        if (!channel.Device.empty()) continue;
        while (next < presentDevices.size() &&
               (presentDevices[next].empty() || Taken(table, presentDevices[next])))
            ++next;
        if (next == presentDevices.size()) break;
        channel.Device = presentDevices[next++];
        assigned.push_back(n);
    }
    return assigned;
}

}  // namespace kestrum
