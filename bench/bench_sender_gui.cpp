// Sender mode's timing as a device at the other end of the line sees it:
// real instances of the program (this program started again with
// --instance) sending through pseudo-terminals, read on a thread that notes
// when each line arrives.
// - Interval accuracy: one instance sending a one-line protocol over and
//   over at 10 ms and at 100 ms; the error of each spacing between two
//   lines, and of each line against the grid of whole intervals from the
//   first (drift), as mean, 99th percentile and maximum.
// - Master and follower: the offset between the master's and the follower's
//   pass starts (4 lines at 20 ms).
//   bench_sender_gui [ticks, default 1000] [passes, default 100]
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"
#include "support/line_arrivals.h"
#include "support/pseudo_terminal.h"
#include "support/scratch_folder.h"
#include "support/sender_instance.h"

namespace {

using namespace std::chrono_literals;
using kestrum::test::ChildProcess;
using kestrum::test::LineArrivals;
using kestrum::test::PseudoTerminal;
using kestrum::test::ScratchFolder;

std::string self;

struct Figures {
    double Mean = 0, P99 = 0, Max = 0;
};

Figures Of(std::vector<double> values) {
    Figures f;
    if (values.empty()) return f;
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double v : values) sum += v;
    f.Mean = sum / static_cast<double>(values.size());
    f.P99 = values[std::min(values.size() - 1, static_cast<std::size_t>(0.99 * static_cast<double>(values.size())))];
    f.Max = values.back();
    return f;
}

double Ms(LineArrivals::Time::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

class Instances {
public:
    Instances() {
        std::filesystem::create_directories(folder_ / "runtime");
        std::filesystem::permissions(folder_ / "runtime", std::filesystem::perms::owner_all);
    }
    // An instance named `who` sending through `port`.
    std::unique_ptr<ChildProcess> Launch(const std::string& who, const PseudoTerminal& port, int lines,
                                         int intervalMs) {
        const std::string name = std::filesystem::path(self).filename().string();
        kestrum::test::WriteFileBytes(
            folder_ / (who + "/Tannbrook/" + name + "/" + name + ".ini"),
            "[General]\nMonitorMode=0\nSenderModeAutoRepeat=1\nAppendCrChar=0\n[SenderMode]\nSenderChannel=1\n"
            "TxTimeInterval=" + std::to_string(intervalMs) + "\nSynchronize=1\n[COM1]\nDevice=" + port.Path + "\n");
        auto child = std::make_unique<ChildProcess>(
            std::vector<std::string>{self, "--instance", std::to_string(lines)},
            std::vector<std::string>{"XDG_CONFIG_HOME=" + (folder_ / who), "XDG_RUNTIME_DIR=" + (folder_ / "runtime"),
                                     "QT_QPA_PLATFORM=offscreen"});
        if (child->ReadLine().rfind("instance", 0) != 0) std::printf("%s did not start\n", who.c_str());
        return child;
    }

private:
    ScratchFolder folder_;
};

void Start(ChildProcess& child) {
    child.WriteLine("start");
    child.ReadLine();
}

void Quit(ChildProcess& child) {
    child.WriteLine("quit");
    child.Wait();
}

void IntervalAccuracy(int intervalMs, int ticks) {
    Instances instances;
    PseudoTerminal port(true);
    LineArrivals arrivals({port.Master});
    auto instance = instances.Launch("one", port, 1, intervalMs);
    Start(*instance);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(intervalMs) * (ticks + 1) * 3 / 2 + 3s;
    while (arrivals.CountOf(0) < static_cast<std::size_t>(ticks + 1) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    Quit(*instance);
    const auto lines = arrivals.Lines();
    if (lines.size() < 2) {
        std::printf("interval %d ms: no lines arrived\n", intervalMs);
        return;
    }
    const std::size_t n = std::min(lines.size(), static_cast<std::size_t>(ticks + 1));
    std::vector<double> spacing, grid;
    for (std::size_t k = 1; k < n; ++k) {
        spacing.push_back(std::fabs(Ms(lines[k].At - lines[k - 1].At) - intervalMs));
        grid.push_back(std::fabs(Ms(lines[k].At - lines[0].At) - static_cast<double>(k) * intervalMs));
    }
    const double rate = static_cast<double>(n - 1) / (Ms(lines[n - 1].At - lines[0].At) / 1000.0);
    const Figures s = Of(spacing), g = Of(grid);
    std::printf("interval %d ms, %zu ticks: %.1f lines/s\n", intervalMs, n - 1, rate);
    std::printf("  spacing error  mean %.3f ms  p99 %.3f ms  max %.3f ms\n", s.Mean, s.P99, s.Max);
    std::printf("  drift from the grid  mean %.3f ms  p99 %.3f ms  max %.3f ms  last %.3f ms\n", g.Mean, g.P99, g.Max,
                grid.back());
}

void MasterFollowerOffset(int passes) {
    constexpr int kLines = 4, kInterval = 20;
    Instances instances;
    PseudoTerminal masterPort(true), followerPort(true);
    LineArrivals arrivals({masterPort.Master, followerPort.Master});
    auto master = instances.Launch("master", masterPort, kLines, kInterval);
    auto follower = instances.Launch("follower", followerPort, kLines, kInterval);
    Start(*follower);
    Start(*master);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kLines * kInterval) * passes * 2 + 3s;
    while (arrivals.TimesOf(1, "L0").size() < static_cast<std::size_t>(passes) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    Quit(*follower);
    Quit(*master);
    const auto masters = arrivals.TimesOf(0, "L0");
    std::vector<double> offsets;
    for (const auto& f : arrivals.TimesOf(1, "L0")) {
        double best = 1e9;
        for (const auto& m : masters) best = std::min(best, std::fabs(Ms(f - m)));
        offsets.push_back(best);
    }
    const Figures o = Of(offsets);
    std::printf("master and follower, %zu passes of %d lines at %d ms:\n", offsets.size(), kLines, kInterval);
    std::printf("  pass start offset  mean %.3f ms  p99 %.3f ms  max %.3f ms\n", o.Mean, o.P99, o.Max);
}

}  // namespace

int main(int argc, char** argv) {
    self = std::filesystem::canonical("/proc/self/exe").string();
    if (argc > 2 && std::string(argv[1]) == "--instance")
        return kestrum::test::RunSenderInstance(argc, argv, std::atoi(argv[2]));
    signal(SIGPIPE, SIG_IGN);
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int passes = argc > 2 ? std::atoi(argv[2]) : 100;
    IntervalAccuracy(10, ticks);
    IntervalAccuracy(100, ticks);
    MasterFollowerOffset(passes);
    return 0;
}
