#include "base/atomic_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

namespace kestrum {

namespace fs = std::filesystem;

namespace {

std::error_code LastError() {
    const int code = errno;
    return code != 0 ? std::error_code(code, std::generic_category())
                     : std::make_error_code(std::errc::io_error);
}

std::string RandomSuffix() {
    std::uint64_t seed = static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        seed ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (...) {
        // The clock alone is unique enough within one folder.
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix;
    for (int i = 0; i < 12; ++i, seed >>= 4) suffix += kDigits[seed & 15];
    return suffix;
}

class File {
public:
    File(const std::string& path, const char* mode) : file_(std::fopen(path.c_str(), mode)) {}
    ~File() {
        if (file_ != nullptr) std::fclose(file_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    std::FILE* get() const { return file_; }
    // Closes now and tells whether everything buffered reached the file.
    bool Close() {
        std::FILE* file = file_;
        file_ = nullptr;
        return std::fclose(file) == 0;
    }

private:
    std::FILE* file_;
};

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& text, std::error_code& error) {
    text.clear();
    error.clear();
    std::error_code statusError;
    const fs::file_status status = fs::status(path, statusError);
    if (status.type() == fs::file_type::not_found) return true;
    if (status.type() == fs::file_type::directory) {
        error = std::make_error_code(std::errc::is_a_directory);
        return false;
    }
    errno = 0;
    File file(path, "rb");
    if (file.get() == nullptr) {
        error = LastError();
        return false;
    }
    std::error_code sizeError;
    const auto size = fs::file_size(path, sizeError);
    if (!sizeError) text.reserve(static_cast<std::size_t>(size));
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, count);
    if (std::ferror(file.get())) {
        error = LastError();
        text.clear();
        return false;
    }
    return true;
}

bool ReplaceFileContent(const std::string& path, const std::string& text, std::error_code& error,
                        SyncToDiskFunction sync) {
    error.clear();
    fs::path target = path;
    std::error_code ignored;
    if (fs::is_symlink(target, ignored)) {
        const fs::path resolved = fs::weakly_canonical(target, ignored);
        if (!ignored) target = resolved;
    }
    if (fs::is_directory(target, ignored)) {
        error = std::make_error_code(std::errc::is_a_directory);
        return false;
    }
    fs::path temporary = target;
    temporary += "." + RandomSuffix() + ".tmp";

    errno = 0;
    File file(temporary.string(), "wbx");
    if (file.get() == nullptr) {
        error = LastError();
        return false;
    }
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() &&
                         std::fflush(file.get()) == 0;
    const std::error_code writeError = LastError();
    const bool closed = file.Close();
    if (!written || !closed) {
        error = written ? LastError() : writeError;
        fs::remove(temporary, ignored);
        return false;
    }
    // The new content is on the disk before it takes the old file's name,
    // so a power cut leaves the old file or the new one, never an empty one.
    errno = 0;
    if (!sync(temporary.string())) {
        error = LastError();
        fs::remove(temporary, ignored);
        return false;
    }
    const fs::file_status old = fs::status(target, ignored);
    if (fs::exists(old)) fs::permissions(temporary, old.permissions(), ignored);
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, ignored);
        return false;
    }
    // The rename itself lives in the folder; failing to flush it is not a
    // failure of the write.
    sync(target.parent_path().empty() ? "." : target.parent_path().string());
    return true;
}

}  // namespace kestrum
