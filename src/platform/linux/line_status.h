#pragma once
// What a serial device tells of its line: its counts of line errors
// (TIOCGICOUNT) and the state of its control lines (TIOCMGET). Pseudo-
// terminals and many adapters tell neither; the parts a device does not tell
// are marked missing.

#include <cstdint>

namespace kestrum {

struct LineStatus {
    bool HasCounts = false;     // the device counts line errors
    std::uint32_t Frame = 0;    // framing errors so far
    std::uint32_t Parity = 0;   // parity errors so far
    std::uint32_t Overrun = 0;  // overruns so far, of the device and of the tty buffer
    std::uint32_t Break = 0;    // breaks so far
    bool HasLines = false;      // the device tells its control lines
    std::uint8_t Lines = 0;     // port_lines bits of the lines that are on
};

// Reads the status of the device open as `fd`; parts the device does not
// tell stay missing.
LineStatus ReadLineStatus(int fd);

}  // namespace kestrum
