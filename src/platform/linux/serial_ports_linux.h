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
// capture-loop pass; so a port whose buffer is empty is read only when it may
// have input: every open port is watched in one edge-triggered epoll set, and
// calls on quiet ports look at that set (one epoll_wait for all ports) at most
// every kReadinessPeriod. A port is read again only when the set reported it
// or its last read() filled all the room it had. A port whose read failed
// (hung up, gone) reports nothing more; it is asked again every
// kEmptyRecheck. WaitForInput lets an idle caller sleep until a port has
// input.

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
    static constexpr std::chrono::microseconds kReadinessPeriod{20};
    // Within kSpinAfterInput of the last input, WaitForInput looks at the
    // ports for up to kSpin before it sleeps.
    static constexpr std::chrono::microseconds kSpinAfterInput{1000};
    static constexpr std::chrono::microseconds kSpin{100};

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

    // The line hung up (poll reports a hang-up or an error, as a removed
    // adapter or a pseudo-terminal whose other side closed does) or its last
    // read failed, and the port's buffer holds no unread byte.
    bool PortLineGone(PortHandle port) override;
    // The mapped device path exists and is the character device the handle
    // has open (same device number), and the line has not gone. A port
    // whose buffer still holds unread bytes counts as present until they
    // are read.
    bool OpenPortPresent(const std::string& portName, PortHandle port) override;

    std::string LastErrorText() const override { return lastError_; }

    // Bytes received and held in the port's own buffer (for tests and
    // benchmarks).
    std::size_t BufferedBytes(PortHandle port) const;

    // Waits until an open port receives input or `timeout` has passed; true
    // when a port has input to read. Returns at once when input came, since
    // the port was last read, that a read of a quiet port noticed.
    bool WaitForInput(std::chrono::nanoseconds timeout);

private:
    struct Port;
    Port* Find(PortHandle port) const;
    bool Fill(Port& port);
    void TopUp(Port& port);
    // One read() into the buffer's free room: the bytes got, or -1 when it
    // failed.
    long ReadTty(Port& port, std::size_t room);
    void WatchReadiness(Port& port, bool watch);
    // One look at the epoll set, waiting up to `wait` for a report: marks the
    // ports it reports (as fresh too when `fresh`). True when it reported any.
    bool CollectReadiness(std::chrono::nanoseconds wait, bool fresh);
    bool MayHaveInput(Port& port);

    std::map<std::string, std::string> devices_;
    std::string lastError_;
    std::vector<std::unique_ptr<Port>> ports_;  // indexed by file descriptor
    int epoll_ = -1;
    std::size_t openPorts_ = 0;
    std::size_t quietCalls_ = 0;  // reads of quiet ports since the clock was last looked at
    std::chrono::steady_clock::time_point lastCollected_;
    std::chrono::steady_clock::time_point lastInput_;  // last read() that brought bytes to an empty buffer
};

}  // namespace kestrum
