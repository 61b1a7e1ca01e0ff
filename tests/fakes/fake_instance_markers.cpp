#include "fakes/fake_instance_markers.h"

namespace kestrum {

MarkerHandle FakeInstanceMarkers::CreateMutex(const std::string& name, bool& alreadyExists) {
    Calls.push_back("create " + name);
    alreadyExists = false;
    if (FailingNames.count(name) != 0) return kInvalidMarkerHandle;
    alreadyExists = Exists(name);
    const MarkerHandle handle = next_++;
    handles_[handle] = name;
    return handle;
}

bool FakeInstanceMarkers::ReleaseMutex(MarkerHandle handle) {
    Calls.push_back("release " + std::to_string(handle));
    return handles_.count(handle) != 0;
}

bool FakeInstanceMarkers::CloseHandle(MarkerHandle handle) {
    Calls.push_back("close " + std::to_string(handle));
    return handles_.erase(handle) != 0;
}

bool FakeInstanceMarkers::Exists(const std::string& name) const {
    for (const auto& [handle, marker] : handles_)
        if (marker == name) return true;
    return false;
}

}  // namespace kestrum
