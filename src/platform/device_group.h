#pragma once
// The user group that owns a device file, for telling the user which group
// gives access to a serial port that could not be opened.

#include <string>

namespace kestrum {

// The name of the device file's owning group ("dialout"); its number when the
// group has no name; empty when the file cannot be examined.
std::string DeviceGroupName(const std::string& devicePath);

}  // namespace kestrum
