#pragma once
// In-memory serial ports for the core's unit tests. Ports are created by
// name; a test feeds received bytes, reads what was written, marks ports as
// missing or held by another process, and counts calls.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
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
    // With stamped input: one entry per fed chunk (a mark of dropped input
    // has no bytes), front first, and the dropped input passed and not taken.
    struct Chunk {
        InputArrival Arrival;
        std::size_t Bytes = 0;
        std::uint64_t Dropped = 0;
    };
    std::deque<Chunk> Chunks;
    std::uint64_t DroppedPassed = 0;
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
    // Set: input is stamped. Each Feed is one chunk with the next sequence
    // number and this clock's counter and date-time.
    Clock* StampClock = nullptr;
    // Feeds one chunk with the given arrival (sequence numbers may repeat:
    // chunks that arrived together); input is stamped from now on.
    void FeedChunk(const std::string& name, const std::string& bytes, InputArrival arrival);
    // Marks `bytes` as left out before the next chunk fed to the port.
    void DropInput(const std::string& name, std::uint64_t bytes);
    // The recorder last set.
    PortTrafficRecorder* Recorder = nullptr;
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
    std::uint64_t ArrivalLimit() override;
    std::uint64_t ArrivalMark() override { return ArrivalLimit(); }
    bool NextArrival(PortHandle port, InputArrival& arrival) override;
    std::uint64_t TakeDroppedInput(PortHandle port) override;
    void SetTrafficRecorder(PortTrafficRecorder* recorder) override { Recorder = recorder; }

private:
    FakePort* ByHandle(PortHandle port);
    std::map<std::string, FakePort> ports_;
    PortHandle nextHandle_ = 100;
    std::string lastError_;
    bool stamped_ = false;
    std::uint64_t nextSequence_ = 1;
};

}  // namespace kestrum::fakes
