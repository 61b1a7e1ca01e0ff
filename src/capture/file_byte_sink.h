#pragma once
// A byte sink over a file opened with the standard library: the file is
// created or truncated, bytes go through the library's buffer, Flush hands
// them to the operating system. Syncing onto the disk is the owner's choice
// (platform/file_sync.h).

#include <cstdio>
#include <string>

#include "capture/byte_sink.h"

namespace kestrum {

class FileByteSink : public ByteSink {
public:
    FileByteSink() = default;
    ~FileByteSink() override;
    FileByteSink(const FileByteSink&) = delete;
    FileByteSink& operator=(const FileByteSink&) = delete;

    // Creates or truncates the file at `path` for binary writing (with
    // `append`, creates it or writes after what it holds). False when it
    // cannot be opened (missing folder, no permission) or a file is open.
    bool Open(const std::string& path, bool append = false);
    bool IsOpen() const { return file_ != nullptr; }

    // Every call fails while no file is open.
    bool Write(const std::uint8_t* data, std::size_t size) override;
    bool Flush() override;
    // Closes the file; false when the last bytes could not be written. A
    // second Close fails.
    bool Close() override;

    // The system's text for the first failure of a call (strerror of its
    // errno); empty while none failed.
    const std::string& ErrorText() const { return errorText_; }

private:
    bool Failed();

    std::FILE* file_ = nullptr;
    std::string errorText_;
};

}  // namespace kestrum
