#pragma once
#include <string>

namespace kestrum {

// Full path of the running program file (Windows: GetModuleFileNameA,
// Linux: /proc/self/exe).
std::string RunningProgramPath();

}  // namespace kestrum
