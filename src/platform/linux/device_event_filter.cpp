#include "platform/linux/device_event_filter.h"

namespace kestrum {

bool LooksLikeSerialDeviceName(std::string_view name) {
    // tty covers ttyS, ttyUSB, ttyACM, ttyAMA, ttymxc, ... and the consoles;
    // a console counted by mistake costs one scan, a missed adapter costs more.
    for (const std::string_view prefix : {"tty", "rfcomm", "ircomm"}) {
        if (name.starts_with(prefix)) return true;
    }
    return false;
}

bool CountsAsDeviceChange(unsigned roles, std::string_view name, const DeviceFileNames& mappedNames) {
    if (name.empty()) return false;
    if (roles & kDeviceRootFolder) return LooksLikeSerialDeviceName(name) || mappedNames.contains(name);
    return (roles & kDeviceLinksFolder) != 0;
}

}  // namespace kestrum
