#pragma once
// Which entry events in a watched folder can matter to the channels' devices.
// The system's device folder sees many unrelated entries (disks, sound,
// consoles being re-owned), so there only names that look like serial
// devices count; in an adapter-link folder or a mapped device's folder every
// entry counts. A folder may play several parts at once (a device mapped to
// /dev/ttyUSB0 makes the device folder a mapped folder too).

#include <set>
#include <string>
#include <string_view>

namespace kestrum {

// The parts a watched folder plays, as bits.
enum DeviceFolderRole : unsigned {
    kDeviceRootFolder = 1u,     // the system's device folder (/dev)
    kDeviceLinksFolder = 2u,    // adapter links (/dev/serial/by-id) or a mapped device's folder
    kAwaitedParentFolder = 4u,  // watched only for a missing subfolder to appear
};

// The file names of the mapped devices ("ttyUSB0", "usb-Vendor_Adapter-if00-port0").
using DeviceFileNames = std::set<std::string, std::less<>>;

// True when "ttyUSB0", "rfcomm1", "ircomm0", ...: a name the kernel or udev
// gives serial devices in the device folder.
bool LooksLikeSerialDeviceName(std::string_view name);

// Whether an entry event (created, deleted, moved, attributes changed) for
// `name` in a folder with `roles` counts as a device change. An event about
// the folder itself (empty name) never does. In the system's device folder
// only serial-looking names and `mappedNames` count, even when the folder is
// also a mapped device's folder; in any other device folder every entry
// counts; in a folder that is only an awaited parent none does.
bool CountsAsDeviceChange(unsigned roles, std::string_view name, const DeviceFileNames& mappedNames);

}  // namespace kestrum
