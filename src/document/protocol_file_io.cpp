#include "document/protocol_file_io.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

#include "document/plain_text_codec.h"
#include "document/rtf_file_name.h"
#include "document/rtf_writer.h"

namespace kestrum {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

ProtocolFileResult SystemFailure(int code) {
    ProtocolFileResult result;
    result.Failure = ProtocolFileFailure::System;
    result.ErrorCode = code;
    return result;
}

ProtocolFileResult TooLarge() {
    ProtocolFileResult result;
    result.Failure = ProtocolFileFailure::TooLarge;
    return result;
}

// The largest file whose text may still fit: every character of plain text
// comes from at most two bytes (a CR LF pair is one line end); Rich Text is
// given four bytes per character.
std::size_t MaxFileBytes(const ProtocolLimits& limits, bool rtf) {
    if (limits.Characters == 0) return std::numeric_limits<std::size_t>::max();
    const std::size_t factor = rtf ? 4 : 2;
    if (limits.Characters > std::numeric_limits<std::size_t>::max() / factor)
        return std::numeric_limits<std::size_t>::max();
    return limits.Characters * factor;
}

bool Exceeds(const ProtocolDocument& document, const ProtocolLimits& limits) {
    if (limits.Lines != 0 && document.LineCount() > limits.Lines) return true;
    return limits.Characters != 0 && document.TextSize() + document.LineCount() + 1 > limits.Characters;
}

}  // namespace

ProtocolFileResult ReadProtocolFile(const std::string& path, const TextAttributes& plainAttributes,
                                    const ProtocolLimits& limits, ProtocolDocument& document) {
    document.Clear();
    const bool rtf = IsRtfFileName(path);
    std::string bytes;
    {
        std::error_code folder;
        if (std::filesystem::is_directory(path, folder)) return SystemFailure(EISDIR);
        errno = 0;
        const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
        if (!file) return SystemFailure(errno);
        if (std::fseek(file.get(), 0, SEEK_END) != 0) return SystemFailure(errno);
        const long size = std::ftell(file.get());
        if (size < 0) return SystemFailure(errno);
        if (static_cast<unsigned long>(size) > MaxFileBytes(limits, rtf)) return TooLarge();
        if (std::fseek(file.get(), 0, SEEK_SET) != 0) return SystemFailure(errno);
        bytes.resize(static_cast<std::size_t>(size));
        const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file.get());
        if (read != bytes.size()) {
            if (std::ferror(file.get())) return SystemFailure(errno != 0 ? errno : EIO);
            bytes.resize(read);  // the file shrank while it was read
        }
    }
    if (rtf) {
        ProtocolFileResult result;
        result.Rtf = ReadRtf(bytes, document);
        if (!result.Rtf.Ok()) {
            result.Failure = ProtocolFileFailure::Rtf;
            return result;
        }
    } else {
        ReadPlainText(bytes, plainAttributes, document);
    }
    if (Exceeds(document, limits)) return TooLarge();
    return {};
}

std::string EncodeProtocolFile(const std::string& path, const ProtocolDocument& document) {
    return IsRtfFileName(path) ? WriteRtf(document) : WritePlainText(document);
}

ProtocolFileResult WriteProtocolFile(const std::string& path, const std::string& bytes, SyncToDiskFunction sync) {
    std::error_code error;
    if (ReplaceFileContent(path, bytes, error, sync)) return {};
    return SystemFailure(error.value() != 0 ? error.value() : EIO);
}

}  // namespace kestrum
