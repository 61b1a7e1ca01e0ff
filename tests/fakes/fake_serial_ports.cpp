#include "fakes/fake_serial_ports.h"

#include <algorithm>
#include <utility>

namespace kestrum::fakes {

FakePort& FakeSerialPorts::Port(const std::string& name) {
    auto [it, inserted] = ports_.try_emplace(name);
    if (inserted) it->second.Config = it->second.Default;
    return it->second;
}

void FakeSerialPorts::Feed(const std::string& name, const std::string& bytes) {
    if (StampClock) {
        InputArrival arrival;
        arrival.Sequence = nextSequence_;
        StampClock->QueryPerformanceCounter(arrival.Counter);
        arrival.LocalTime = StampClock->Now();
        FeedChunk(name, bytes, arrival);
        return;
    }
    auto& port = Port(name);
    for (unsigned char c : bytes) port.Received.push_back(c);
}

void FakeSerialPorts::FeedChunk(const std::string& name, const std::string& bytes, InputArrival arrival) {
    stamped_ = true;
    nextSequence_ = std::max(nextSequence_, arrival.Sequence + 1);
    auto& port = Port(name);
    for (unsigned char c : bytes) port.Received.push_back(c);
    if (!bytes.empty()) port.Chunks.push_back({arrival, bytes.size(), 0});
}

void FakeSerialPorts::DropInput(const std::string& name, std::uint64_t bytes) {
    stamped_ = true;
    InputArrival mark;
    mark.Sequence = nextSequence_++;
    Port(name).Chunks.push_back({mark, 0, bytes});
}

namespace {

// Passes the marks at the front of the port's chunks.
void PassMarks(FakePort& port) {
    while (!port.Chunks.empty() && port.Chunks.front().Bytes == 0) {
        port.DroppedPassed += port.Chunks.front().Dropped;
        port.Chunks.pop_front();
    }
}

}  // namespace

std::uint64_t FakeSerialPorts::ArrivalLimit() { return stamped_ ? nextSequence_ : 0; }

bool FakeSerialPorts::NextArrival(PortHandle handle, InputArrival& arrival) {
    FakePort* port = ByHandle(handle);
    if (!port || !stamped_) return false;
    PassMarks(*port);
    if (port->Chunks.empty()) return false;
    arrival = port->Chunks.front().Arrival;
    arrival.DroppedBefore = port->DroppedPassed;
    return true;
}

std::uint64_t FakeSerialPorts::TakeDroppedInput(PortHandle handle) {
    FakePort* port = ByHandle(handle);
    if (!port) return 0;
    PassMarks(*port);
    return std::exchange(port->DroppedPassed, 0);
}

bool FakeSerialPorts::IsOpen(const std::string& name) const {
    auto it = ports_.find(name);
    return it != ports_.end() && it->second.Handle != kInvalidPortHandle;
}

FakePort* FakeSerialPorts::ByHandle(PortHandle port) {
    if (port == kInvalidPortHandle) return nullptr;
    for (auto& [name, p] : ports_)
        if (p.Handle == port) return p.Present ? &p : nullptr;
    return nullptr;
}

void FakeSerialPorts::MapPortName(const std::string& portName, const std::string& device) {
    MappedDevices[portName] = device;
}

bool FakeSerialPorts::GetDefaultCommConfig(const std::string& portName, CommConfig& config) {
    auto it = ports_.find(portName);
    if (it == ports_.end() || !it->second.Present) return false;
    config = it->second.Default;
    return true;
}

PortHandle FakeSerialPorts::CreateFile(const std::string& portName, OpenFailure& failure) {
    auto it = ports_.find(portName);
    if (it == ports_.end() || !it->second.Present) {
        failure = OpenFailure::Missing;
        return kInvalidPortHandle;
    }
    FakePort& port = it->second;
    lastError_ = port.OpenError;
    if (!port.OpenError.empty()) {
        failure = OpenFailure::Other;
        return kInvalidPortHandle;
    }
    if (port.NoPermission) {
        failure = OpenFailure::NoPermission;
        return kInvalidPortHandle;
    }
    if (port.HeldElsewhere || port.Handle != kInvalidPortHandle) {
        failure = OpenFailure::HeldElsewhere;
        return kInvalidPortHandle;
    }
    failure = OpenFailure::None;
    port.Handle = nextHandle_++;
    ++port.Opens;
    return port.Handle;
}

bool FakeSerialPorts::GetCommConfig(PortHandle handle, CommConfig& config) {
    FakePort* port = ByHandle(handle);
    if (!port) return false;
    config = port->Config;
    return true;
}

bool FakeSerialPorts::SetCommConfig(PortHandle handle, const CommConfig& config) {
    FakePort* port = ByHandle(handle);
    if (!port) return false;
    port->Config = config;
    return true;
}

bool FakeSerialPorts::GetCommTimeouts(PortHandle handle, CommTimeouts& timeouts) {
    FakePort* port = ByHandle(handle);
    if (!port) return false;
    timeouts = port->Timeouts;
    return true;
}

bool FakeSerialPorts::SetCommTimeouts(PortHandle handle, const CommTimeouts& timeouts) {
    FakePort* port = ByHandle(handle);
    if (!port) return false;
    port->Timeouts = timeouts;
    return true;
}

bool FakeSerialPorts::PurgeComm(PortHandle handle) {
    FakePort* port = ByHandle(handle);
    if (!port) return false;
    port->Received.clear();
    port->Chunks.clear();
    port->DroppedPassed = 0;
    ++port->Purges;
    return true;
}

bool FakeSerialPorts::ReadFile(PortHandle handle, std::uint8_t* buffer, std::uint32_t size,
                               std::uint32_t& bytesRead) {
    ++ReadCalls;
    bytesRead = 0;
    FakePort* port = ByHandle(handle);
    if (!port) return false;
    while (bytesRead < size && !port->Received.empty()) {
        buffer[bytesRead++] = port->Received.front();
        port->Received.pop_front();
        PassMarks(*port);
        if (!port->Chunks.empty() && --port->Chunks.front().Bytes == 0) port->Chunks.pop_front();
    }
    return true;
}

bool FakeSerialPorts::WriteFile(PortHandle handle, const std::uint8_t* data, std::uint32_t size,
                                std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    FakePort* port = ByHandle(handle);
    if (!port) return false;
    port->Sent.append(reinterpret_cast<const char*>(data), size);
    bytesWritten = size;
    return true;
}

bool FakeSerialPorts::CloseHandle(PortHandle handle) {
    for (auto& [name, p] : ports_)
        if (p.Handle == handle && handle != kInvalidPortHandle) {
            p.Handle = kInvalidPortHandle;
            ++p.Closes;
            return true;
        }
    return false;
}

bool FakeSerialPorts::PortLineGone(PortHandle handle) {
    for (auto& [name, p] : ports_)
        if (p.Handle == handle && handle != kInvalidPortHandle) return p.HungUp && p.Received.empty();
    return false;
}

}  // namespace kestrum::fakes
