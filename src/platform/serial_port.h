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
#include "platform/clock.h"
#include "platform/port_traffic.h"

namespace kestrum {

// When a chunk of input arrived (a chunk: what one read took from the device).
struct InputArrival {
    std::uint64_t Sequence = 0;  // 1, 2, ... over every port of the object, in the order of arrival
    std::int64_t Counter = 0;    // the performance counter then (QueryPerformanceCounter's units)
    DateTime LocalTime = 0.0;    // the local date-time then
    std::uint64_t DroppedBefore = 0;  // bytes left out just before (see TakeDroppedInput), not yet taken
};

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

    // The order and time of arrival. An implementation that reads its ports
    // on a thread of its own stamps every chunk it takes from a device; one
    // that does not keeps the defaults, and a byte then counts as arriving
    // when it is read.
    //
    // Chunks with a sequence number below the result are already waiting;
    // later ones get higher numbers. 0: input is not stamped.
    virtual std::uint64_t ArrivalLimit() { return 0; }
    // A mark between what has arrived and what is still to come: chunks
    // stamped before the call have lower sequence numbers, later ones this
    // number or higher. 0: input is not stamped.
    virtual std::uint64_t ArrivalMark() { return 0; }
    // The arrival of the next byte that ReadFile would hand out; false when
    // nothing is waiting (or input is not stamped).
    virtual bool NextArrival(PortHandle port, InputArrival& arrival) {
        (void)port;
        (void)arrival;
        return false;
    }
    // Input the port received but could not keep for the reader, because
    // the reader fell too far behind: the byte count left out before the
    // next byte ReadFile hands out, once; 0 when none.
    virtual std::uint64_t TakeDroppedInput(PortHandle port) {
        (void)port;
        return 0;
    }
    // From now on everything the open ports receive and send, and their line
    // events, also go to `recorder` (nullptr: to nobody). When the call
    // returns, the previous recorder has been handed its last event and is
    // called no more. The recorder must outlive its use.
    virtual void SetTrafficRecorder(PortTrafficRecorder* recorder) { (void)recorder; }
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
