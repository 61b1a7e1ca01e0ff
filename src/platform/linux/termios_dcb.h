#pragma once
// Translation between a tty's kernel termios (struct termios2, which carries
// any baud rate) and the DCB fields the program works with. Only the Linux
// serial port code includes this header: the kernel's termios definitions
// clash with the C library's <termios.h>.

#include <asm/termbits.h>

#include "platform/serial_port.h"

namespace kestrum::linux_tty {

// The line settings a termios2 describes. fBinary is true only for a raw
// tty (no line editing, echo, signals or output processing); fOutX/fInX
// follow IXON/IXOFF, fOutxCtsFlow CRTSCTS, fParity the input parity check.
// Modem-line fields (fDtrControl, fRtsControl) are left as they are in dcb.
void TermiosToDcb(const termios2& tty, Dcb& dcb);

// Puts the tty into raw 8-bit-clean mode with the DCB's baud rate, data
// bits, parity and stop bits and no flow control; reads are non-blocking
// (VMIN = VTIME = 0). Standard rates use their B-constant, other rates
// BOTHER with the speed in c_ispeed/c_ospeed. Returns false (tty untouched)
// when a value cannot be set: baud rate 0, data bits outside 5..8, parity
// above 4 or stop bits above 2. One and a half stop bits become two.
bool DcbToTermios(const Dcb& dcb, termios2& tty);

}  // namespace kestrum::linux_tty
