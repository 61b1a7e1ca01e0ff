#pragma once
// Where a writer's bytes go: a file, or memory in tests. A sink reports
// failure by its result and never throws; what a failure means is decided by
// the writer above it.

#include <cstddef>
#include <cstdint>

namespace kestrum {

class ByteSink {
public:
    virtual ~ByteSink() = default;

    // Appends `size` bytes. False when not all of them could be taken (disk
    // full, I/O error); how many were taken is then unknown.
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    // Pushes buffered bytes out of the process (not necessarily onto the disk).
    // False when that failed.
    virtual bool Flush() = 0;
    // Flushes and releases the destination; no more writes follow. False when
    // the last bytes could not be pushed out.
    virtual bool Close() { return Flush(); }
};

}  // namespace kestrum
