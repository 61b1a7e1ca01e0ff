#pragma once
// The capture file: everything the recorded channels receive and send, in a
// packet capture file (pcapng) that network analysers open.
//
// Layout: one section (header block naming the application "Kestrum"), one
// interface per channel (its port name and channel ID, link type 250,
// timestamps in nanoseconds), then one enhanced packet block per frame. A
// frame is the 12-byte serial header (big-endian: seconds and microseconds
// since the Unix epoch, event type, control-line bits, a 2-byte footer of
// zero) followed by the bytes of the chunk. Blocks are little-endian.
//
// The writer keeps whole blocks in its own buffer and hands them to the sink
// when the buffer is full and at Flush, so the file always ends on a block
// boundary after a flush and is readable as it stands. The owner calls
// FlushIfDue at least once a second (also when nothing arrives) and Close at
// the end of a recording; the destructor closes a writer left open.
//
// Errors: nothing throws. The first error is kept and reported by Error();
// after a sink failure nothing more is handed to the sink, so the file holds
// the blocks written before it. One thread uses a writer at a time.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "capture/byte_sink.h"
#include "capture/serial_events.h"

namespace kestrum {

enum class CaptureFileError {
    None,              // every block so far reached the sink (or waits in the buffer)
    WriteFailed,       // the sink did not take all bytes (disk full, I/O error); writing stopped
    FlushFailed,       // the sink could not push its bytes out; writing stopped
    CloseFailed,       // the sink failed while closing; the file may miss its last bytes
    NotOpen,           // a call came before Begin or after Close; it wrote nothing
    UnknownInterface,  // a frame named an interface that was never added; it was dropped
};

class CaptureFileWriter {
public:
    // Link type of the frames: serial line with the 12-byte header.
    static constexpr std::uint16_t kLinkType = 250;
    static constexpr std::size_t kFrameHeaderSize = 12;
    // A chunk longer than this is written as several frames.
    static constexpr std::size_t kMaxFramePayload = 65536 - kFrameHeaderSize;
    // Bytes collected before they are handed to the sink without a flush.
    static constexpr std::size_t kBufferSize = 64 * 1024;
    // FlushIfDue flushes when the last flush is this long ago.
    static constexpr std::int64_t kFlushIntervalNanoseconds = 1'000'000'000;

    // `maxFramePayload` (1..kMaxFramePayload; other values are clamped) is
    // the longest chunk written as one frame. The sink must outlive the writer.
    explicit CaptureFileWriter(ByteSink& sink, std::size_t maxFramePayload = kMaxFramePayload);
    ~CaptureFileWriter();
    CaptureFileWriter(const CaptureFileWriter&) = delete;
    CaptureFileWriter& operator=(const CaptureFileWriter&) = delete;

    // Writes the section header and flushes, so that even an empty recording
    // leaves a valid file. False (NotOpen) when called twice or after Close,
    // or when the sink fails.
    bool Begin();

    // Adds the interface of one channel: `portName` (e.g. "COM3") becomes the
    // interface name, `channelId` its description; both are program text
    // (Windows-1252) and are written as UTF-8. Interfaces may be added at any
    // time before Close; frames refer to them by the returned number (0, 1, …
    // in the order of adding). Nothing when not open or after a sink failure.
    std::optional<std::uint32_t> AddInterface(std::string_view portName, std::string_view channelId);

    // Writes a chunk as frames of `event` on `interfaceId`, stamped with
    // `unixNanoseconds` (arrival time since the Unix epoch; negative times are
    // written as 0). A chunk longer than the frame limit becomes several
    // frames in order, all with the same time, event and lines; an empty
    // chunk is one frame with the header only. False when nothing could be
    // written (see Error()).
    bool WriteFrame(std::uint32_t interfaceId, std::int64_t unixNanoseconds, SerialEvent event,
                    ControlLines lines, const std::uint8_t* data, std::size_t size);
    bool WriteFrame(std::uint32_t interfaceId, std::int64_t unixNanoseconds, SerialEvent event,
                    ControlLines lines, std::string_view bytes) {
        return WriteFrame(interfaceId, unixNanoseconds, event, lines,
                          reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }

    // A frame without data: a break, framing, parity or overrun error, a
    // control-line change or lost capture data.
    bool WriteEvent(std::uint32_t interfaceId, std::int64_t unixNanoseconds, SerialEvent event,
                    ControlLines lines) {
        return WriteFrame(interfaceId, unixNanoseconds, event, lines, nullptr, 0);
    }

    // Hands every buffered block to the sink and flushes it.
    bool Flush();
    // Flushes when the last flush made by this call is at least a second
    // before `steadyNanoseconds` (a reading of one steady clock, the same on
    // every call), and on the first call: a block then waits in the buffer at
    // most a second plus the time between two calls. True when nothing was
    // due or the flush succeeded.
    bool FlushIfDue(std::int64_t steadyNanoseconds);

    // Flushes and closes the sink. Later calls write nothing. False when
    // the file is incomplete or the writer was never begun or already closed.
    bool Close();

    bool IsOpen() const { return state_ == State::Open; }
    // The first error since construction; None when there was none.
    CaptureFileError Error() const { return error_; }
    std::size_t InterfaceCount() const { return interfaceCount_; }

private:
    enum class State { Created, Open, Closed };

    bool Usable();
    void Fail(CaptureFileError error);
    void AppendEnhancedPacket(std::uint32_t interfaceId, std::uint64_t timestamp, const std::uint8_t* header,
                              const std::uint8_t* data, std::size_t size);
    bool HandOver();

    ByteSink& sink_;
    std::size_t maxFramePayload_;
    State state_ = State::Created;
    bool sinkFailed_ = false;
    CaptureFileError error_ = CaptureFileError::None;
    std::uint32_t interfaceCount_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::optional<std::int64_t> lastTimedFlush_;
};

}  // namespace kestrum
