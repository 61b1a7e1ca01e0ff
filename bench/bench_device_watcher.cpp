// Cost of the device watcher under a busy device folder: a writer thread
// creates and removes files at a steady rate in a watched scratch folder while
// this thread waits on the watcher's handle and drains it, as the event loop
// would. Prints the events read, how many counted as device changes, and the
// CPU time the draining took.
//   bench_device_watcher [seconds per figure, default 5] [files per second, default 1000]
#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/linux/device_watcher_linux.h"
#include "support/scratch_folder.h"

namespace {

using Clock = std::chrono::steady_clock;
using kestrum::LinuxDeviceWatcher;

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Creates and removes `folder`/<prefix><n> `rate` times a second until
// `seconds` have passed.
void MakeAndRemoveFiles(const std::string& folder, const std::string& prefix, int rate, double seconds,
                        std::atomic<bool>& done) {
    const auto period = std::chrono::nanoseconds(1'000'000'000 / rate);
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    auto next = start;
    for (long n = 0; Clock::now() < end; ++n) {
        const std::string path = folder + "/" + prefix + std::to_string(n);
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) close(fd);
        unlink(path.c_str());
        next += period;
        std::this_thread::sleep_until(next);
    }
    done = true;
}

void Measure(const char* title, const std::string& prefix, bool mapped, int rate, double seconds) {
    kestrum::test::ScratchFolder scratch;
    const std::string devRoot = scratch / "dev";
    const std::string links = scratch / "links";
    std::filesystem::create_directories(devRoot);
    std::filesystem::create_directories(links);
    LinuxDeviceWatcher watcher(devRoot, "");
    if (mapped) watcher.WatchDeviceFolders({links + "/adapter"});
    const std::string folder = mapped ? links : devRoot;

    std::atomic<bool> done{false};
    std::thread writer(MakeAndRemoveFiles, folder, prefix, rate, seconds, std::ref(done));
    long changes = 0;
    long drains = 0;
    double drainCpu = 0;
    const double cpuBefore = ThreadCpuSeconds();
    pollfd wait{watcher.EventHandle(), POLLIN, 0};
    while (true) {
        const bool finished = done.load();
        if (poll(&wait, 1, 100) == 1) {
            const double before = ThreadCpuSeconds();
            changes += watcher.DrainDeviceChanges();
            drainCpu += ThreadCpuSeconds() - before;
            ++drains;
        } else if (finished) {
            break;
        }
    }
    const double loopCpu = ThreadCpuSeconds() - cpuBefore;
    writer.join();

    const auto events = static_cast<double>(watcher.EventsRead());
    std::printf("%s\n", title);
    std::printf("  events read %.0f (%.0f/s), device changes %ld, drains %ld\n", events, events / seconds, changes,
                drains);
    std::printf("  draining: %.1f ms CPU (%.2f%% of one core), %.2f us per event, %.2f us per drain\n",
                drainCpu * 1e3, drainCpu / seconds * 100, events > 0 ? drainCpu / events * 1e6 : 0.0,
                drains > 0 ? drainCpu / static_cast<double>(drains) * 1e6 : 0.0);
    std::printf("  waiting and draining: %.1f ms CPU (%.2f%% of one core)\n", loopCpu * 1e3,
                loopCpu / seconds * 100);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const int rate = argc > 2 ? std::atoi(argv[2]) : 1000;
    if (seconds <= 0 || rate <= 0 || rate > 1'000'000) {
        std::fprintf(stderr, "usage: bench_device_watcher [seconds > 0] [files per second, 1..1000000]\n");
        return 2;
    }
    std::printf("%d files created and removed per second for %.1f s\n", rate, seconds);
    Measure("unrelated names in the device folder (should count 0)", "shm-", false, rate, seconds);
    Measure("serial-looking names in the device folder (every event counts)", "ttyUSB", false, rate, seconds);
    Measure("unrelated names in a mapped device's folder (every event counts)", "data-", true, rate, seconds);
    return 0;
}
