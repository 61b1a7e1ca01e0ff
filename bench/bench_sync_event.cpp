// Wake-up latency of the sync event between processes: the time from the
// master's SetEvent in this process to the return of WaitForSingleObject in
// a forked follower, over many pulses, each given only once the follower is
// asleep in its wait. Both sides read CLOCK_MONOTONIC, which all processes
// share. Also the cost of a pulse (SetEvent + ResetEvent) nobody waits for.
//   bench_sync_event [pulses, default 1000]
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "platform/sync_event.h"

namespace {

constexpr const char* kName = "benchSyncEvent";

std::int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

bool ReadAll(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = read(fd, bytes, size);
        if (got <= 0) return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    return write(fd, data, size) == static_cast<ssize_t>(size);
}

// Whether the process sleeps in a futex wait now.
bool SleepsInFutex(pid_t pid) {
    std::ifstream wchan("/proc/" + std::to_string(pid) + "/wchan");
    std::string name;
    std::getline(wchan, name);
    return name.find("futex") != std::string::npos;
}

// The follower: waits for the master's go (sent only once the previous pulse
// is over, so that no wait finds the event still set), waits on the event and
// sends back the time its wait returned (0 when it did not return signalled).
[[noreturn]] void Follower(int fromMaster, int toMaster, int pulses) {
    auto events = kestrum::CreateSystemSyncEvents();
    const kestrum::EventHandle event = events->OpenEvent(kName);
    for (int i = 0; i < pulses; ++i) {
        char go = 0;
        if (!ReadAll(fromMaster, &go, sizeof go)) _exit(1);
        const kestrum::WaitResult result = events->WaitForSingleObject(event, 10'000);
        const std::int64_t woken = result == kestrum::WaitResult::Signalled ? MonotonicNs() : 0;
        if (!WriteAll(toMaster, &woken, sizeof woken)) _exit(1);
    }
    _exit(0);
}

double Microseconds(std::int64_t ns) { return static_cast<double>(ns) / 1000.0; }

}  // namespace

int main(int argc, char** argv) {
    const int pulses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    char folder[] = "/tmp/kestrum-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return 1;
    setenv("XDG_RUNTIME_DIR", folder, 1);

    auto events = kestrum::CreateSystemSyncEvents();
    const kestrum::EventHandle master = events->CreateEvent(kName);
    if (master == kestrum::kInvalidEventHandle) {
        std::printf("cannot create the event in %s\n", folder);
        return 1;
    }

    // A pulse that wakes nobody.
    constexpr int kIdlePulses = 100'000;
    const std::int64_t idleStart = MonotonicNs();
    for (int i = 0; i < kIdlePulses; ++i) {
        events->SetEvent(master);
        events->ResetEvent(master);
    }
    const double idlePulseNs = static_cast<double>(MonotonicNs() - idleStart) / kIdlePulses;

    int toMaster[2];
    int toFollower[2];
    if (pipe(toMaster) != 0 || pipe(toFollower) != 0) return 1;
    const pid_t follower = fork();
    if (follower == 0) {
        close(toMaster[0]);
        close(toFollower[1]);
        Follower(toFollower[0], toMaster[1], pulses);
    }
    close(toMaster[1]);
    close(toFollower[0]);

    std::vector<std::int64_t> latencies;
    int missed = 0;
    for (int i = 0; i < pulses; ++i) {
        const char go = 1;
        if (!WriteAll(toFollower[1], &go, sizeof go)) break;
        // The pulse counts only once the follower is asleep in its wait.
        const std::int64_t giveUp = MonotonicNs() + 10'000'000'000;
        while (!SleepsInFutex(follower) && MonotonicNs() < giveUp) {
        }
        const std::int64_t set = MonotonicNs();
        events->SetEvent(master);
        events->ResetEvent(master);
        std::int64_t woken = 0;
        if (!ReadAll(toMaster[0], &woken, sizeof woken)) break;
        if (woken == 0) ++missed;
        else latencies.push_back(woken - set);
    }
    close(toMaster[0]);
    close(toFollower[1]);
    int status = 0;
    waitpid(follower, &status, 0);
    events->CloseHandle(master);
    unlink((std::string(folder) + "/" + kName).c_str());
    rmdir(folder);

    if (latencies.empty()) {
        std::printf("no wake-ups measured\n");
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    const double mean = static_cast<double>(std::accumulate(latencies.begin(), latencies.end(), std::int64_t{0})) /
                        static_cast<double>(latencies.size());
    const auto at = [&](double fraction) {
        const auto index = static_cast<std::size_t>(fraction * static_cast<double>(latencies.size() - 1));
        return Microseconds(latencies[index]);
    };
    std::printf("pulse with nobody waiting (SetEvent + ResetEvent): %.0f ns\n", idlePulseNs);
    std::printf("wake-up SetEvent -> WaitForSingleObject returns in another process, %zu pulses:\n",
                latencies.size());
    std::printf("  mean %.1f us  median %.1f us  p99 %.1f us  max %.1f us  missed %d\n", mean / 1000.0, at(0.5),
                at(0.99), Microseconds(latencies.back()), missed);
    return missed == 0 && static_cast<int>(latencies.size()) == pulses ? 0 : 1;
}
