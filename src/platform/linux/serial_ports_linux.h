#pragma once
// Serial ports over Linux ttys. A port name ("COM1") stands for the device
// given through MapPortName (for example /dev/ttyUSB0 or a link in
// /dev/serial/by-id). The port is opened exclusively (TIOCEXCL plus an
// flock, so that other copies of the program see it as held even when they
// run as root), its own termios is saved on open and put back exactly on
// close, and reads never block.
//
// Reading happens on a thread of this object: it waits on one edge-triggered
// epoll set for every open port (which reports ports in the order their
// input came) and drains each port as soon as the kernel reports input,
// so a caller that is busy (a slow window, a modal dialog) never delays it.
// Every read() makes one chunk, stamped with its arrival time (CLOCK_MONOTONIC
// nanoseconds, the counter of CreateSystemClock, and the local date-time) and
// a sequence number that runs over all ports; the chunks of a port wait in
// that port's queue (one producer, one consumer, no lock) until ReadFile hands
// their bytes out. A queue holds at most kMaxQueuedBytes (chunk overhead
// included): when a lagging caller lets it fill up, input is no longer queued
// (the reading goes on, so the line is never held up) and the bytes left out
// are reported once the caller reaches that point (TakeDroppedInput).
//
// With a traffic recorder set, the reading thread also hands it every chunk
// as it arrives, the bytes WriteFile sent (stamped when the write completed)
// and, every kLinePollInterval, the line errors and control-line changes
// that the device reports (ReadLineStatus, or the reader given to the
// constructor). All of that in the order of its times.
//
// Threads: every public function is called from one thread (the caller's);
// the reading thread is this object's own. WaitForInput lets an idle caller
// sleep until a port has new input.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/linux/line_status.h"
#include "platform/linux/local_date_time.h"
#include "platform/serial_port.h"

namespace kestrum {

class LinuxSerialPorts : public SerialPorts {
public:
    // One read() takes at most this much.
    static constexpr std::size_t kReadBytes = 64 * 1024;
    // Memory a port's queue may hold: the bytes and the chunks' own overhead.
    static constexpr std::size_t kMaxQueuedBytes = 16u << 20;
    // With a recorder: how often the device's line status is looked at, and
    // how often the recorder's Tick runs.
    static constexpr std::chrono::milliseconds kLinePollInterval{10};
    static constexpr std::chrono::nanoseconds kTickInterval{kTrafficTickNanoseconds};
    // Within kSpinAfterInput of the last input, WaitForInput looks for new
    // input for up to kSpin before it sleeps.
    static constexpr std::chrono::microseconds kSpinAfterInput{1000};
    static constexpr std::chrono::microseconds kSpin{100};
    static constexpr int kWriteStallSeconds = 60;

    using LineStatusReader = std::function<LineStatus(int fd)>;

    // `lineStatus` reads a device's line status (ReadLineStatus when empty).
    explicit LinuxSerialPorts(LineStatusReader lineStatus = {});
    ~LinuxSerialPorts() override;  // stops the reading, closes (and restores) every port still open
    LinuxSerialPorts(const LinuxSerialPorts&) = delete;
    LinuxSerialPorts& operator=(const LinuxSerialPorts&) = delete;

    void MapPortName(const std::string& portName, const std::string& device) override;
    // The device a port name stands for ("" when none).
    std::string DeviceOf(const std::string& portName) const;

    // Present: the device path exists (links followed) and is a character
    // device. The default configuration is 9600 baud, 8 data bits, no
    // parity, one stop bit.
    bool GetDefaultCommConfig(const std::string& portName, CommConfig& config) override;
    // Fails (OpenFailure::Other) also when the reading thread could not be set up.
    PortHandle CreateFile(const std::string& portName, OpenFailure& failure) override;
    // The port's current settings; fBinary is false for a tty in cooked mode.
    bool GetCommConfig(PortHandle port, CommConfig& config) override;
    bool SetCommConfig(PortHandle port, const CommConfig& config) override;
    bool GetCommTimeouts(PortHandle port, CommTimeouts& timeouts) override;
    bool SetCommTimeouts(PortHandle port, const CommTimeouts& timeouts) override;
    // Drops the port's queue and what the tty holds, at one moment: every
    // byte received before the call is gone, every later one is kept.
    bool PurgeComm(PortHandle port) override;
    // Returns at once with the queued bytes, oldest first, across chunks. An
    // empty port and a hung-up one give 0 bytes (the latter, like any read
    // error, with result false once its queue is empty).
    bool ReadFile(PortHandle port, std::uint8_t* buffer, std::uint32_t size,
                  std::uint32_t& bytesRead) override;
    // Blocks until everything is written; gives up (false, with the count
    // written so far) when the line hangs up, fails, or takes no byte for
    // kWriteStallSeconds. What was written goes to the recorder.
    bool WriteFile(PortHandle port, const std::uint8_t* data, std::uint32_t size,
                   std::uint32_t& bytesWritten) override;
    // Puts back the termios the device had when it was opened, drops the
    // exclusive mode and the lock, and closes the file; the queue is freed.
    bool CloseHandle(PortHandle port) override;

    // The line hung up (poll reports a hang-up or an error, as a removed
    // adapter or a pseudo-terminal whose other side closed does) or a read
    // of the reading thread failed, and no received byte waits unread.
    bool PortLineGone(PortHandle port) override;
    // The mapped device path exists and is the character device the handle
    // has open (same device number), and the line has not gone. A port
    // whose queue still holds unread bytes counts as present until they
    // are read. Neither call reads the port.
    bool OpenPortPresent(const std::string& portName, PortHandle port) override;
    std::string LastErrorText() const override { return lastError_; }

    std::uint64_t ArrivalLimit() override;
    std::uint64_t ArrivalMark() override;
    bool NextArrival(PortHandle port, InputArrival& arrival) override;
    std::uint64_t TakeDroppedInput(PortHandle port) override;
    void SetTrafficRecorder(PortTrafficRecorder* recorder) override;

    // Bytes received and waiting in the port's queue (for tests and benchmarks).
    std::size_t BufferedBytes(PortHandle port) const;

    // The reading thread found the port's line hung up or its device failed
    // or gone (end of file, EIO, ENODEV): it reads the port no more. Only
    // that thread reads a port's tty; nothing else may.
    bool HasFailed(PortHandle port) const;

    // Waits until an open port receives input or `timeout` has passed; true
    // when input came. Input that came since the caller last looked (the
    // last ArrivalLimit or WaitForInput) ends the wait at once; input nobody
    // reads ends one wait only.
    bool WaitForInput(std::chrono::nanoseconds timeout);

private:
    struct Chunk;
    struct Port;
    struct SentBytes;

    Port* Find(PortHandle port) const;
    // Caller's side of a queue.
    Chunk* Current(Port& port);
    void Release(Port& port, Chunk* chunk);
    void FreeQueue(Port& port);
    // Reading thread (with mutex_ held unless said otherwise).
    void ReadLoop();
    int WaitMilliseconds(std::int64_t now) const;
    // Reads a port the epoll set reported (or one left with input); false
    // when it still has input after kReadsPerWake reads.
    bool ReadPort(Port& port, std::uint32_t events);
    void ReadReported(std::uint64_t id, std::uint32_t events);
    void Queue(Port& port, const std::uint8_t* data, std::size_t size, std::int64_t counter);
    void QueueDroppedMark(Port& port);
    void Fail(Port& port);
    void HandSent();
    void PollLines(std::int64_t now);
    void RecordTraffic(std::string_view port, std::uint8_t lines, PortTrafficKind kind, std::int64_t counter,
                       const std::uint8_t* data, std::size_t size);
    void Publish();
    void WakeReader() const;

    std::map<std::string, std::string> devices_;
    std::string lastError_;
    LineStatusReader lineStatus_;
    int epoll_ = -1;
    int control_ = -1;  // eventfd: wakes the reading thread
    int wake_ = -1;     // eventfd: wakes a caller in WaitForInput

    // mutex_ guards the table of ports against the reading thread (the
    // caller changes it, both read it), the tty of a port being purged, and
    // everything of the reading thread below. The caller never holds it
    // while it waits for anything.
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<Port>> ports_;  // indexed by file descriptor
    std::uint64_t nextPortId_ = 1;
    bool stop_ = false;
    std::uint64_t nextSequence_ = 1;
    PortTrafficRecorder* recorder_ = nullptr;
    std::int64_t unixOffset_ = 0;  // Unix time minus CLOCK_MONOTONIC, when the recorder was set
    std::int64_t nextLinePoll_ = 0;
    std::int64_t nextTick_ = 0;
    std::vector<SentBytes> sent_;  // written by the caller, for the recorder
    std::vector<std::uint64_t> undrained_;  // ports left with input, read first at the next turn
    std::unique_ptr<std::uint8_t[]> readBuffer_;
    LocalDateTime localTime_;

    // Between the threads.
    std::atomic<std::uint64_t> published_{1};  // chunks below this number are queued
    std::atomic<bool> waiting_{false};         // a caller sleeps in WaitForInput
    std::atomic<std::int64_t> lastArrival_{0}; // CLOCK_MONOTONIC of the latest chunk

    // Caller's side.
    std::uint64_t seen_ = 1;  // published_ as of the caller's last look

    std::thread reader_;  // last: started when everything else exists
};

}  // namespace kestrum
