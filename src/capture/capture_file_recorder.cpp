#include "capture/capture_file_recorder.h"

#include <algorithm>
#include <utility>

namespace kestrum {

namespace {

constexpr std::uint32_t kNoInterface = ~0u;

SerialEvent EventOf(PortTrafficKind kind) {
    switch (kind) {
        case PortTrafficKind::Received: return SerialEvent::DataRxStart;
        case PortTrafficKind::Sent: return SerialEvent::DataTxStart;
        case PortTrafficKind::LinesChanged: return SerialEvent::StatusChange;
        case PortTrafficKind::FramingError: return SerialEvent::FramingError;
        case PortTrafficKind::ParityError: return SerialEvent::ParityError;
        case PortTrafficKind::Overrun: return SerialEvent::SerialOverflow;
        case PortTrafficKind::Break: return SerialEvent::SerialBreak;
        case PortTrafficKind::Dropped: return SerialEvent::CaptureDataLost;
    }
    return SerialEvent::StatusChange;
}

ControlLines LinesOf(std::uint8_t bits) {
    const std::pair<std::uint8_t, ControlLine> map[] = {
        {port_lines::kCts, ControlLine::Cts}, {port_lines::kDcd, ControlLine::Dcd},
        {port_lines::kDsr, ControlLine::Dsr}, {port_lines::kRts, ControlLine::Rts},
        {port_lines::kDtr, ControlLine::Dtr}, {port_lines::kRing, ControlLine::Ring},
    };
    ControlLines lines;
    for (const auto& [bit, line] : map)
        if (bits & bit) lines = lines.With(line);
    return lines;
}

}  // namespace

CaptureFileRecorder::CaptureFileRecorder(std::vector<CaptureChannel> channels) : channels_(std::move(channels)) {}

bool CaptureFileRecorder::Open(const std::string& path, bool append) {
    if (!sink_.Open(path, append)) return false;
    if (!writer_.Begin()) return false;
    for (const CaptureChannel& channel : channels_)
        if (channel.Recorded) InterfaceOf(channel.PortName);
    return writer_.Flush();
}

std::uint32_t CaptureFileRecorder::InterfaceOf(std::string_view portName) {
    if (auto it = interfaces_.find(portName); it != interfaces_.end()) return it->second;
    std::string id(portName);
    for (const CaptureChannel& channel : channels_)
        if (channel.PortName == portName) id = channel.ChannelId;
    const auto added = writer_.AddInterface(portName, id);
    if (!added) return kNoInterface;
    interfaces_.emplace(std::string(portName), *added);
    return *added;
}

void CaptureFileRecorder::Record(const PortTraffic& traffic) {
    const std::uint32_t interfaceId = InterfaceOf(traffic.PortName);
    if (interfaceId == kNoInterface) return;
    latest_ = std::max(latest_, traffic.UnixNanoseconds);
    const bool withData = traffic.Kind == PortTrafficKind::Received || traffic.Kind == PortTrafficKind::Sent;
    writer_.WriteFrame(interfaceId, traffic.UnixNanoseconds, EventOf(traffic.Kind), LinesOf(traffic.Lines),
                       withData ? traffic.Data : nullptr, withData ? traffic.Size : 0);
}

void CaptureFileRecorder::Tick(std::int64_t steadyNanoseconds) {
    // Ticks come at most kTrafficTickNanoseconds apart: flushing when the
    // next tick would be a second or more after the last flush keeps flushes
    // within a second of each other.
    if (lastFlush_ && steadyNanoseconds + kTrafficTickNanoseconds - *lastFlush_ <
                          CaptureFileWriter::kFlushIntervalNanoseconds)
        return;
    lastFlush_ = steadyNanoseconds;
    writer_.Flush();
}

bool CaptureFileRecorder::Close(std::int64_t unixNanoseconds) {
    const std::int64_t time = std::max(latest_, unixNanoseconds);
    for (const auto& [port, interfaceId] : interfaces_)
        writer_.WriteEvent(interfaceId, time, SerialEvent::CaptureComplete, {});
    return writer_.Close() && writer_.Error() == CaptureFileError::None;
}

}  // namespace kestrum
