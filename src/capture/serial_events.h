#pragma once
// What a capture file frame says about a serial line: the event it records
// and the state of the control lines at that moment. The values are those of
// the 12-byte serial frame header of capture link type 250, as the network
// analysers that read such files decode them.

#include <cstdint>

namespace kestrum {

enum class SerialEvent : std::uint8_t {
    StatusChange = 0x00,         // a control line changed; the frame carries the new line states
    DataTxStart = 0x01,          // bytes the program itself sent on the channel
    DataRxStart = 0x02,          // bytes received on the channel
    DataTxEnd = 0x03,            // the end of a transmission (not written by the program)
    DataRxEnd = 0x04,            // the end of a reception (not written by the program)
    CaptureDataLost = 0x05,      // bytes were lost before they reached the file
    CaptureComplete = 0x06,      // the recording of the channel ended
    FramingError = 0x07,         // the device reported a framing error
    ParityError = 0x08,          // the device reported a parity error
    SerialBreak = 0x09,          // the device reported a break on the line
    SerialOverflow = 0x0A,       // the device's receive buffer overran
};

// One bit per control line in the header's control-line byte.
enum class ControlLine : std::uint8_t {
    Cts = 0x01,   // clear to send
    Dcd = 0x02,   // data carrier detect
    Dsr = 0x04,   // data set ready
    Rts = 0x08,   // request to send
    Dtr = 0x10,   // data terminal ready
    Ring = 0x20,  // ring indicator
    Mbok = 0x40,  // the recording device's own link-OK flag; serial ports never set it
};

// A set of control lines that are on.
struct ControlLines {
    std::uint8_t Bits = 0;

    constexpr ControlLines With(ControlLine line) const {
        return ControlLines{static_cast<std::uint8_t>(Bits | static_cast<std::uint8_t>(line))};
    }
    constexpr bool Has(ControlLine line) const { return (Bits & static_cast<std::uint8_t>(line)) != 0; }
    constexpr bool operator==(const ControlLines&) const = default;
};

}  // namespace kestrum
