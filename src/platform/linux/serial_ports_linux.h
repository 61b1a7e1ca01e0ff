#pragma once
// Serial ports over Linux ttys. A port name ("COM1") stands for the device
// given through MapPortName (for example /dev/ttyUSB0 or a link in
// /dev/serial/by-id). The port is opened exclusively (TIOCEXCL plus an
// flock, so that other copies of the program see it as held even when they
// run as root), its own termios is saved on open and put back exactly on
// close, and reads never block.
//
// Reads go through a per-port buffer: a read call on an empty buffer makes
// one read() of what the tty has; while the buffer is being drained, it is
// topped up with whatever the tty has received since (looked at every
// kTopUpInterval calls, done when kTopUpPeriod has passed since the last
// read()), so that a reader that lags behind a fast line keeps the backlog
// here (up to kMaxBufferBytes per port) instead of overflowing the system's
// small tty buffer. Reading one byte per call therefore costs no system call
// most of the time.
//
// A read() that finds nothing costs microseconds, more than the rest of a
// capture-loop pass; so after a port was found empty, it is asked again only
// once kEmptyRecheck has passed (a loop that idles between passes asks every
// time, a busy one spends a clock read on its quiet ports).

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_port.h"

namespace kestrum {

class LinuxSerialPorts : public SerialPorts {
public:
    static constexpr std::size_t kFirstReadBytes = 4096;
    static constexpr std::size_t kMaxBufferBytes = 16u << 20;
    static constexpr unsigned kTopUpInterval = 64;
    static constexpr std::chrono::microseconds kTopUpPeriod{100};
    static constexpr std::chrono::microseconds kEmptyRecheck{100};

    LinuxSerialPorts();
    ~LinuxSerialPorts() override;  // closes (and restores) every port still open
    LinuxSerialPorts(const LinuxSerialPorts&) = delete;
    LinuxSerialPorts& operator=(const LinuxSerialPorts&) = delete;

    void MapPortName(const std::string& portName, const std::string& device) override;
    // The device a port name stands for ("" when none).
    std::string DeviceOf(const std::string& portName) const;

    // Present: the device path exists (links followed) and is a character
    // device. The default configuration is 9600 baud, 8 data bits, no
    // parity, one stop bit.
    bool GetDefaultCommConfig(const std::string& portName, CommConfig& config) override;
    PortHandle CreateFile(const std::string& portName, OpenFailure& failure) override;
    // The port's current settings; fBinary is false for a tty in cooked mode.
    bool GetCommConfig(PortHandle port, CommConfig& config) override;
    bool SetCommConfig(PortHandle port, const CommConfig& config) override;
    bool GetCommTimeouts(PortHandle port, CommTimeouts& timeouts) override;
    bool SetCommTimeouts(PortHandle port, const CommTimeouts& timeouts) override;
    bool PurgeComm(PortHandle port) override;
    // Returns at once. An empty port and a hung-up one give 0 bytes (the
    // latter, like any read error, with result false).
    bool ReadFile(PortHandle port, std::uint8_t* buffer, std::uint32_t size,
                  std::uint32_t& bytesRead) override;
    // Blocks until everything is written; gives up (false, with the count
    // written so far) when the line hangs up, fails, or takes no byte for
    // kWriteStallSeconds.
    bool WriteFile(PortHandle port, const std::uint8_t* data, std::uint32_t size,
                   std::uint32_t& bytesWritten) override;
    // Puts back the termios the device had when it was opened, drops the
    // exclusive mode and the lock, and closes the file.
    bool CloseHandle(PortHandle port) override;

    static constexpr int kWriteStallSeconds = 60;

    // Bytes received and held in the port's own buffer (for tests and
    // benchmarks).
    std::size_t BufferedBytes(PortHandle port) const;

private:
    struct Port;
    Port* Find(PortHandle port) const;
    bool Fill(Port& port);
    void TopUp(Port& port);

    std::map<std::string, std::string> devices_;
    std::vector<std::unique_ptr<Port>> ports_;  // indexed by file descriptor
};

}  // namespace kestrum
