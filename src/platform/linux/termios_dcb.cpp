#include "platform/linux/termios_dcb.h"

#include <array>
#include <utility>

namespace kestrum::linux_tty {

namespace {

constexpr std::array<std::pair<std::uint32_t, tcflag_t>, 30> kStandardRates = {{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

std::uint32_t RateOfCode(tcflag_t code) {
    for (const auto& [rate, c] : kStandardRates)
        if (c == code) return rate;
    return 0;
}

bool CodeOfRate(std::uint32_t rate, tcflag_t& code) {
    for (const auto& [r, c] : kStandardRates)
        if (r == rate) {
            code = c;
            return true;
        }
    return false;
}

}  // namespace

void TermiosToDcb(const termios2& tty, Dcb& dcb) {
    // The kernel keeps c_ospeed up to date for standard codes as well;
    // decode the code only when it is missing.
    dcb.BaudRate = tty.c_ospeed != 0 ? tty.c_ospeed : RateOfCode(tty.c_cflag & CBAUD);

    switch (tty.c_cflag & CSIZE) {
        case CS5: dcb.ByteSize = 5; break;
        case CS6: dcb.ByteSize = 6; break;
        case CS7: dcb.ByteSize = 7; break;
        default: dcb.ByteSize = 8; break;
    }

    if (!(tty.c_cflag & PARENB))
        dcb.Parity = 0;
    else if (tty.c_cflag & CMSPAR)
        dcb.Parity = (tty.c_cflag & PARODD) ? 3 : 4;
    else
        dcb.Parity = (tty.c_cflag & PARODD) ? 1 : 2;

    dcb.StopBits = (tty.c_cflag & CSTOPB) ? 2 : 0;

    const bool raw = !(tty.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) &&
                     !(tty.c_oflag & OPOST) &&
                     !(tty.c_iflag & (ISTRIP | INLCR | IGNCR | ICRNL | PARMRK));
    dcb.fBinary = raw;
    dcb.fParity = (tty.c_iflag & INPCK) != 0;
    dcb.fOutxCtsFlow = (tty.c_cflag & CRTSCTS) != 0;
    dcb.fOutxDsrFlow = false;
    dcb.fDsrSensitivity = false;
    dcb.fTXContinueOnXoff = true;
    dcb.fOutX = (tty.c_iflag & IXON) != 0;
    dcb.fInX = (tty.c_iflag & IXOFF) != 0;
    dcb.fErrorChar = false;
    dcb.fNull = false;  // a tty never drops NUL bytes
    dcb.fAbortOnError = false;
}

bool DcbToTermios(const Dcb& dcb, termios2& tty) {
    if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > 4 ||
        dcb.StopBits > 2)
        return false;

    // Raw mode: every byte passes unchanged, nothing is echoed or
    // interpreted, no software flow control, no break or parity marking.
    tty.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY | IUCLC | IMAXBEL |
                                          INPCK | IGNPAR);
    tty.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tty.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN | ECHOE |
                                          ECHOK | ECHOCTL | ECHOKE);
    tty.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS |
                                          CBAUD | (CBAUD << IBSHIFT));
    // CLOCAL: a missing carrier must not hang the line up.
    tty.c_cflag |= CREAD | CLOCAL;
    tty.c_cc[VMIN] = 0;
    tty.c_cc[VTIME] = 0;

    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tty.c_cflag |= kSizes[dcb.ByteSize - 5];

    switch (dcb.Parity) {
        case 1: tty.c_cflag |= PARENB | PARODD; break;
        case 2: tty.c_cflag |= PARENB; break;
        case 3: tty.c_cflag |= PARENB | PARODD | CMSPAR; break;
        case 4: tty.c_cflag |= PARENB | CMSPAR; break;
        default: break;
    }
    // A parity error must not turn the byte into NUL: without INPCK the
    // byte is delivered as received, as it is with fErrorChar off.

    if (dcb.StopBits != 0) tty.c_cflag |= CSTOPB;

    tcflag_t code = 0;
    if (!CodeOfRate(dcb.BaudRate, code)) code = BOTHER;
    tty.c_cflag |= code;  // input speed follows the output speed (input code 0)
    tty.c_ispeed = dcb.BaudRate;
    tty.c_ospeed = dcb.BaudRate;
    return true;
}

}  // namespace kestrum::linux_tty
