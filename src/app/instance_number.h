#pragma once
// Instance numbers: the lowest free number 1..256 among the running copies
// of one program file, held by a named marker "<ExeBaseName><N>".

#include <string>

#include "base/instance_info.h"
#include "platform/instance_markers.h"

namespace kestrum {

constexpr int kMaxInstanceNumber = 256;

// Takes the lowest free number and keeps its marker open in
// InstanceMutex. Markers of numbers already taken are closed at once, so a
// number frees as soon as its own instance ends. A marker that cannot be
// made at all counts as free: the number is taken with an invalid handle.
// With all 256 taken the number is 0.
InstanceInfo AcquireInstanceNumber(InstanceMarkers& markers, const std::string& exeBaseName);

// Releases and closes the instance's marker (ReleaseMutex, CloseHandle);
// the handle is invalid afterwards, so a second call does nothing.
void ReleaseInstanceMutex(InstanceMarkers& markers, InstanceInfo& instance);

}  // namespace kestrum
