#pragma once
// Serial port service. Each operation corresponds to one Win32 comm call
// (CreateFileA, GetDefaultCommConfigA, GetCommConfig, SetCommConfig,
// GetCommTimeouts, SetCommTimeouts, PurgeComm, ReadFile, WriteFile,
// CloseHandle), so the Windows implementation is a direct translation.
// Ports are named "COM1".."COM8"; an implementation maps the names to devices.

#include <cstdint>
#include <string>

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

class SerialPorts {
public:
    virtual ~SerialPorts() = default;

    // Tells the implementation which device a port name stands for (the
    // channel's Device). Windows opens "COMn" itself and ignores this; an
    // empty device makes the port missing.
    virtual void MapPortName(const std::string& portName, const std::string& device) {
        (void)portName;
        (void)device;
    }

    // Non-zero result of GetDefaultCommConfigA: the port exists.
    virtual bool GetDefaultCommConfig(const std::string& portName, CommConfig& config) = 0;
    // Exclusive open for reading and writing; kInvalidPortHandle on failure,
    // with the reason in `failure`.
    virtual PortHandle CreateFile(const std::string& portName, OpenFailure& failure) = 0;
    virtual bool GetCommConfig(PortHandle port, CommConfig& config) = 0;
    virtual bool SetCommConfig(PortHandle port, const CommConfig& config) = 0;
    virtual bool GetCommTimeouts(PortHandle port, CommTimeouts& timeouts) = 0;
    virtual bool SetCommTimeouts(PortHandle port, const CommTimeouts& timeouts) = 0;
    // PURGE_RXCLEAR: discard everything received and not yet read.
    virtual bool PurgeComm(PortHandle port) = 0;
    // Returns at once with up to `size` bytes already received (possibly none).
    virtual bool ReadFile(PortHandle port, std::uint8_t* buffer, std::uint32_t size,
                          std::uint32_t& bytesRead) = 0;
    // Blocks until all `size` bytes are written.
    virtual bool WriteFile(PortHandle port, const std::uint8_t* data, std::uint32_t size,
                           std::uint32_t& bytesWritten) = 0;
    virtual bool CloseHandle(PortHandle port) = 0;
};

}  // namespace kestrum
