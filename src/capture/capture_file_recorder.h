#pragma once
// The capture file of one recording: a traffic recorder (for
// SerialPorts::SetTrafficRecorder) that writes everything the ports see into
// a pcapng file through CaptureFileWriter. One interface per channel, named
// by its port ("COM3") and described by its channel ID: the recorded
// channels' interfaces come first, in channel order, when the file is
// opened; a port that shows traffic later gets its interface then.
//
// Frames: a received chunk is a DATA_RX_START frame, bytes the program sent
// a DATA_TX_START frame, each with the time it happened and the control
// lines as last seen; line errors, breaks and control-line changes are frames
// of their own event types; input the reading side had to leave out is a
// CAPTURE_DATA_LOST frame where the leaving out began (the file itself keeps
// those bytes). Close ends every interface with CAPTURE_COMPLETE.
//
// Threads: Open on one thread, then Record and Tick on the port layer's
// reading thread while the recorder is set, then Close on the first thread
// after it was taken back. Errors: nothing throws; the first failure stops
// the writing (the file keeps the whole blocks before it) and is kept for
// Error and ErrorText.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture_file.h"
#include "capture/file_byte_sink.h"
#include "platform/port_traffic.h"

namespace kestrum {

struct CaptureChannel {
    std::string PortName;   // "COM3"
    std::string ChannelId;  // Windows-1252 program text
    bool Recorded = false;  // its interface comes at the start
};

class CaptureFileRecorder final : public PortTrafficRecorder {
public:
    explicit CaptureFileRecorder(std::vector<CaptureChannel> channels);

    // Creates (or replaces) the file at `path`, or with `append` adds a new
    // section after what it holds, and writes the section header and the
    // recorded channels' interfaces. False when the file cannot be written.
    bool Open(const std::string& path, bool append);

    void Record(const PortTraffic& traffic) override;
    // Flushes the file so that nothing waits in it for a second or more.
    void Tick(std::int64_t steadyNanoseconds) override;

    // CAPTURE_COMPLETE on every interface, at `unixNanoseconds` or at the
    // time of the latest frame if that is later, then the file is flushed
    // and closed. False when the file is not complete.
    bool Close(std::int64_t unixNanoseconds);

    CaptureFileError Error() const { return writer_.Error(); }
    // The system's text for the failure, if it came from the file.
    const std::string& ErrorText() const { return sink_.ErrorText(); }

private:
    std::uint32_t InterfaceOf(std::string_view portName);

    std::vector<CaptureChannel> channels_;
    FileByteSink sink_;
    CaptureFileWriter writer_{sink_};
    std::map<std::string, std::uint32_t, std::less<>> interfaces_;
    std::int64_t latest_ = 0;  // time of the latest frame
    std::optional<std::int64_t> lastFlush_;  // steady time of the last flush by Tick
};

}  // namespace kestrum
