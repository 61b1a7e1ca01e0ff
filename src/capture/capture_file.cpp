#include "capture/capture_file.h"

#include <algorithm>
#include <array>

#include "capture/windows1252_utf8.h"

namespace kestrum {
namespace {

constexpr std::uint32_t kSectionHeaderBlock = 0x0A0D0D0A;
constexpr std::uint32_t kInterfaceDescriptionBlock = 0x00000001;
constexpr std::uint32_t kEnhancedPacketBlock = 0x00000006;
constexpr std::uint32_t kByteOrderMagic = 0x1A2B3C4D;

constexpr std::uint16_t kOptionEnd = 0;
constexpr std::uint16_t kOptionUserApplication = 4;  // section header
constexpr std::uint16_t kOptionInterfaceName = 2;
constexpr std::uint16_t kOptionInterfaceDescription = 3;
constexpr std::uint16_t kOptionTimestampResolution = 9;
constexpr std::uint8_t kNanosecondResolution = 9;  // 10^-9 s

constexpr std::size_t kMaxOptionLength = 0xFFFF;
constexpr const char* kApplicationName = "Kestrum";

constexpr std::size_t Padded(std::size_t size) {
    return (size + 3) & ~std::size_t{3};
}

void PutLe16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 24));
}

void PutBe32(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

void PutZeros(std::vector<std::uint8_t>& out, std::size_t count) {
    out.insert(out.end(), count, 0);
}

void PutOption(std::vector<std::uint8_t>& out, std::uint16_t code, std::string_view value) {
    const std::size_t length = std::min(value.size(), kMaxOptionLength);
    PutLe16(out, code);
    PutLe16(out, static_cast<std::uint16_t>(length));
    out.insert(out.end(), value.begin(), value.begin() + static_cast<std::ptrdiff_t>(length));
    PutZeros(out, Padded(length) - length);
}

// Starts a block at the end of `out`; its total length is filled in by
// EndBlock once the body is there.
std::size_t BeginBlock(std::vector<std::uint8_t>& out, std::uint32_t type) {
    const std::size_t start = out.size();
    PutLe32(out, type);
    PutLe32(out, 0);
    return start;
}

// Ends the block begun at `start` with its total length, which also goes
// into the block's second word.
void EndBlock(std::vector<std::uint8_t>& out, std::size_t start) {
    const auto total = static_cast<std::uint32_t>(out.size() - start + 4);
    PutLe32(out, total);
    std::copy(out.end() - 4, out.end(), out.begin() + static_cast<std::ptrdiff_t>(start + 4));
}

}  // namespace

CaptureFileWriter::CaptureFileWriter(ByteSink& sink, std::size_t maxFramePayload)
    : sink_(sink), maxFramePayload_(std::clamp<std::size_t>(maxFramePayload, 1, kMaxFramePayload)) {
    buffer_.reserve(kBufferSize + kMaxFramePayload + 64);
}

CaptureFileWriter::~CaptureFileWriter() {
    if (state_ == State::Open) Close();
}

void CaptureFileWriter::Fail(CaptureFileError error) {
    if (error_ == CaptureFileError::None) error_ = error;
    if (error == CaptureFileError::WriteFailed || error == CaptureFileError::FlushFailed ||
        error == CaptureFileError::CloseFailed) {
        sinkFailed_ = true;
        buffer_.clear();
    }
}

bool CaptureFileWriter::Usable() {
    if (state_ != State::Open) {
        Fail(CaptureFileError::NotOpen);
        return false;
    }
    return !sinkFailed_;
}

bool CaptureFileWriter::HandOver() {
    if (sinkFailed_) return false;
    if (buffer_.empty()) return true;
    if (!sink_.Write(buffer_.data(), buffer_.size())) {
        Fail(CaptureFileError::WriteFailed);
        return false;
    }
    buffer_.clear();
    return true;
}

bool CaptureFileWriter::Begin() {
    if (state_ != State::Created) {
        Fail(CaptureFileError::NotOpen);
        return false;
    }
    state_ = State::Open;
    const std::size_t start = BeginBlock(buffer_, kSectionHeaderBlock);
    PutLe32(buffer_, kByteOrderMagic);
    PutLe16(buffer_, 1);  // major version
    PutLe16(buffer_, 0);  // minor version
    PutLe32(buffer_, 0xFFFFFFFF);  // section length: not given
    PutLe32(buffer_, 0xFFFFFFFF);
    PutOption(buffer_, kOptionUserApplication, kApplicationName);
    PutOption(buffer_, kOptionEnd, {});
    EndBlock(buffer_, start);
    return Flush();
}

std::optional<std::uint32_t> CaptureFileWriter::AddInterface(std::string_view portName, std::string_view channelId) {
    if (!Usable()) return std::nullopt;
    const std::size_t start = BeginBlock(buffer_, kInterfaceDescriptionBlock);
    PutLe16(buffer_, kLinkType);
    PutLe16(buffer_, 0);  // reserved
    PutLe32(buffer_, static_cast<std::uint32_t>(kFrameHeaderSize + maxFramePayload_));  // snap length
    PutOption(buffer_, kOptionInterfaceName, Windows1252ToUtf8(portName, kMaxOptionLength));
    PutOption(buffer_, kOptionInterfaceDescription, Windows1252ToUtf8(channelId, kMaxOptionLength));
    const char resolution = static_cast<char>(kNanosecondResolution);
    PutOption(buffer_, kOptionTimestampResolution, std::string_view(&resolution, 1));
    PutOption(buffer_, kOptionEnd, {});
    EndBlock(buffer_, start);
    if (buffer_.size() >= kBufferSize && !HandOver()) return std::nullopt;
    return interfaceCount_++;
}

void CaptureFileWriter::AppendEnhancedPacket(std::uint32_t interfaceId, std::uint64_t timestamp,
                                             const std::uint8_t* header, const std::uint8_t* data,
                                             std::size_t size) {
    const auto captured = static_cast<std::uint32_t>(kFrameHeaderSize + size);
    const std::size_t start = BeginBlock(buffer_, kEnhancedPacketBlock);
    PutLe32(buffer_, interfaceId);
    PutLe32(buffer_, static_cast<std::uint32_t>(timestamp >> 32));
    PutLe32(buffer_, static_cast<std::uint32_t>(timestamp));
    PutLe32(buffer_, captured);  // captured length
    PutLe32(buffer_, captured);  // original length
    buffer_.insert(buffer_.end(), header, header + kFrameHeaderSize);
    if (size > 0) buffer_.insert(buffer_.end(), data, data + size);
    PutZeros(buffer_, Padded(captured) - captured);
    EndBlock(buffer_, start);
}

bool CaptureFileWriter::WriteFrame(std::uint32_t interfaceId, std::int64_t unixNanoseconds, SerialEvent event,
                                   ControlLines lines, const std::uint8_t* data, std::size_t size) {
    if (!Usable()) return false;
    if (interfaceId >= interfaceCount_) {
        Fail(CaptureFileError::UnknownInterface);
        return false;
    }
    if (data == nullptr) size = 0;
    const std::uint64_t nanoseconds = unixNanoseconds < 0 ? 0 : static_cast<std::uint64_t>(unixNanoseconds);
    const std::uint64_t seconds = nanoseconds / 1'000'000'000u;
    std::array<std::uint8_t, kFrameHeaderSize> header{};
    // The header's seconds run out in 2106; they wrap like the 32-bit field does.
    PutBe32(header.data(), static_cast<std::uint32_t>(seconds));
    PutBe32(header.data() + 4, static_cast<std::uint32_t>((nanoseconds - seconds * 1'000'000'000u) / 1000u));
    header[8] = static_cast<std::uint8_t>(event);
    header[9] = lines.Bits;
    // header[10..11]: footer, zero.

    std::size_t offset = 0;
    do {
        const std::size_t piece = std::min(size - offset, maxFramePayload_);
        AppendEnhancedPacket(interfaceId, nanoseconds, header.data(), data == nullptr ? nullptr : data + offset,
                             piece);
        offset += piece;
        if (buffer_.size() >= kBufferSize && !HandOver()) return false;
    } while (offset < size);
    return true;
}

bool CaptureFileWriter::Flush() {
    if (!Usable()) return false;
    if (!HandOver()) return false;
    if (!sink_.Flush()) {
        Fail(CaptureFileError::FlushFailed);
        return false;
    }
    return true;
}

bool CaptureFileWriter::FlushIfDue(std::int64_t steadyNanoseconds) {
    if (!Usable()) return false;
    const bool due = !lastTimedFlush_ || steadyNanoseconds < *lastTimedFlush_ ||
                     static_cast<std::uint64_t>(steadyNanoseconds) - static_cast<std::uint64_t>(*lastTimedFlush_) >=
                         static_cast<std::uint64_t>(kFlushIntervalNanoseconds);
    if (!due) return true;
    lastTimedFlush_ = steadyNanoseconds;
    return Flush();
}

bool CaptureFileWriter::Close() {
    if (state_ != State::Open) {
        Fail(CaptureFileError::NotOpen);
        return false;
    }
    const bool handed = HandOver();
    state_ = State::Closed;
    if (!sink_.Close()) {
        Fail(CaptureFileError::CloseFailed);
        return false;
    }
    return handed;
}

}  // namespace kestrum
