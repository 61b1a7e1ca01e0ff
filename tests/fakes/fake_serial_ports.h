#pragma once
// In-memory serial ports for the core's unit tests. Ports are created by
// name; a test feeds received bytes, reads what was written, marks ports as
// missing or held by another process, and counts calls.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/serial_port.h"

namespace kestrum::fakes {

struct FakePort {
    bool Present = true;
    bool HeldElsewhere = false;
    bool NoPermission = false;
    std::string OpenError;   // not empty: opens fail for another reason, with this system text
    PortHandle Handle = kInvalidPortHandle;  // open handle, if any
    CommConfig Default;
    CommConfig Config;       // what SetCommConfig last wrote (starts as Default)
    CommTimeouts Timeouts;   // what SetCommTimeouts last wrote
    std::deque<std::uint8_t> Received;
    std::string Sent;
    bool HungUp = false;     // the open port's line hung up (PortLineGone once Received is empty)
    int Purges = 0;
    int Opens = 0;
    int Closes = 0;
};

class FakeSerialPorts : public SerialPorts {
public:
    // Adds (or returns) the port of that name, present and free.
    FakePort& Port(const std::string& name);
    void Feed(const std::string& name, const std::string& bytes);
    bool IsOpen(const std::string& name) const;
    int ReadCalls = 0;
    // Port name -> device, as last given through MapPortName.
    std::map<std::string, std::string> MappedDevices;

    void MapPortName(const std::string& portName, const std::string& device) override;

    bool GetDefaultCommConfig(const std::string& portName, CommConfig& config) override;
    PortHandle CreateFile(const std::string& portName, OpenFailure& failure) override;
    bool GetCommConfig(PortHandle port, CommConfig& config) override;
    bool SetCommConfig(PortHandle port, const CommConfig& config) override;
    bool GetCommTimeouts(PortHandle port, CommTimeouts& timeouts) override;
    bool SetCommTimeouts(PortHandle port, const CommTimeouts& timeouts) override;
    bool PurgeComm(PortHandle port) override;
    bool ReadFile(PortHandle port, std::uint8_t* buffer, std::uint32_t size,
                  std::uint32_t& bytesRead) override;
    bool WriteFile(PortHandle port, const std::uint8_t* data, std::uint32_t size,
                   std::uint32_t& bytesWritten) override;
    bool CloseHandle(PortHandle port) override;
    bool PortLineGone(PortHandle port) override;
    std::string LastErrorText() const override { return lastError_; }

private:
    FakePort* ByHandle(PortHandle port);
    std::map<std::string, FakePort> ports_;
    PortHandle nextHandle_ = 100;
    std::string lastError_;
};

}  // namespace kestrum::fakes
