#pragma once

namespace kestrum {

// This process's instance number among the running copies of the same
// program file: 1..256, or 0 when all numbers were taken.
struct InstanceInfo {
    int Number = 0;
    bool IsMaster = false;  // Number == 1
};

}  // namespace kestrum
