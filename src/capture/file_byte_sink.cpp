#include "capture/file_byte_sink.h"

#include <cerrno>
#include <cstring>

namespace kestrum {

FileByteSink::~FileByteSink() {
    if (file_ != nullptr) std::fclose(file_);
}

bool FileByteSink::Failed() {
    if (errorText_.empty()) errorText_ = std::strerror(errno != 0 ? errno : EIO);
    return false;
}

bool FileByteSink::Open(const std::string& path, bool append) {
    if (file_ != nullptr) return false;
    errno = 0;
    file_ = std::fopen(path.c_str(), append ? "ab" : "wb");
    return file_ != nullptr || Failed();
}

bool FileByteSink::Write(const std::uint8_t* data, std::size_t size) {
    if (file_ == nullptr) return false;
    if (size == 0) return true;
    errno = 0;
    return std::fwrite(data, 1, size, file_) == size || Failed();
}

bool FileByteSink::Flush() {
    if (file_ == nullptr) return false;
    errno = 0;
    return std::fflush(file_) == 0 || Failed();
}

bool FileByteSink::Close() {
    if (file_ == nullptr) return false;
    errno = 0;
    const bool flushed = std::fflush(file_) == 0 || Failed();
    const bool closed = std::fclose(file_) == 0 || Failed();
    file_ = nullptr;
    return flushed && closed;
}

}  // namespace kestrum
