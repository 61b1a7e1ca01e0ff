#pragma once
// Forcing written data onto the disk (Linux: fsync; Windows: FlushFileBuffers).

#include <string>

namespace kestrum {

// Flushes the file or folder at `path` to the storage device. False when it
// cannot be opened or flushed.
bool SyncToDisk(const std::string& path);

}  // namespace kestrum
