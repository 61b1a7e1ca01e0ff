#include "capture/file_byte_sink.h"

namespace kestrum {

FileByteSink::~FileByteSink() {
    if (file_ != nullptr) std::fclose(file_);
}

bool FileByteSink::Open(const std::string& path) {
    if (file_ != nullptr) return false;
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

bool FileByteSink::Write(const std::uint8_t* data, std::size_t size) {
    if (file_ == nullptr) return false;
    if (size == 0) return true;
    return std::fwrite(data, 1, size, file_) == size;
}

bool FileByteSink::Flush() {
    return file_ != nullptr && std::fflush(file_) == 0;
}

bool FileByteSink::Close() {
    if (file_ == nullptr) return false;
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return flushed && closed;
}

}  // namespace kestrum
