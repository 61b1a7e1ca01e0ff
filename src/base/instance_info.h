#pragma once

#include <cstdint>

namespace kestrum {

// A named instance marker held by this process (a mutex handle on Windows).
using MarkerHandle = std::intptr_t;
constexpr MarkerHandle kInvalidMarkerHandle = -1;

// This process's instance number among the running copies of the same
// program file: 1..256, or 0 when all numbers were taken.
struct InstanceInfo {
    int Number = 0;
    bool IsMaster = false;  // Number == 1
    // The marker that holds Number; open until the main window closes
    // (invalid when the number is 0 or the marker could not be made).
    MarkerHandle InstanceMutex = kInvalidMarkerHandle;
};

}  // namespace kestrum
