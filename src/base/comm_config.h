#pragma once
// The line settings and handles of a serial port as the port service and the
// channel table share them. The DCB and time-out records mirror the Win32
// structures field by field, so a Windows port service passes them through.

#include <cstdint>

namespace kestrum {

// The fields of the Win32 DCB that the program uses.
struct Dcb {
    std::uint32_t BaudRate = 9600;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
    bool fBinary = true;
    bool fParity = false;
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    std::uint8_t fDtrControl = 1;  // DTR_CONTROL_ENABLE
    bool fDsrSensitivity = false;
    bool fTXContinueOnXoff = true;
    bool fOutX = false;
    bool fInX = false;
    bool fErrorChar = false;
    bool fNull = false;
    std::uint8_t fRtsControl = 1;  // RTS_CONTROL_ENABLE
    bool fAbortOnError = false;

    bool operator==(const Dcb&) const = default;
};

struct CommConfig {
    std::uint32_t dwSize = 52;
    Dcb dcb;
    bool operator==(const CommConfig&) const = default;
};

struct CommTimeouts {
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
    bool operator==(const CommTimeouts&) const = default;
};

using PortHandle = std::intptr_t;
constexpr PortHandle kInvalidPortHandle = -1;

// Why CreateFile failed; Win32 maps ERROR_ACCESS_DENIED / ERROR_SHARING_VIOLATION
// to HeldElsewhere and ERROR_FILE_NOT_FOUND to Missing.
enum class OpenFailure { None, Missing, HeldElsewhere, NoPermission, Other };

}  // namespace kestrum
