#include "app/instance_number.h"

namespace kestrum {

InstanceInfo AcquireInstanceNumber(InstanceMarkers& markers, const std::string& exeBaseName) {
    InstanceInfo instance;
    for (int number = 1; number <= kMaxInstanceNumber; ++number) {
        bool alreadyExists = false;
        const MarkerHandle handle =
            markers.CreateMutex(exeBaseName + std::to_string(number), alreadyExists);
        if (!alreadyExists) {
            instance.Number = number;
            instance.IsMaster = number == 1;
            instance.InstanceMutex = handle;
            return instance;
        }
        if (handle != kInvalidMarkerHandle) markers.CloseHandle(handle);
    }
    return instance;  // all taken: number 0
}

void ReleaseInstanceMutex(InstanceMarkers& markers, InstanceInfo& instance) {
    if (instance.InstanceMutex == kInvalidMarkerHandle) return;
    markers.ReleaseMutex(instance.InstanceMutex);
    markers.CloseHandle(instance.InstanceMutex);
    instance.InstanceMutex = kInvalidMarkerHandle;
}

}  // namespace kestrum
