// Pacing between real instances: sender_instance_gui processes (the real
// window, timers, sync event and ports) sending through pseudo-terminals,
// read at the other end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "support/child_process.h"
#include "support/line_arrivals.h"
#include "support/pseudo_terminal.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;
using test::LineArrivals;
using test::PseudoTerminal;
using test::ScratchFolder;
using Time = LineArrivals::Time;

const std::string kTool = std::string(KESTRUM_TOOLS_DIR) + "/sender_instance_gui";
constexpr auto kTolerance = 25ms;  // between the two line starts; the benchmark measures it

class SenderInstances : public ::testing::Test {
protected:
    enum Port { kMaster = 0, kFollower = 1 };

    void SetUp() override {
        signal(SIGPIPE, SIG_IGN);
        std::filesystem::create_directories(folder_ / "runtime");
        std::filesystem::permissions(folder_ / "runtime", std::filesystem::perms::owner_all);
        // 4 lines every 50 ms: a pass takes 200 ms.
        const std::string common = "[General]\nMonitorMode=0\nSenderModeAutoRepeat=1\n[SenderMode]\n"
                                   "SenderChannel=1\nTxTimeInterval=50\nSynchronize=1\n[COM1]\nDevice=";
        test::WriteFileBytes(Settings("master"), common + master_.Path + "\n");
        test::WriteFileBytes(Settings("follower"), common + follower_.Path + "\n");
        arrivals_ = std::make_unique<LineArrivals>(std::vector<int>{master_.Master, follower_.Master});
    }

    std::string Settings(const std::string& who) const {
        return folder_ / (who + "/Tannbrook/sender_instance_gui/sender_instance_gui.ini");
    }

    std::unique_ptr<ChildProcess> Launch(const std::string& who, int expectedNumber) {
        auto child = std::make_unique<ChildProcess>(
            std::vector<std::string>{kTool, "4"},
            std::vector<std::string>{"XDG_CONFIG_HOME=" + (folder_ / who), "XDG_RUNTIME_DIR=" + (folder_ / "runtime"),
                                     "QT_QPA_PLATFORM=offscreen"});
        EXPECT_EQ(child->ReadLine(), "instance " + std::to_string(expectedNumber)) << who;
        return child;
    }

    static void Start(ChildProcess& child) {
        child.WriteLine("start");
        EXPECT_EQ(child.ReadLine(), "started");
    }

    static bool Quit(ChildProcess& child) {
        child.WriteLine("quit");
        const auto begin = std::chrono::steady_clock::now();
        const int status = child.Wait();
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 && std::chrono::steady_clock::now() - begin < 3s;
    }

    // The pass starts (line L0) of a port between two moments.
    std::vector<Time> PassStarts(Port port, Time from, Time to) const {
        std::vector<Time> starts;
        for (Time at : arrivals_->TimesOf(port, "L0"))
            if (at >= from && at <= to) starts.push_back(at);
        return starts;
    }

    // Every follower pass start between the moments comes with one of the
    // master's; returns how many there were.
    std::size_t PacedPassStarts(Time from, Time to) const {
        const std::vector<Time> masters = arrivals_->TimesOf(kMaster, "L0");
        std::size_t paced = 0;
        for (Time follower : PassStarts(kFollower, from, to)) {
            const bool together = std::any_of(masters.begin(), masters.end(), [&](Time master) {
                return follower - master < kTolerance && master - follower < kTolerance;
            });
            EXPECT_TRUE(together) << "a follower pass started on its own";
            paced += together;
        }
        return paced;
    }

    ScratchFolder folder_;
    PseudoTerminal master_{true}, follower_{true};
    std::unique_ptr<LineArrivals> arrivals_;
};

TEST_F(SenderInstances, TheFollowerStartsEachPassWithTheMaster) {
    auto master = Launch("master", 1);
    auto follower = Launch("follower", 2);
    Start(*follower);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(arrivals_->CountOf(kFollower), 0u) << "it waits for the master";
    const Time started = std::chrono::steady_clock::now();
    Start(*master);
    std::this_thread::sleep_for(1300ms);
    const Time end = std::chrono::steady_clock::now();
    EXPECT_TRUE(Quit(*follower));
    EXPECT_TRUE(Quit(*master));

    EXPECT_GE(PacedPassStarts(started, end), 4u);
    // Whole passes, in order.
    std::vector<std::string> sent;
    for (const auto& line : arrivals_->Lines())
        if (line.Port == kFollower) sent.push_back(line.Text);
    ASSERT_GE(sent.size(), 8u);
    for (std::size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i], "L" + std::to_string(i % 4)) << i;
}

TEST_F(SenderInstances, AFollowerFirstThenAMasterThatDiesAndComesBack) {
    // Number 1 is taken by someone who makes no event: the follower starts
    // before any master.
    const std::string lock = folder_ / "runtime/sender_instance_gui1.lock";
    const int holder = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    auto follower = Launch("follower", 2);
    ::close(holder);
    Start(*follower);
    std::this_thread::sleep_for(450ms);
    EXPECT_GE(arrivals_->CountOf(kFollower), 4u) << "without a master it sends on its own";

    auto master = Launch("master", 1);
    const Time masterStarted = std::chrono::steady_clock::now();
    Start(*master);
    std::this_thread::sleep_for(1300ms);
    // After at most one pass of its own the follower keeps pace.
    EXPECT_GE(PacedPassStarts(masterStarted + 450ms, std::chrono::steady_clock::now()), 3u);

    master->Signal(SIGKILL);
    master->Wait();
    const Time killed = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(900ms);
    follower->WriteLine("ping");
    EXPECT_EQ(follower->ReadLine(500ms), "pong") << "the waiting follower's window answers";
    EXPECT_TRUE(PassStarts(kFollower, killed + 250ms, std::chrono::steady_clock::now()).empty())
        << "no pass without the master";

    auto again = Launch("master", 1);
    const Time againStarted = std::chrono::steady_clock::now();
    Start(*again);
    std::this_thread::sleep_for(1300ms);
    const Time end = std::chrono::steady_clock::now();
    EXPECT_TRUE(Quit(*follower)) << "a waiting follower closes at once";
    EXPECT_TRUE(Quit(*again));
    EXPECT_GE(PacedPassStarts(againStarted, end), 4u);
}

}  // namespace
}  // namespace kestrum
