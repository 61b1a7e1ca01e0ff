#pragma once
// Named markers that tell running instances of one program file apart
// (Windows: CreateMutexA / GetLastError() == ERROR_ALREADY_EXISTS,
// ReleaseMutex, CloseHandle). A marker exists while any process holds a
// handle to it that created it, and vanishes when that process ends, also
// by a crash.

#include <cstdint>
#include <memory>
#include <string>

#include "base/instance_info.h"

namespace kestrum {

class InstanceMarkers {
public:
    virtual ~InstanceMarkers() = default;

    // CreateMutexA(no security attributes, not owned, `name`). Returns the
    // handle, kInvalidMarkerHandle on failure. `alreadyExists` is set when
    // another handle already holds a marker of that name (the returned
    // handle then refers to the existing marker).
    virtual MarkerHandle CreateMutex(const std::string& name, bool& alreadyExists) = 0;
    virtual bool ReleaseMutex(MarkerHandle handle) = 0;
    virtual bool CloseHandle(MarkerHandle handle) = 0;
};

// The system's markers (Linux: lock files held with flock).
std::unique_ptr<InstanceMarkers> CreateSystemInstanceMarkers();

}  // namespace kestrum
