#pragma once
// Serial port service. Each operation corresponds to one Win32 comm call
// (CreateFileA, GetDefaultCommConfigA, GetCommConfig, SetCommConfig,
// GetCommTimeouts, SetCommTimeouts, PurgeComm, ReadFile, WriteFile,
// CloseHandle), so the Windows implementation is a direct translation.
// Ports are named "COM1".."COM8"; an implementation maps the names to devices.

#include <cstdint>
#include <memory>
#include <string>

#include "base/comm_config.h"

namespace kestrum {

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

    // Whether the line of an open port has hung up or its device has gone
    // (an adapter pulled out, a pseudo-terminal whose other side closed, reads
    // failing with an input/output error): such a port never delivers again.
    // Bytes received before and not read yet are still handed out, and the
    // port counts as gone only once they are. False for a handle that is not
    // open. Windows: a read that fails with ERROR_DEVICE_REMOVED or
    // ERROR_BAD_COMMAND.
    virtual bool PortLineGone(PortHandle port) {
        (void)port;
        return false;
    }

    // The presence test of an open port, which leaves the port open and its
    // input untouched: the port name's device still exists, is the device
    // the handle has open (not another one that took its name), and its line
    // has not gone (PortLineGone). Windows: GetDefaultCommConfigA.
    virtual bool OpenPortPresent(const std::string& portName, PortHandle port) {
        CommConfig config;
        return GetDefaultCommConfig(portName, config) && !PortLineGone(port);
    }

    // The system's text for the error of the last call that failed
    // (FormatMessageA of GetLastError; strerror of errno); empty when the
    // system gave none.
    virtual std::string LastErrorText() const { return {}; }
};

// The system's serial ports.
std::unique_ptr<SerialPorts> CreateSystemSerialPorts();

}  // namespace kestrum
