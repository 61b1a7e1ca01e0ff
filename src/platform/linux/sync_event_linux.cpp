// Named sync events over a shared file and a futex (see sync_event_linux.h).

#include "platform/linux/sync_event_linux.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <functional>
#include <map>

#include "platform/linux/runtime_folder.h"
#include "platform/sync_event.h"

namespace kestrum {
namespace {

// The words of the file.
constexpr std::size_t kTagWord = 0;
constexpr std::size_t kGenerationWord = 1;
constexpr std::size_t kSignalledWord = 2;
constexpr std::size_t kWordCount = kSyncEventFileBytes / sizeof(std::uint32_t);
constexpr std::uint32_t kEventTag = 0x4B455631;  // "KEV1"

// How long a handle waits for another process to finish initialising the file.
constexpr int kLockAttempts = 1000;
constexpr useconds_t kLockRetryMicroseconds = 1000;

using Words = std::uint32_t*;

std::uint32_t Load(Words words, std::size_t index) {
    return std::atomic_ref<std::uint32_t>(words[index]).load();
}

void Store(Words words, std::size_t index, std::uint32_t value) {
    std::atomic_ref<std::uint32_t>(words[index]).store(value);
}

std::int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Shared futex calls: no FUTEX_PRIVATE_FLAG, the waiters live in other processes.
long FutexWait(Words word, std::uint32_t expected, const timespec* timeout) {
    return syscall(SYS_futex, word, FUTEX_WAIT, expected, timeout, nullptr, 0);
}

long FutexWakeAll(Words word) {
    return syscall(SYS_futex, word, FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

// Open-file-description locks on the file's first byte.
flock LockOfType(short type) {
    flock lock{};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    return lock;
}

bool TryLock(int fd, short type) {
    flock lock = LockOfType(type);
    int result;
    do {
        result = fcntl(fd, F_OFD_SETLK, &lock);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// A shared lock, waiting a little for a creator that holds the exclusive one
// while it initialises the file.
bool TakeSharedLock(int fd) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        if (TryLock(fd, F_RDLCK)) return true;
        if (errno != EAGAIN && errno != EACCES) return false;
        usleep(kLockRetryMicroseconds);
    }
    return false;
}

// Whether another open file description holds a lock on the file.
bool IsHeldElsewhere(int fd, bool& held) {
    flock lock = LockOfType(F_WRLCK);
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
    held = lock.l_type != F_UNLCK;
    return true;
}

// Opens the event's file (making it with `create`); -1 when the name is
// unusable or the path is not a regular file that can be read and written.
int OpenEventFile(const std::string& name, bool create) {
    if (name.empty() || name.find('/') != std::string::npos) return -1;
    const std::string path = SyncEventFilePath(name);
    if (path.empty()) return -1;
    // O_NONBLOCK: a FIFO put in the file's place must not hang the open.
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (create ? O_CREAT : 0);
    const int fd = open(path.c_str(), flags, 0600);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

off_t FileSize(int fd) {
    struct stat info {};
    return fstat(fd, &info) == 0 ? info.st_size : -1;
}

Words Map(int fd) {
    void* address = mmap(nullptr, kSyncEventFileBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return address == MAP_FAILED ? nullptr : static_cast<Words>(address);
}

void Unmap(Words words) {
    munmap(words, kSyncEventFileBytes);
}

bool IsFresh(Words words) {
    for (std::size_t i = 0; i < kWordCount; ++i)
        if (Load(words, i) != 0) return false;
    return true;
}

// Under the exclusive lock: makes an empty file an event and keeps an event's
// generation. A file of any other size or content is not ours: left alone.
Words InitialiseAlone(int fd) {
    const off_t size = FileSize(fd);
    if (size == 0 && ftruncate(fd, static_cast<off_t>(kSyncEventFileBytes)) != 0) return nullptr;
    if (size != 0 && size != static_cast<off_t>(kSyncEventFileBytes)) return nullptr;
    const Words words = Map(fd);
    if (words == nullptr) return nullptr;
    if (Load(words, kTagWord) != kEventTag && !IsFresh(words)) {
        Unmap(words);
        return nullptr;
    }
    Store(words, kTagWord, kEventTag);
    return words;
}

// Under a shared lock: the mapping of a file that is an event already.
Words MapExisting(int fd) {
    if (FileSize(fd) != static_cast<off_t>(kSyncEventFileBytes)) return nullptr;
    const Words words = Map(fd);
    if (words != nullptr && Load(words, kTagWord) != kEventTag) {
        Unmap(words);
        return nullptr;
    }
    return words;
}

class FutexSyncEvents final : public SyncEvents {
public:
    ~FutexSyncEvents() override {
        for (const auto& [handle, words] : events_) Release(handle, words);
    }

    EventHandle CreateEvent(const std::string& name) override {
        const int fd = OpenEventFile(name, true);
        if (fd < 0) return kInvalidEventHandle;
        Words words = nullptr;
        if (TryLock(fd, F_WRLCK)) {
            // Nobody else holds the event: whatever a dead process left is
            // made a fresh event. The lock then turns shared in one step.
            words = InitialiseAlone(fd);
            if (words != nullptr && !TryLock(fd, F_RDLCK)) {
                Unmap(words);
                words = nullptr;
            }
        } else if ((errno == EAGAIN || errno == EACCES) && TakeSharedLock(fd)) {
            words = MapExisting(fd);
        }
        if (words == nullptr) {
            close(fd);
            return kInvalidEventHandle;
        }
        Store(words, kSignalledWord, 0);
        events_.emplace(fd, words);
        return fd;
    }

    EventHandle OpenEvent(const std::string& name) override {
        const int fd = OpenEventFile(name, false);
        if (fd < 0) return kInvalidEventHandle;
        bool held = false;
        Words words = nullptr;
        if (IsHeldElsewhere(fd, held) && held && TakeSharedLock(fd)) words = MapExisting(fd);
        if (words == nullptr) {
            close(fd);
            return kInvalidEventHandle;
        }
        events_.emplace(fd, words);
        return fd;
    }

    bool SetEvent(EventHandle event) override {
        const Words words = Find(event);
        if (words == nullptr) return false;
        Store(words, kSignalledWord, 1);
        std::atomic_ref<std::uint32_t>(words[kGenerationWord]).fetch_add(1);
        return FutexWakeAll(&words[kGenerationWord]) >= 0;
    }

    bool ResetEvent(EventHandle event) override {
        const Words words = Find(event);
        if (words == nullptr) return false;
        Store(words, kSignalledWord, 0);
        return true;
    }

    WaitResult WaitForSingleObject(EventHandle event, std::uint32_t timeoutMs) override {
        const Words words = Find(event);
        if (words == nullptr) return WaitResult::Failed;
        // The generation is read first: a SetEvent after this point changes
        // it, even when a ResetEvent follows before the flag is looked at.
        const std::uint32_t generation = Load(words, kGenerationWord);
        if (Load(words, kSignalledWord) != 0) return WaitResult::Signalled;
        const bool endless = timeoutMs == kInfiniteWait;
        return WaitForNewGeneration(words, generation, endless ? -1 : MonotonicNs() + Milliseconds(timeoutMs));
    }

    WaitResult WaitInParts(EventHandle event, std::uint32_t timeoutMs, std::uint32_t partMs,
                           const std::function<bool()>& between) override {
        const Words words = Find(event);
        if (words == nullptr) return WaitResult::Failed;
        // One generation for the whole wait: a pulse while `between` runs
        // has changed it when the next part begins.
        const std::uint32_t generation = Load(words, kGenerationWord);
        if (Load(words, kSignalledWord) != 0) return WaitResult::Signalled;
        const bool endless = timeoutMs == kInfiniteWait;
        const std::int64_t deadline = MonotonicNs() + Milliseconds(timeoutMs);
        const std::int64_t part = Milliseconds(partMs == 0 ? 1 : partMs);
        while (true) {
            std::int64_t partEnd = MonotonicNs() + part;
            if (!endless && partEnd > deadline) partEnd = deadline;
            const WaitResult result = WaitForNewGeneration(words, generation, partEnd);
            if (result != WaitResult::TimedOut) return result;
            if (!endless && MonotonicNs() >= deadline) return WaitResult::TimedOut;
            if (between && !between()) return WaitResult::TimedOut;
            if (Find(event) != words) return WaitResult::Failed;  // closed by `between`
        }
    }

    bool CloseHandle(EventHandle event) override {
        const auto found = events_.find(event);
        if (found == events_.end()) return false;
        const bool closed = Release(found->first, found->second);
        events_.erase(found);
        return closed;
    }

private:
    static std::int64_t Milliseconds(std::uint32_t ms) { return static_cast<std::int64_t>(ms) * 1'000'000; }

    // Waits until the generation differs from `generation` (Signalled) or
    // the monotonic clock reaches `deadline` (TimedOut; -1: never).
    static WaitResult WaitForNewGeneration(Words words, std::uint32_t generation, std::int64_t deadline) {
        while (true) {
            if (Load(words, kGenerationWord) != generation) return WaitResult::Signalled;
            timespec left{};
            if (deadline >= 0) {
                const std::int64_t ns = deadline - MonotonicNs();
                if (ns <= 0) return WaitResult::TimedOut;
                left.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
                left.tv_nsec = static_cast<long>(ns % 1'000'000'000);
            }
            const long result = FutexWait(&words[kGenerationWord], generation, deadline < 0 ? nullptr : &left);
            const int error = errno;
            if (Load(words, kGenerationWord) != generation) return WaitResult::Signalled;
            // Woken without a new generation (spurious, a signal) or out of
            // time: the loop looks at the clock again.
            if (result != 0 && error != EAGAIN && error != EINTR && error != ETIMEDOUT)
                return WaitResult::Failed;
        }
    }

    Words Find(EventHandle event) const {
        const auto found = events_.find(event);
        return found == events_.end() ? nullptr : found->second;
    }

    // Closing the descriptor drops its lock.
    static bool Release(EventHandle event, Words words) {
        Unmap(words);
        return close(static_cast<int>(event)) == 0;
    }

    std::map<EventHandle, Words> events_;
};

}  // namespace

std::string SyncEventFilePath(const std::string& name) {
    const std::string folder = RuntimeFolder();
    return folder.empty() ? std::string() : folder + "/" + name;
}

std::unique_ptr<SyncEvents> CreateSystemSyncEvents() {
    return std::make_unique<FutexSyncEvents>();
}

}  // namespace kestrum
