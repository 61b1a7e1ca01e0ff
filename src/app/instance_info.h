#pragma once

#include "platform/instance_markers.h"

namespace kestrum {

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
