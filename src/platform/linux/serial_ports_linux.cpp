#include "platform/linux/serial_ports_linux.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include "platform/linux/local_date_time.h"
#include "platform/linux/termios_dcb.h"

namespace kestrum {

// One read()'s bytes with their arrival, or (Size 0) a mark of bytes left out.
struct LinuxSerialPorts::Chunk {
    std::atomic<Chunk*> Next{nullptr};
    std::uint64_t Sequence = 0;
    std::int64_t Counter = 0;
    DateTime LocalTime = 0.0;
    std::uint64_t Dropped = 0;  // a mark: bytes left out before the next chunk
    std::size_t Size = 0;
    std::size_t Charge = 0;  // memory it takes, counted against kMaxQueuedBytes

    std::uint8_t* Data() { return reinterpret_cast<std::uint8_t*>(this + 1); }

    static Chunk* Make(std::size_t size) {
        void* memory = ::operator new(sizeof(Chunk) + size);
        Chunk* chunk = new (memory) Chunk;
        chunk->Size = size;
        chunk->Charge = sizeof(Chunk) + size;
        return chunk;
    }
    static void Free(Chunk* chunk) {
        chunk->~Chunk();
        ::operator delete(chunk);
    }
};

struct LinuxSerialPorts::Port {
    int Fd = -1;
    std::uint64_t Id = 0;  // epoll data: a number of its own in the high half, the descriptor in the low
    std::string Name;
    termios2 Original{};
    bool OriginalValid = false;
    CommTimeouts Timeouts;
    bool Watched = false;             // in the epoll set (mutex_)
    std::atomic<bool> Failed{false};  // a read failed or found the line hung up

    // Reading thread (mutex_).
    Chunk* Tail = nullptr;
    std::size_t Charged = 0;           // memory of every chunk queued so far
    std::uint64_t PendingDropped = 0;  // bytes left out and not yet marked in the queue
    bool StatusKnown = false;
    LineStatus Status;
    std::atomic<std::size_t> Produced{0};  // bytes queued so far

    // Caller's side.
    Chunk* Head = nullptr;  // handed out already; the chunk after it is the current one
    std::size_t Offset = 0;  // bytes of the current chunk handed out
    std::uint64_t Dropped = 0;  // marks passed and not yet taken
    std::size_t Consumed = 0;   // bytes handed out so far
    std::atomic<std::size_t> Released{0};  // memory given back so far

    std::size_t Queued() const { return Charged - Released.load(std::memory_order_acquire); }
};

struct LinuxSerialPorts::SentBytes {
    std::string Port;
    std::int64_t Counter = 0;
    std::uint8_t Lines = 0;
    std::vector<std::uint8_t> Bytes;
};

namespace {

constexpr std::uint64_t kControlId = 0;
constexpr std::uint64_t kFdMask = 0xFFFF'FFFFu;
// Reads of one port per wake-up: a port that floods does not hold up the others.
constexpr int kReadsPerWake = 4;
// Events of one kind and port written per look at the line status.
constexpr std::uint32_t kMaxEventsPerLook = 256;

std::int64_t ReadClock(clockid_t id) {
    timespec ts{};
    clock_gettime(id, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

std::int64_t MonotonicNs() { return ReadClock(CLOCK_MONOTONIC); }

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

void DrainEventFd(int fd) {
    std::uint64_t count = 0;
    while (read(fd, &count, sizeof count) > 0) {
    }
}

void Signal(int fd) {
    const std::uint64_t one = 1;
    (void)!write(fd, &one, sizeof one);
}

}  // namespace

LinuxSerialPorts::LinuxSerialPorts(LineStatusReader lineStatus)
    : lineStatus_(lineStatus ? std::move(lineStatus) : LineStatusReader(ReadLineStatus)),
      epoll_(epoll_create1(EPOLL_CLOEXEC)),
      control_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      readBuffer_(new std::uint8_t[kReadBytes]) {
    if (epoll_ < 0 || control_ < 0 || wake_ < 0) return;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = kControlId;
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, control_, &event) != 0) return;
    reader_ = std::thread([this] { ReadLoop(); });
}

std::unique_ptr<SerialPorts> CreateSystemSerialPorts() { return std::make_unique<LinuxSerialPorts>(); }

LinuxSerialPorts::~LinuxSerialPorts() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    WakeReader();
    if (reader_.joinable()) reader_.join();
    for (std::size_t fd = 0; fd < ports_.size(); ++fd)
        if (ports_[fd]) CloseHandle(static_cast<PortHandle>(fd));
    for (int fd : {epoll_, control_, wake_})
        if (fd >= 0) close(fd);
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
    if (!reader_.joinable()) {
        lastError_ = "The serial ports cannot be read (no epoll set or reading thread).";
        failure = OpenFailure::Other;
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
    port->Fd = fd;
    port->Name = portName;
    // Only a tty is a serial port.
    if (ioctl(fd, TCGETS2, &port->Original) != 0) {
        lastError_ = std::strerror(errno);
        close(fd);
        failure = OpenFailure::Other;
        return kInvalidPortHandle;
    }
    port->OriginalValid = true;
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

    // The queue starts with a chunk that counts as handed out.
    port->Head = port->Tail = Chunk::Make(0);
    port->Charged = port->Head->Charge;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        port->Id = (nextPortId_++ << 32) | static_cast<std::uint64_t>(fd);
        epoll_event event{};
        // Edge-triggered: the set reports ports in the order their input
        // came (a port still reported is not put back in front of later
        // ones); each report is read until the tty is empty.
        event.events = EPOLLIN | EPOLLET;
        event.data.u64 = port->Id;
        port->Watched = epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) == 0;
        if (static_cast<std::size_t>(fd) >= ports_.size()) ports_.resize(static_cast<std::size_t>(fd) + 1);
        ports_[static_cast<std::size_t>(fd)] = std::move(port);
    }
    failure = OpenFailure::None;
    return fd;
}

bool LinuxSerialPorts::GetCommConfig(PortHandle handle, CommConfig& config) {
    Port* port = Find(handle);
    if (!port) return false;
    termios2 tty{};
    if (ioctl(port->Fd, TCGETS2, &tty) != 0) return false;
    config.dwSize = 52;
    linux_tty::TermiosToDcb(tty, config.dcb);
    int lines = 0;
    if (ioctl(port->Fd, TIOCMGET, &lines) == 0) {
        config.dcb.fDtrControl = (lines & TIOCM_DTR) ? 1 : 0;
        config.dcb.fRtsControl = (lines & TIOCM_RTS) ? 1 : 0;
    }
    return true;
}

bool LinuxSerialPorts::SetCommConfig(PortHandle handle, const CommConfig& config) {
    Port* port = Find(handle);
    if (!port) return false;
    termios2 tty{};
    if (ioctl(port->Fd, TCGETS2, &tty) != 0) return false;
    if (!linux_tty::DcbToTermios(config.dcb, tty)) return false;
    if (ioctl(port->Fd, TCSETS2, &tty) != 0) return false;
    // Modem lines: pseudo-terminals and some adapters refuse these; that
    // does not make the configuration fail.
    const int dtr = TIOCM_DTR;
    const int rts = TIOCM_RTS;
    ioctl(port->Fd, config.dcb.fDtrControl == 0 ? TIOCMBIC : TIOCMBIS, &dtr);
    ioctl(port->Fd, config.dcb.fRtsControl == 0 ? TIOCMBIC : TIOCMBIS, &rts);
    return true;
}

bool LinuxSerialPorts::GetCommTimeouts(PortHandle handle, CommTimeouts& timeouts) {
    Port* port = Find(handle);
    if (!port) return false;
    timeouts = port->Timeouts;
    return true;
}

bool LinuxSerialPorts::SetCommTimeouts(PortHandle handle, const CommTimeouts& timeouts) {
    // Reads never block here, whatever the time-outs say; they are kept so
    // that they read back as written.
    Port* port = Find(handle);
    if (!port) return false;
    port->Timeouts = timeouts;
    return true;
}

bool LinuxSerialPorts::PurgeComm(PortHandle handle) {
    Port* port = Find(handle);
    if (!port) return false;
    // With the reading thread held off, what the tty holds and what the
    // queue holds go together.
    std::lock_guard<std::mutex> lock(mutex_);
    const bool flushed = ioctl(port->Fd, TCFLSH, TCIFLUSH) == 0;
    FreeQueue(*port);
    port->PendingDropped = 0;
    port->Dropped = 0;
    return flushed;
}

// ---- the caller's side of a queue -------------------------------------------

void LinuxSerialPorts::Release(Port& port, Chunk* chunk) {
    port.Released.store(port.Released.load(std::memory_order_relaxed) + chunk->Charge, std::memory_order_release);
    Chunk::Free(chunk);
}

LinuxSerialPorts::Chunk* LinuxSerialPorts::Current(Port& port) {
    for (;;) {
        Chunk* next = port.Head->Next.load(std::memory_order_acquire);
        if (!next) return nullptr;
        if (port.Offset < next->Size) return next;
        // Handed out completely, or a mark: move on.
        port.Dropped += next->Dropped;
        Chunk* done = port.Head;
        port.Head = next;
        port.Offset = 0;
        Release(port, done);
    }
}

void LinuxSerialPorts::FreeQueue(Port& port) {
    while (Chunk* next = port.Head->Next.load(std::memory_order_acquire)) {
        Chunk* done = port.Head;
        port.Head = next;
        Release(port, done);
    }
    port.Offset = 0;
    port.Consumed = port.Produced.load(std::memory_order_acquire);
}

bool LinuxSerialPorts::ReadFile(PortHandle handle, std::uint8_t* buffer, std::uint32_t size,
                                std::uint32_t& bytesRead) {
    bytesRead = 0;
    Port* port = Find(handle);
    if (!port) return false;
    while (bytesRead < size) {
        Chunk* chunk = Current(*port);
        if (!chunk) break;
        const std::size_t count = std::min<std::size_t>(size - bytesRead, chunk->Size - port->Offset);
        if (count == 1)
            buffer[bytesRead] = chunk->Data()[port->Offset];
        else
            std::memcpy(buffer + bytesRead, chunk->Data() + port->Offset, count);
        port->Offset += count;
        port->Consumed += count;
        bytesRead += static_cast<std::uint32_t>(count);
    }
    return bytesRead > 0 || size == 0 || !port->Failed.load(std::memory_order_relaxed);
}

std::uint64_t LinuxSerialPorts::ArrivalLimit() {
    seen_ = published_.load(std::memory_order_acquire);
    return seen_;
}

std::uint64_t LinuxSerialPorts::ArrivalMark() {
    std::lock_guard<std::mutex> lock(mutex_);
    return nextSequence_;
}

bool LinuxSerialPorts::NextArrival(PortHandle handle, InputArrival& arrival) {
    Port* port = Find(handle);
    if (!port) return false;
    const Chunk* chunk = Current(*port);
    if (!chunk) return false;
    arrival = {chunk->Sequence, chunk->Counter, chunk->LocalTime, port->Dropped};
    return true;
}

std::uint64_t LinuxSerialPorts::TakeDroppedInput(PortHandle handle) {
    Port* port = Find(handle);
    if (!port) return 0;
    Current(*port);  // passes marks at the front of the queue
    return std::exchange(port->Dropped, 0);
}

std::size_t LinuxSerialPorts::BufferedBytes(PortHandle handle) const {
    const Port* port = Find(handle);
    return port ? port->Produced.load(std::memory_order_acquire) - port->Consumed : 0;
}

bool LinuxSerialPorts::HasFailed(PortHandle handle) const {
    const Port* port = Find(handle);
    return port && port->Failed.load(std::memory_order_relaxed);
}

bool LinuxSerialPorts::WaitForInput(std::chrono::nanoseconds timeout) {
    const auto newInput = [this] {
        const std::uint64_t published = published_.load(std::memory_order_seq_cst);
        if (published == seen_) return false;
        seen_ = published;
        return true;
    };
    if (newInput()) return true;
    using SteadyClock = std::chrono::steady_clock;
    const auto start = SteadyClock::now();
    const auto deadline = start + timeout;
    if (MonotonicNs() - lastArrival_.load(std::memory_order_relaxed) <
        std::chrono::nanoseconds(kSpinAfterInput).count()) {
        // Input came moments ago: more is likely to follow soon (replies on
        // a bus), and falling asleep and waking costs more than looking.
        const auto spinEnd = start + std::min<std::chrono::nanoseconds>(kSpin, timeout);
        do {
            if (newInput()) return true;
            // The reading thread may need this processor to bring it.
            std::this_thread::yield();
        } while (SteadyClock::now() < spinEnd);
    }
    for (;;) {
        waiting_.store(true, std::memory_order_seq_cst);
        if (newInput()) {
            waiting_.store(false, std::memory_order_relaxed);
            return true;
        }
        const auto left = deadline - SteadyClock::now();
        if (left.count() <= 0) {
            waiting_.store(false, std::memory_order_relaxed);
            return false;
        }
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec wait{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
        pollfd woken{wake_, POLLIN, 0};
        ppoll(&woken, 1, &wait, nullptr);
        waiting_.store(false, std::memory_order_relaxed);
        DrainEventFd(wake_);
    }
}

// ---- writing ----------------------------------------------------------------

bool LinuxSerialPorts::WriteFile(PortHandle handle, const std::uint8_t* data, std::uint32_t size,
                                 std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    Port* port = Find(handle);
    if (!port) {
        lastError_ = std::strerror(EBADF);
        return false;
    }
    using SteadyClock = std::chrono::steady_clock;
    auto lastProgress = SteadyClock::now();
    bool ok = true;
    while (bytesWritten < size) {
        const ssize_t put = write(port->Fd, data + bytesWritten, size - bytesWritten);
        if (put > 0) {
            bytesWritten += static_cast<std::uint32_t>(put);
            lastProgress = SteadyClock::now();
            continue;
        }
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            lastError_ = std::strerror(errno);
            ok = false;
            break;
        }
        if (SteadyClock::now() - lastProgress > std::chrono::seconds(kWriteStallSeconds)) {
            lastError_ = std::strerror(ETIMEDOUT);
            ok = false;
            break;
        }
        pollfd wait{port->Fd, POLLOUT, 0};
        const int ready = poll(&wait, 1, 1000);
        if (ready > 0 && (wait.revents & (POLLHUP | POLLERR | POLLNVAL))) {
            lastError_ = std::strerror(EIO);
            ok = false;
            break;
        }
    }
    if (bytesWritten > 0) {
        bool recorded = false;
        {
            // Stamped under the lock: the reading thread hands these to the
            // recorder before anything it reads after them.
            std::lock_guard<std::mutex> lock(mutex_);
            if (recorder_) {
                sent_.push_back({port->Name, MonotonicNs(), port->Status.HasLines ? port->Status.Lines : std::uint8_t{0},
                                 std::vector<std::uint8_t>(data, data + bytesWritten)});
                recorded = true;
            }
        }
        if (recorded) WakeReader();
    }
    return ok;
}

bool LinuxSerialPorts::CloseHandle(PortHandle handle) {
    Port* port = Find(handle);
    if (!port) return false;
    if (port->OriginalValid) ioctl(port->Fd, TCSETS2, &port->Original);
    ioctl(port->Fd, TIOCNXCL);
    std::unique_ptr<Port> closing;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (port->Watched) epoll_ctl(epoll_, EPOLL_CTL_DEL, port->Fd, nullptr);
        closing = std::move(ports_[static_cast<std::size_t>(handle)]);
    }
    FreeQueue(*closing);
    Chunk::Free(closing->Head);
    return close(closing->Fd) == 0;  // also releases the lock
}

// ---- the recorder -------------------------------------------------------------

void LinuxSerialPorts::SetTrafficRecorder(PortTrafficRecorder* recorder) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (recorder_ == recorder) return;
        HandSent();  // the last events of the previous recorder
        recorder_ = recorder;
        if (recorder_) {
            unixOffset_ = ReadClock(CLOCK_REALTIME) - MonotonicNs();
            for (auto& port : ports_)
                if (port) port->StatusKnown = false;
            const std::int64_t now = MonotonicNs();
            nextLinePoll_ = now;
            nextTick_ = now;
        }
    }
    WakeReader();
}

void LinuxSerialPorts::WakeReader() const {
    if (control_ >= 0) Signal(control_);
}

// ---- the reading thread -------------------------------------------------------

void LinuxSerialPorts::ReadLoop() {
    constexpr int kEvents = 16;
    epoll_event events[kEvents];
    int timeout = -1;
    for (;;) {
        const int count = epoll_wait(epoll_, events, kEvents, timeout);
        std::lock_guard<std::mutex> lock(mutex_);
        if (stop_) return;
        HandSent();
        // Ports left with input at the last wake-up first: theirs came earlier.
        std::vector<std::uint64_t> undrained;
        undrained.swap(undrained_);
        for (const std::uint64_t id : undrained) ReadReported(id, 0);
        for (int i = 0; i < count; ++i) {
            const std::uint64_t id = events[i].data.u64;
            if (id == kControlId) {
                DrainEventFd(control_);
                continue;
            }
            ReadReported(id, events[i].events);
        }
        const std::int64_t now = MonotonicNs();
        if (recorder_ && now >= nextLinePoll_) PollLines(now);
        if (now >= nextTick_) {
            for (auto& port : ports_)
                if (port && port->PendingDropped > 0) QueueDroppedMark(*port);
            if (recorder_) recorder_->Tick(now);
            nextTick_ = now + std::chrono::nanoseconds(kTickInterval).count();
        }
        Publish();
        timeout = WaitMilliseconds(MonotonicNs());
    }
}

void LinuxSerialPorts::ReadReported(std::uint64_t id, std::uint32_t events) {
    const auto fd = static_cast<std::size_t>(id & kFdMask);
    if (fd >= ports_.size() || !ports_[fd] || ports_[fd]->Id != id) return;  // closed since
    if (!ReadPort(*ports_[fd], events) &&
        std::find(undrained_.begin(), undrained_.end(), id) == undrained_.end())
        undrained_.push_back(id);
}

int LinuxSerialPorts::WaitMilliseconds(std::int64_t now) const {
    if (!undrained_.empty()) return 0;
    bool dropping = false;
    for (const auto& port : ports_)
        if (port && port->PendingDropped > 0) dropping = true;
    if (!recorder_ && !dropping) return -1;  // until something happens
    std::int64_t due = nextTick_;
    if (recorder_) due = std::min(due, nextLinePoll_);
    if (due <= now) return 0;
    return static_cast<int>((due - now + 999'999) / 1'000'000);
}

bool LinuxSerialPorts::ReadPort(Port& port, std::uint32_t events) {
    if (port.Failed.load(std::memory_order_relaxed)) return true;
    for (int round = 0; round < kReadsPerWake; ++round) {
        const ssize_t got = read(port.Fd, readBuffer_.get(), kReadBytes);
        if (got > 0) {
            const auto size = static_cast<std::size_t>(got);
            const std::int64_t counter = MonotonicNs();
            Queue(port, readBuffer_.get(), size, counter);
            if (recorder_) RecordTraffic(port.Name, port.Status.Lines, PortTrafficKind::Received, counter,
                                         readBuffer_.get(), size);
            if (size < kReadBytes) return true;  // drained
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Nothing to read although the set reported the port: an error
            // or hang-up without input.
            if (events & (EPOLLERR | EPOLLHUP)) Fail(port);
            return true;
        }
        // 0: end of file (the line hung up); < 0: the device failed or is gone.
        Fail(port);
        return true;
    }
    return false;  // more waits: read on at the next turn
}

void LinuxSerialPorts::Fail(Port& port) {
    // Reported no more: a hung-up tty would otherwise wake the thread for good.
    if (port.Watched) epoll_ctl(epoll_, EPOLL_CTL_DEL, port.Fd, nullptr);
    port.Watched = false;
    port.Failed.store(true, std::memory_order_relaxed);
}

void LinuxSerialPorts::Queue(Port& port, const std::uint8_t* data, std::size_t size, std::int64_t counter) {
    if (port.PendingDropped > 0) QueueDroppedMark(port);
    const std::size_t charge = sizeof(Chunk) + size;
    if (port.PendingDropped > 0 || port.Queued() + charge > kMaxQueuedBytes) {
        if (port.PendingDropped == 0 && recorder_)
            RecordTraffic(port.Name, port.Status.Lines, PortTrafficKind::Dropped, counter, nullptr, size);
        port.PendingDropped += size;
        return;
    }
    Chunk* chunk = Chunk::Make(size);
    chunk->Sequence = nextSequence_++;
    chunk->Counter = counter;
    chunk->LocalTime = localTime_.Now();
    std::memcpy(chunk->Data(), data, size);
    port.Charged += chunk->Charge;
    port.Tail->Next.store(chunk, std::memory_order_release);
    port.Tail = chunk;
    port.Produced.store(port.Produced.load(std::memory_order_relaxed) + size, std::memory_order_release);
    lastArrival_.store(counter, std::memory_order_relaxed);
}

void LinuxSerialPorts::QueueDroppedMark(Port& port) {
    // Queueing resumes once the reader has taken half the queue, so that a
    // reader that keeps lagging is told of one gap, not of many small ones.
    if (port.Queued() + sizeof(Chunk) > kMaxQueuedBytes / 2) return;
    Chunk* mark = Chunk::Make(0);
    mark->Sequence = nextSequence_++;
    mark->Dropped = port.PendingDropped;
    port.Charged += mark->Charge;
    port.Tail->Next.store(mark, std::memory_order_release);
    port.Tail = mark;
    port.PendingDropped = 0;
}

void LinuxSerialPorts::HandSent() {
    if (recorder_)
        for (const SentBytes& sent : sent_)
            RecordTraffic(sent.Port, sent.Lines, PortTrafficKind::Sent, sent.Counter, sent.Bytes.data(),
                          sent.Bytes.size());
    sent_.clear();
}

void LinuxSerialPorts::PollLines(std::int64_t now) {
    nextLinePoll_ = now + std::chrono::nanoseconds(kLinePollInterval).count();
    for (auto& slot : ports_) {
        if (!slot || slot->Failed.load(std::memory_order_relaxed)) continue;
        Port& port = *slot;
        const LineStatus status = lineStatus_(port.Fd);
        const LineStatus before = port.Status;
        const bool known = port.StatusKnown;
        port.Status = status;
        port.StatusKnown = true;
        if (!known) continue;  // the first look only learns the state
        const std::uint8_t lines = status.HasLines ? status.Lines : std::uint8_t{0};
        if (status.HasCounts && before.HasCounts) {
            const std::pair<std::uint32_t, PortTrafficKind> counts[] = {
                {status.Frame - before.Frame, PortTrafficKind::FramingError},
                {status.Parity - before.Parity, PortTrafficKind::ParityError},
                {status.Overrun - before.Overrun, PortTrafficKind::Overrun},
                {status.Break - before.Break, PortTrafficKind::Break},
            };
            for (const auto& [added, kind] : counts)
                for (std::uint32_t i = 0; i < std::min(added, kMaxEventsPerLook); ++i)
                    RecordTraffic(port.Name, lines, kind, now, nullptr, 0);
        }
        if (status.HasLines && (!before.HasLines || status.Lines != before.Lines))
            RecordTraffic(port.Name, lines, PortTrafficKind::LinesChanged, now, nullptr, 0);
    }
}

void LinuxSerialPorts::RecordTraffic(std::string_view port, std::uint8_t lines, PortTrafficKind kind,
                                     std::int64_t counter, const std::uint8_t* data, std::size_t size) {
    PortTraffic traffic;
    traffic.Kind = kind;
    traffic.PortName = port;
    traffic.UnixNanoseconds = counter + unixOffset_;
    traffic.Lines = lines;
    traffic.Data = data;
    traffic.Size = size;
    recorder_->Record(traffic);
}

void LinuxSerialPorts::Publish() {
    if (nextSequence_ == published_.load(std::memory_order_relaxed)) return;
    published_.store(nextSequence_, std::memory_order_seq_cst);
    if (waiting_.load(std::memory_order_seq_cst)) Signal(wake_);
}

// ---- presence of an open port -------------------------------------------------

bool LinuxSerialPorts::PortLineGone(PortHandle handle) {
    const Port* port = Find(handle);
    if (!port || BufferedBytes(handle) != 0) return false;
    if (port->Failed.load(std::memory_order_relaxed)) return true;
    // No events asked for: a hang-up, an error or a dead descriptor is
    // reported anyway, and nothing is read (the reading thread reads).
    pollfd state{port->Fd, 0, 0};
    if (poll(&state, 1, 0) != 1 || (state.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0) return false;
    // Bytes the reading thread has not taken yet still belong to the line.
    int unread = 0;
    return (state.revents & POLLNVAL) != 0 || ioctl(port->Fd, FIONREAD, &unread) != 0 || unread == 0;
}

bool LinuxSerialPorts::OpenPortPresent(const std::string& portName, PortHandle handle) {
    const Port* port = Find(handle);
    if (!port) return false;
    if (BufferedBytes(handle) != 0) return true;  // its last bytes are still to be read
    const std::string device = DeviceOf(portName);
    struct stat named {}, opened {};
    if (device.empty() || stat(device.c_str(), &named) != 0 || !S_ISCHR(named.st_mode)) return false;
    if (fstat(port->Fd, &opened) != 0 || opened.st_rdev != named.st_rdev) return false;
    return !PortLineGone(handle);
}

}  // namespace kestrum
