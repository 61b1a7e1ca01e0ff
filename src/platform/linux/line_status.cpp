#include "platform/linux/line_status.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include "platform/port_traffic.h"

namespace kestrum {

LineStatus ReadLineStatus(int fd) {
    LineStatus status;
    serial_icounter_struct counts{};
    if (ioctl(fd, TIOCGICOUNT, &counts) == 0) {
        status.HasCounts = true;
        status.Frame = static_cast<std::uint32_t>(counts.frame);
        status.Parity = static_cast<std::uint32_t>(counts.parity);
        status.Overrun = static_cast<std::uint32_t>(counts.overrun) + static_cast<std::uint32_t>(counts.buf_overrun);
        status.Break = static_cast<std::uint32_t>(counts.brk);
    }
    int lines = 0;
    if (ioctl(fd, TIOCMGET, &lines) == 0) {
        status.HasLines = true;
        std::uint8_t bits = 0;
        if (lines & TIOCM_CTS) bits |= port_lines::kCts;
        if (lines & TIOCM_CAR) bits |= port_lines::kDcd;
        if (lines & TIOCM_DSR) bits |= port_lines::kDsr;
        if (lines & TIOCM_RTS) bits |= port_lines::kRts;
        if (lines & TIOCM_DTR) bits |= port_lines::kDtr;
        if (lines & TIOCM_RNG) bits |= port_lines::kRing;
        status.Lines = bits;
    }
    return status;
}

}  // namespace kestrum
