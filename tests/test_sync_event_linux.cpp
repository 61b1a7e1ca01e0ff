// The named sync event between real processes: this process and
// sync_event_probe children, each test in its own runtime folder.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/sync_event_linux.h"
#include "platform/sync_event.h"
#include "support/child_process.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

using namespace std::chrono_literals;

const std::string kProbe = std::string(KESTRUM_TOOLS_DIR) + "/sync_event_probe";
const std::string kName = "analyserSyncEvent";

std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// Whether the process comes to sleep in a futex wait within a few seconds
// (where the kernel hides wait channels, sleeping at all counts).
bool SleepsInFutex(pid_t pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string stat = FirstLine(proc + "/stat");
        const std::size_t paren = stat.rfind(')');
        const std::string wchan = FirstLine(proc + "/wchan");
        if (paren != std::string::npos && paren + 2 < stat.size() && stat[paren + 2] == 'S' &&
            (wchan.find("futex") != std::string::npos || wchan == "0"))
            return true;
        std::this_thread::sleep_for(1ms);
    }
    return false;
}

class SyncEventTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        if (old != nullptr) oldRuntime_ = old;
        ASSERT_FALSE(runtime_.Path().empty());
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    }
    void TearDown() override {
        if (oldRuntime_) setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
        else unsetenv("XDG_RUNTIME_DIR");
    }

    static std::vector<std::string> Probe(const std::string& name, std::vector<std::string> commands) {
        commands.insert(commands.begin(), {kProbe, name});
        return commands;
    }

    // A probe that opened the event and is now asleep in its wait.
    static void ExpectWaiting(test::ChildProcess& child) {
        ASSERT_EQ(child.ReadLine(), "open ok");
        ASSERT_EQ(child.ReadLine(), "waiting");
        ASSERT_TRUE(SleepsInFutex(child.Pid()));
    }

    // The result word of the probe's next wait line ("signalled", "timeout", ...).
    static std::string WaitResultOf(test::ChildProcess& child) {
        const std::string line = child.ReadLine(20s);
        return line.rfind("wait ", 0) == 0 ? line.substr(5, line.find(' ', 5) - 5) : "no result: " + line;
    }

    void Pulse(EventHandle event) {
        ASSERT_TRUE(events_->SetEvent(event));
        ASSERT_TRUE(events_->ResetEvent(event));
    }

    test::TempFolder runtime_;
    std::optional<std::string> oldRuntime_;
    std::unique_ptr<SyncEvents> events_ = CreateSystemSyncEvents();
};

TEST_F(SyncEventTest, APulseWakesEveryWaiterAndLeavesTheEventNotSignalled) {
    const EventHandle master = events_->CreateEvent(kName);
    ASSERT_NE(master, kInvalidEventHandle);
    test::ChildProcess first(Probe(kName, {"open", "wait=60000"}));
    test::ChildProcess second(Probe(kName, {"open", "wait=60000"}));
    ExpectWaiting(first);
    ExpectWaiting(second);
    Pulse(master);
    EXPECT_EQ(WaitResultOf(first), "signalled");
    EXPECT_EQ(WaitResultOf(second), "signalled");
    // A wait after the pulse finds nothing.
    EXPECT_EQ(events_->WaitForSingleObject(master, 0), WaitResult::TimedOut);
}

TEST_F(SyncEventTest, AWaitWithoutPulseTimesOutAfterItsWholeTimeAlsoWhenSignalsInterruptIt) {
    const EventHandle master = events_->CreateEvent(kName);
    ASSERT_NE(master, kInvalidEventHandle);
    EXPECT_EQ(events_->WaitForSingleObject(master, 0), WaitResult::TimedOut);
    test::ChildProcess follower(Probe(kName, {"catch", "open", "wait=600"}));
    ASSERT_EQ(follower.ReadLine(), "catch ok");
    ExpectWaiting(follower);
    for (int i = 0; i < 3; ++i) {
        follower.Signal(SIGUSR1);
        std::this_thread::sleep_for(20ms);
    }
    const std::string line = follower.ReadLine(20s);
    ASSERT_EQ(line.rfind("wait timeout ", 0), 0u) << line;
    const long elapsed = std::stol(line.substr(13));
    EXPECT_GE(elapsed, 600);
    EXPECT_LT(elapsed, 5000);
}

TEST_F(SyncEventTest, OpenWorksOnlyWhileSomeProcessHoldsTheEvent) {
    EXPECT_EQ(events_->OpenEvent(kName), kInvalidEventHandle);

    test::ChildProcess master(Probe(kName, {"create", "hold"}));
    ASSERT_EQ(master.ReadLine(), "create ok");
    const EventHandle follower = events_->OpenEvent(kName);
    ASSERT_NE(follower, kInvalidEventHandle);

    // The follower's handle keeps the event after the master has gone.
    master.CloseStdin();
    master.Wait();
    const EventHandle second = events_->OpenEvent(kName);
    EXPECT_NE(second, kInvalidEventHandle);
    EXPECT_TRUE(events_->CloseHandle(second));
    EXPECT_FALSE(events_->CloseHandle(second));
    EXPECT_TRUE(events_->CloseHandle(follower));

    // Nobody holds it now: the file stays, the event does not.
    EXPECT_TRUE(std::filesystem::exists(SyncEventFilePath(kName)));
    EXPECT_EQ(events_->OpenEvent(kName), kInvalidEventHandle);
}

TEST_F(SyncEventTest, AWaiterKilledMidWaitBlocksNeitherTheMasterNorOtherWaiters) {
    const EventHandle master = events_->CreateEvent(kName);
    ASSERT_NE(master, kInvalidEventHandle);
    test::ChildProcess victim(Probe(kName, {"open", "wait=60000"}));
    test::ChildProcess survivor(Probe(kName, {"open", "wait=60000", "hold", "wait=60000"}));
    ExpectWaiting(victim);
    ExpectWaiting(survivor);
    victim.Signal(SIGKILL);
    victim.Wait();

    Pulse(master);
    EXPECT_EQ(WaitResultOf(survivor), "signalled");
    // Its next wait starts only after the pulse is over.
    survivor.CloseStdin();
    ASSERT_EQ(survivor.ReadLine(), "waiting");
    ASSERT_TRUE(SleepsInFutex(survivor.Pid()));
    Pulse(master);
    EXPECT_EQ(WaitResultOf(survivor), "signalled");
}

TEST_F(SyncEventTest, AfterTheMasterIsKilledFollowersTimeOutAndANewMasterPacesThem) {
    test::ChildProcess master(Probe(kName, {"create", "pulse", "hold"}));
    ASSERT_EQ(master.ReadLine(), "create ok");
    ASSERT_EQ(master.ReadLine(), "pulse ok");
    test::ChildProcess follower(Probe(kName, {"open", "wait=300", "wait=60000"}));
    ASSERT_EQ(follower.ReadLine(), "open ok");
    master.Signal(SIGKILL);
    master.Wait();

    ASSERT_EQ(follower.ReadLine(), "waiting");
    EXPECT_EQ(WaitResultOf(follower), "timeout");
    ASSERT_EQ(follower.ReadLine(), "waiting");
    ASSERT_TRUE(SleepsInFutex(follower.Pid()));
    test::ChildProcess next(Probe(kName, {"create", "pulse", "close"}));
    EXPECT_EQ(next.ReadLine(), "create ok");
    EXPECT_EQ(WaitResultOf(follower), "signalled");
}

TEST_F(SyncEventTest, ANewMasterClearsTheSignalADeadMasterLeft) {
    for (const bool followerStays : {false, true}) {
        SCOPED_TRACE(followerStays ? "a follower holds the event" : "nobody holds the event");
        test::ChildProcess master(Probe(kName, {"create", "set", "hold"}));
        ASSERT_EQ(master.ReadLine(), "create ok");
        ASSERT_EQ(master.ReadLine(), "set ok");
        const EventHandle follower = followerStays ? events_->OpenEvent(kName) : kInvalidEventHandle;
        master.Signal(SIGKILL);
        master.Wait();

        const EventHandle next = events_->CreateEvent(kName);
        ASSERT_NE(next, kInvalidEventHandle);
        EXPECT_EQ(events_->WaitForSingleObject(next, 0), WaitResult::TimedOut);
        if (followerStays) {
            EXPECT_EQ(events_->WaitForSingleObject(follower, 0), WaitResult::TimedOut);
            EXPECT_TRUE(events_->SetEvent(next));
            EXPECT_EQ(events_->WaitForSingleObject(follower, 0), WaitResult::Signalled);
            EXPECT_TRUE(events_->CloseHandle(follower));
        }
        EXPECT_TRUE(events_->CloseHandle(next));
    }
}

TEST_F(SyncEventTest, SetWithoutResetKeepsTheEventSignalled) {
    const EventHandle master = events_->CreateEvent(kName);
    ASSERT_NE(master, kInvalidEventHandle);
    ASSERT_TRUE(events_->SetEvent(master));
    test::ChildProcess follower(Probe(kName, {"open", "wait=60000", "wait=60000"}));
    ASSERT_EQ(follower.ReadLine(), "open ok");
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(follower.ReadLine(), "waiting");
        EXPECT_EQ(WaitResultOf(follower), "signalled");
    }
    ASSERT_TRUE(events_->ResetEvent(master));
    test::ChildProcess late(Probe(kName, {"open", "wait=200"}));
    ASSERT_EQ(late.ReadLine(), "open ok");
    ASSERT_EQ(late.ReadLine(), "waiting");
    EXPECT_EQ(WaitResultOf(late), "timeout");
}

TEST_F(SyncEventTest, EventsOfDifferentProgramFilesDoNotMeet) {
    const EventHandle a = events_->CreateEvent("aSyncEvent");
    ASSERT_NE(a, kInvalidEventHandle);
    EXPECT_EQ(events_->OpenEvent("bSyncEvent"), kInvalidEventHandle);
    const EventHandle b = events_->CreateEvent("bSyncEvent");
    ASSERT_NE(b, kInvalidEventHandle);
    test::ChildProcess follower(Probe("bSyncEvent", {"open", "wait=500"}));
    ExpectWaiting(follower);
    Pulse(a);
    EXPECT_EQ(WaitResultOf(follower), "timeout");
}

TEST_F(SyncEventTest, InvalidHandlesAndNamesFail) {
    EXPECT_FALSE(events_->SetEvent(kInvalidEventHandle));
    EXPECT_FALSE(events_->ResetEvent(12345));
    EXPECT_EQ(events_->WaitForSingleObject(kInvalidEventHandle, 0), WaitResult::Failed);
    EXPECT_EQ(events_->WaitForSingleObject(12345, kInfiniteWait), WaitResult::Failed);
    EXPECT_FALSE(events_->CloseHandle(kInvalidEventHandle));
    EXPECT_EQ(events_->CreateEvent(""), kInvalidEventHandle);
    EXPECT_EQ(events_->CreateEvent("a/b"), kInvalidEventHandle);
    EXPECT_EQ(events_->OpenEvent("../x"), kInvalidEventHandle);
}

// Things in the event file's place that are not an event: neither create
// nor open may use them, and they are left as they were.
TEST_F(SyncEventTest, WhatIsNotAnEventFailsCleanlyAndIsLeftAlone) {
    const std::string path = SyncEventFilePath(kName);
    struct Case {
        const char* name;
        void (*make)(const std::string& path);
    };
    const Case cases[] = {
        {"folder", [](const std::string& p) { std::filesystem::create_directory(p); }},
        {"fifo", [](const std::string& p) { mkfifo(p.c_str(), 0600); }},
        {"link to an event", [](const std::string& p) { std::filesystem::create_symlink(p + "-real", p); }},
        {"short file", [](const std::string& p) { test::WriteFileBytes(p, std::string(8, '\0')); }},
        {"long file", [](const std::string& p) { test::WriteFileBytes(p, std::string(17, '\0')); }},
        {"foreign content", [](const std::string& p) { test::WriteFileBytes(p, "0123456789abcdef"); }},
    };
    // The link's target is a live event.
    const EventHandle real = events_->CreateEvent(kName + "-real");
    ASSERT_NE(real, kInvalidEventHandle);
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        row.make(path);
        const auto Content = [&] {
            return std::filesystem::is_regular_file(path) ? test::ReadFileBytes(path) : std::string();
        };
        const std::string before = Content();
        const auto type = std::filesystem::symlink_status(path).type();
        EXPECT_EQ(events_->OpenEvent(kName), kInvalidEventHandle);
        EXPECT_EQ(events_->CreateEvent(kName), kInvalidEventHandle);
        EXPECT_EQ(Content(), before);
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type);
        std::filesystem::remove(path);
    }
}

TEST_F(SyncEventTest, AnEmptyFileLeftByACrashIsMadeAnEvent) {
    test::WriteFileBytes(SyncEventFilePath(kName), "");
    EXPECT_EQ(events_->OpenEvent(kName), kInvalidEventHandle);
    const EventHandle master = events_->CreateEvent(kName);
    ASSERT_NE(master, kInvalidEventHandle);
    EXPECT_EQ(std::filesystem::file_size(SyncEventFilePath(kName)), kSyncEventFileBytes);
    EXPECT_NE(events_->OpenEvent(kName), kInvalidEventHandle);
}

TEST_F(SyncEventTest, AnUnreadableFileFailsCleanly) {
    const EventHandle master = events_->CreateEvent(kName);
    ASSERT_NE(master, kInvalidEventHandle);
    ASSERT_EQ(chmod(SyncEventFilePath(kName).c_str(), 0), 0);
    // Root reads anything: the probe then runs as an unprivileged user, who
    // may enter the folder but not read the file.
    std::vector<std::string> argv = {kProbe};
    if (geteuid() == 0) {
        ASSERT_EQ(chmod(runtime_.Path().c_str(), 0755), 0);
        argv.insert(argv.end(), {"--user", "65534:65534"});
    }
    argv.insert(argv.end(), {kName, "open", "create"});
    test::ChildProcess probe(argv);
    EXPECT_EQ(probe.ReadLine(), "open failed");
    EXPECT_EQ(probe.ReadLine(), "create failed");
}

}  // namespace
}  // namespace kestrum
