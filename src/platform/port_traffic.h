#pragma once
// What the serial port layer sees on the lines of its open ports, handed to
// a recorder (the capture file) as it happens: every chunk of input as one
// read took it from the device, with its arrival time; the bytes the program
// wrote; the line events the device reports; and input that the reading
// side's queue could not take.
//
// An implementation that reads its ports on a thread of its own calls the
// recorder on that thread, never on the caller's, one call at a time and in
// the order of the events' times (never decreasing).

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrum {

enum class PortTrafficKind : std::uint8_t {
    Received,      // a chunk of input; Data/Size hold its bytes
    Sent,          // bytes the program wrote to the port (WriteFile); Data/Size hold them
    LinesChanged,  // the control lines changed; Lines holds their new state
    FramingError,  // the device counted a framing error
    ParityError,   // the device counted a parity error
    Overrun,       // the device's receive buffer overran: bytes were lost on the line
    Break,         // the device saw a break on the line
    Dropped,       // the reader fell so far behind that the port's queue is full: from
                   // here the reader is handed less than was received (Size: bytes left out)
};

// Control lines that are on, one bit each.
namespace port_lines {
constexpr std::uint8_t kCts = 0x01;   // clear to send
constexpr std::uint8_t kDcd = 0x02;   // data carrier detect
constexpr std::uint8_t kDsr = 0x04;   // data set ready
constexpr std::uint8_t kRts = 0x08;   // request to send
constexpr std::uint8_t kDtr = 0x10;   // data terminal ready
constexpr std::uint8_t kRing = 0x20;  // ring indicator
}  // namespace port_lines

struct PortTraffic {
    PortTrafficKind Kind = PortTrafficKind::Received;
    std::string_view PortName;          // the name the port was opened by ("COM3")
    std::int64_t UnixNanoseconds = 0;   // when it happened, since the Unix epoch
    std::uint8_t Lines = 0;             // the control lines as last seen; 0 where the device tells none
    const std::uint8_t* Data = nullptr; // Received, Sent: the bytes (valid during the call only)
    std::size_t Size = 0;               // Received, Sent: the byte count; Dropped: bytes left out
};

// The longest time between two calls of PortTrafficRecorder::Tick.
constexpr std::int64_t kTrafficTickNanoseconds = 100'000'000;

class PortTrafficRecorder {
public:
    virtual ~PortTrafficRecorder() = default;
    // One event. Must return soon and must not call the port layer.
    virtual void Record(const PortTraffic& traffic) = 0;
    // At least every kTrafficTickNanoseconds while the recorder is set, also
    // when nothing happens; `steadyNanoseconds` is a reading of a monotonic
    // clock.
    virtual void Tick(std::int64_t steadyNanoseconds) = 0;
};

}  // namespace kestrum
