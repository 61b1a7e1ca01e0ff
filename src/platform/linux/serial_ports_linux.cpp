#include "platform/linux/serial_ports_linux.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/linux/termios_dcb.h"

namespace kestrum {

struct LinuxSerialPorts::Port {
    int fd = -1;
    termios2 original{};
    bool originalValid = false;
    CommTimeouts timeouts;
    // Received bytes not yet handed out are buffer[head, tail).
    std::unique_ptr<std::uint8_t[]> buffer;
    std::size_t capacity = 0;
    std::size_t head = 0;
    std::size_t tail = 0;
    unsigned callsSinceRead = 0;
    std::chrono::steady_clock::time_point lastRead;  // of the last read() with the buffer in use
    // When a read() last found the buffer empty and read nothing or failed.
    std::chrono::steady_clock::time_point foundEmpty;
    // The tty may hold input: the epoll set reported the port, or the last
    // read() filled all the room it had.
    bool mayHaveInput = true;
    // Reported by a look at the epoll set made by a read of another port,
    // after this port was last read: a pass may have missed this input.
    bool fresh = false;
    bool watched = false;  // in the epoll set
    bool failed = false;   // the last read() failed (hung up, gone)
};

namespace {

OpenFailure FailureOfErrno(int error) {
    switch (error) {
        case EBUSY:
        case EWOULDBLOCK:
            return OpenFailure::HeldElsewhere;
        case EACCES:
        case EPERM:
        case EROFS:
            return OpenFailure::NoPermission;
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
        case ELOOP:
            return OpenFailure::Missing;
        default:
            return OpenFailure::Other;
    }
}

bool IsNoData(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

}  // namespace

LinuxSerialPorts::LinuxSerialPorts() : epoll_(epoll_create1(EPOLL_CLOEXEC)) {}

std::unique_ptr<SerialPorts> CreateSystemSerialPorts() { return std::make_unique<LinuxSerialPorts>(); }

LinuxSerialPorts::~LinuxSerialPorts() {
    for (std::size_t fd = 0; fd < ports_.size(); ++fd)
        if (ports_[fd]) CloseHandle(static_cast<PortHandle>(fd));
    if (epoll_ >= 0) close(epoll_);
}

void LinuxSerialPorts::MapPortName(const std::string& portName, const std::string& device) {
    devices_[portName] = device;
}

std::string LinuxSerialPorts::DeviceOf(const std::string& portName) const {
    auto it = devices_.find(portName);
    return it == devices_.end() ? std::string() : it->second;
}

LinuxSerialPorts::Port* LinuxSerialPorts::Find(PortHandle port) const {
    if (port < 0 || static_cast<std::size_t>(port) >= ports_.size()) return nullptr;
    return ports_[static_cast<std::size_t>(port)].get();
}

bool LinuxSerialPorts::GetDefaultCommConfig(const std::string& portName, CommConfig& config) {
    const std::string device = DeviceOf(portName);
    if (device.empty()) return false;
    struct stat info {};
    if (stat(device.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) return false;
    config = CommConfig{};
    return true;
}

PortHandle LinuxSerialPorts::CreateFile(const std::string& portName, OpenFailure& failure) {
    const std::string device = DeviceOf(portName);
    lastError_.clear();
    if (device.empty()) {
        failure = OpenFailure::Missing;
        return kInvalidPortHandle;
    }
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        failure = FailureOfErrno(error);
        lastError_ = std::strerror(error);
        return kInvalidPortHandle;
    }
    auto port = std::make_unique<Port>();
    port->fd = fd;
    // Only a tty is a serial port.
    if (ioctl(fd, TCGETS2, &port->original) != 0) {
        lastError_ = std::strerror(errno);
        close(fd);
        failure = OpenFailure::Other;
        return kInvalidPortHandle;
    }
    port->originalValid = true;
    // The lock keeps out other copies of this program, root included; the
    // exclusive mode keeps out every other non-root opener.
    int locked;
    do {
        locked = flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0 && (errno == EWOULDBLOCK || errno == EAGAIN)) {
        close(fd);
        failure = OpenFailure::HeldElsewhere;
        return kInvalidPortHandle;
    }
    ioctl(fd, TIOCEXCL);

    port->capacity = kFirstReadBytes;
    port->buffer.reset(new std::uint8_t[port->capacity]);
    if (static_cast<std::size_t>(fd) >= ports_.size()) ports_.resize(static_cast<std::size_t>(fd) + 1);
    ports_[static_cast<std::size_t>(fd)] = std::move(port);
    WatchReadiness(*ports_[static_cast<std::size_t>(fd)], true);
    ++openPorts_;
    failure = OpenFailure::None;
    return fd;
}

bool LinuxSerialPorts::GetCommConfig(PortHandle handle, CommConfig& config) {
    Port* port = Find(handle);
    if (!port) return false;
    termios2 tty{};
    if (ioctl(port->fd, TCGETS2, &tty) != 0) return false;
    config.dwSize = 52;
    linux_tty::TermiosToDcb(tty, config.dcb);
    int lines = 0;
    if (ioctl(port->fd, TIOCMGET, &lines) == 0) {
        config.dcb.fDtrControl = (lines & TIOCM_DTR) ? 1 : 0;
        config.dcb.fRtsControl = (lines & TIOCM_RTS) ? 1 : 0;
    }
    return true;
}

bool LinuxSerialPorts::SetCommConfig(PortHandle handle, const CommConfig& config) {
    Port* port = Find(handle);
    if (!port) return false;
    termios2 tty{};
    if (ioctl(port->fd, TCGETS2, &tty) != 0) return false;
    if (!linux_tty::DcbToTermios(config.dcb, tty)) return false;
    if (ioctl(port->fd, TCSETS2, &tty) != 0) return false;
    // Modem lines: pseudo-terminals and some adapters refuse these; that
    // does not make the configuration fail.
    const int dtr = TIOCM_DTR;
    const int rts = TIOCM_RTS;
    ioctl(port->fd, config.dcb.fDtrControl == 0 ? TIOCMBIC : TIOCMBIS, &dtr);
    ioctl(port->fd, config.dcb.fRtsControl == 0 ? TIOCMBIC : TIOCMBIS, &rts);
    return true;
}

bool LinuxSerialPorts::GetCommTimeouts(PortHandle handle, CommTimeouts& timeouts) {
    Port* port = Find(handle);
    if (!port) return false;
    timeouts = port->timeouts;
    return true;
}

bool LinuxSerialPorts::SetCommTimeouts(PortHandle handle, const CommTimeouts& timeouts) {
    // Reads never block here, whatever the time-outs say; they are kept so
    // that they read back as written.
    Port* port = Find(handle);
    if (!port) return false;
    port->timeouts = timeouts;
    return true;
}

bool LinuxSerialPorts::PurgeComm(PortHandle handle) {
    Port* port = Find(handle);
    if (!port) return false;
    port->head = port->tail = 0;
    port->callsSinceRead = 0;
    port->mayHaveInput = true;
    return ioctl(port->fd, TCFLSH, TCIFLUSH) == 0;
}

void LinuxSerialPorts::WatchReadiness(Port& port, bool watch) {
    if (epoll_ < 0) return;
    if (watch) {
        // Edge-triggered: the set reports a port once for each arrival of
        // input, so input nobody reads (a skipped channel, a hung-up line)
        // does not keep waking the caller.
        epoll_event event{};
        event.events = EPOLLIN | EPOLLET;
        event.data.fd = port.fd;
        port.watched = epoll_ctl(epoll_, EPOLL_CTL_ADD, port.fd, &event) == 0;
    } else if (port.watched) {
        epoll_ctl(epoll_, EPOLL_CTL_DEL, port.fd, nullptr);
        port.watched = false;
    }
}

long LinuxSerialPorts::ReadTty(Port& port, std::size_t room) {
    ssize_t got;
    do {
        got = read(port.fd, port.buffer.get() + port.tail, room);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        port.mayHaveInput = false;
        return IsNoData(errno) ? 0 : -1;
    }
    // Less than asked for: the tty is drained; what comes later is reported
    // by the epoll set.
    port.mayHaveInput = static_cast<std::size_t>(got) == room;
    port.tail += static_cast<std::size_t>(got);
    return static_cast<long>(got);
}

bool LinuxSerialPorts::Fill(Port& port) {
    port.head = port.tail = 0;
    port.callsSinceRead = 0;
    // 0 bytes without an error: no data (a hung-up line fails instead).
    return ReadTty(port, port.capacity) >= 0;
}

bool LinuxSerialPorts::CollectReadiness(std::chrono::nanoseconds wait, bool fresh) {
    if (epoll_ < 0) {
        // No epoll set: every port may have input.
        for (auto& port : ports_)
            if (port) port->mayHaveInput = true;
        return false;
    }
    bool reported = false;
    constexpr int kEvents = 16;
    epoll_event events[kEvents];
    for (;;) {
        int count;
        if (wait.count() <= 0) {
            count = epoll_wait(epoll_, events, kEvents, 0);
        } else {
            const timespec timeout{static_cast<time_t>(wait.count() / 1'000'000'000),
                                   static_cast<long>(wait.count() % 1'000'000'000)};
            count = epoll_pwait2(epoll_, events, kEvents, &timeout, nullptr);
            if (count < 0 && errno == ENOSYS)  // kernels before 5.11
                count = epoll_wait(epoll_, events, kEvents,
                                   static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
        }
        if (count <= 0) return reported;
        for (int i = 0; i < count; ++i) {
            Port* port = Find(events[i].data.fd);
            if (!port) continue;
            port->mayHaveInput = true;
            if (fresh) port->fresh = true;
            reported = true;
        }
        if (count < kEvents) return reported;
        wait = std::chrono::nanoseconds(0);  // more may be waiting
    }
}

bool LinuxSerialPorts::MayHaveInput(Port& port) {
    if (port.mayHaveInput) return true;
    // The clock and the epoll set are looked at about once per pass over the
    // open ports, the epoll set at most every kReadinessPeriod.
    if (++quietCalls_ < openPorts_) return false;
    quietCalls_ = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastCollected_ >= kReadinessPeriod) {
        lastCollected_ = now;
        CollectReadiness(std::chrono::nanoseconds(0), true);
    }
    if ((port.failed || !port.watched) && now - port.foundEmpty >= kEmptyRecheck) return true;
    return port.mayHaveInput;
}

bool LinuxSerialPorts::WaitForInput(std::chrono::nanoseconds timeout) {
    // Input that a look at the epoll set during the last pass reported for a
    // port already read in that pass: no waiting.
    bool fresh = false;
    for (auto& port : ports_)
        if (port && port->fresh) {
            port->fresh = false;
            fresh = fresh || port->mayHaveInput;
        }
    if (fresh) return true;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto deadline = start + timeout;
    if (epoll_ >= 0 && start - lastInput_ < kSpinAfterInput) {
        // Input came moments ago: more is likely to follow soon (replies on
        // a bus), and falling asleep and waking costs more than looking.
        const auto spinEnd = start + std::min<std::chrono::nanoseconds>(kSpin, timeout);
        do {
            if (CollectReadiness(std::chrono::nanoseconds(0), false)) return true;
        } while (Clock::now() < spinEnd);
    }
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left.count() <= 0) return false;
        if (epoll_ < 0) {
            std::this_thread::sleep_for(left);
            CollectReadiness(std::chrono::nanoseconds(0), false);
            return false;
        }
        if (CollectReadiness(left, false)) {
            lastCollected_ = Clock::now();
            return true;
        }
    }
}

void LinuxSerialPorts::TopUp(Port& port) {
    for (;;) {
        if (port.tail == port.capacity) {
            const std::size_t held = port.tail - port.head;
            // Compacting only once half the buffer is handed out keeps the
            // copying at most one byte per byte read.
            if (port.head >= port.capacity / 2) {
                std::memmove(port.buffer.get(), port.buffer.get() + port.head, held);
                port.head = 0;
                port.tail = held;
            } else if (port.capacity >= kMaxBufferBytes) {
                return;  // full: the rest waits in the tty
            } else {
                const std::size_t grown = std::min(port.capacity * 2, kMaxBufferBytes);
                std::unique_ptr<std::uint8_t[]> bigger(new std::uint8_t[grown]);
                std::memcpy(bigger.get(), port.buffer.get() + port.head, held);
                port.buffer = std::move(bigger);
                port.capacity = grown;
                port.head = 0;
                port.tail = held;
            }
        }
        const std::size_t room = port.capacity - port.tail;
        const long got = ReadTty(port, room);
        if (got <= 0 || static_cast<std::size_t>(got) < room) return;  // the tty is drained
    }
}

bool LinuxSerialPorts::ReadFile(PortHandle handle, std::uint8_t* buffer, std::uint32_t size,
                                std::uint32_t& bytesRead) {
    bytesRead = 0;
    Port* port = Find(handle);
    if (!port) return false;
    if (size == 0) return true;
    if (port->head == port->tail) {
        const bool mayHaveInput = MayHaveInput(*port);
        port->fresh = false;
        if (!mayHaveInput) return !port->failed;
        const auto now = std::chrono::steady_clock::now();
        port->failed = !Fill(*port);
        port->lastRead = now;
        if (port->head == port->tail) {
            port->foundEmpty = now;
            return !port->failed;
        }
        lastInput_ = now;
    } else if (++port->callsSinceRead >= kTopUpInterval) {
        port->callsSinceRead = 0;
        const auto now = std::chrono::steady_clock::now();
        if (now - port->lastRead >= kTopUpPeriod) {
            port->lastRead = now;
            TopUp(*port);
        }
    }
    const std::size_t count = std::min<std::size_t>(size, port->tail - port->head);
    if (count == 1)
        *buffer = port->buffer[port->head];
    else
        std::memcpy(buffer, port->buffer.get() + port->head, count);
    port->head += count;
    bytesRead = static_cast<std::uint32_t>(count);
    return true;
}

bool LinuxSerialPorts::WriteFile(PortHandle handle, const std::uint8_t* data, std::uint32_t size,
                                 std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    Port* port = Find(handle);
    if (!port) return false;
    using Clock = std::chrono::steady_clock;
    auto lastProgress = Clock::now();
    while (bytesWritten < size) {
        const ssize_t put = write(port->fd, data + bytesWritten, size - bytesWritten);
        if (put > 0) {
            bytesWritten += static_cast<std::uint32_t>(put);
            lastProgress = Clock::now();
            continue;
        }
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (Clock::now() - lastProgress > std::chrono::seconds(kWriteStallSeconds)) return false;
        pollfd wait{port->fd, POLLOUT, 0};
        const int ready = poll(&wait, 1, 1000);
        if (ready > 0 && (wait.revents & (POLLHUP | POLLERR | POLLNVAL))) return false;
    }
    return true;
}

bool LinuxSerialPorts::CloseHandle(PortHandle handle) {
    Port* port = Find(handle);
    if (!port) return false;
    if (port->originalValid) ioctl(port->fd, TCSETS2, &port->original);
    ioctl(port->fd, TIOCNXCL);
    WatchReadiness(*port, false);
    --openPorts_;
    const bool closed = close(port->fd) == 0;  // also releases the lock
    ports_[static_cast<std::size_t>(handle)].reset();
    return closed;
}

bool LinuxSerialPorts::PortLineGone(PortHandle handle) {
    Port* port = Find(handle);
    if (!port || port->head != port->tail) return false;
    if (port->failed) return true;
    // No events asked for: a hang-up, an error or a dead descriptor is
    // reported anyway. An empty read cannot tell: with VMIN = VTIME = 0 a
    // quiet line reads 0 bytes too.
    pollfd state{port->fd, 0, 0};
    return poll(&state, 1, 0) == 1 && (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

bool LinuxSerialPorts::OpenPortPresent(const std::string& portName, PortHandle handle) {
    Port* port = Find(handle);
    if (!port) return false;
    if (port->head != port->tail) return true;  // its last bytes are still to be read
    const std::string device = DeviceOf(portName);
    struct stat named {}, opened {};
    if (device.empty() || stat(device.c_str(), &named) != 0 || !S_ISCHR(named.st_mode)) return false;
    if (fstat(port->fd, &opened) != 0 || opened.st_rdev != named.st_rdev) return false;
    return !PortLineGone(handle);
}

std::size_t LinuxSerialPorts::BufferedBytes(PortHandle handle) const {
    const Port* port = Find(handle);
    return port ? port->tail - port->head : 0;
}

}  // namespace kestrum
