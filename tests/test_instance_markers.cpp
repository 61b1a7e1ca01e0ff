// Instance numbers between real processes, through the lock-file markers.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/instance_number.h"
#include "platform/instance_markers.h"
#include "support/child_process.h"

namespace kestrum {
namespace {

const std::string kHolder = std::string(KESTRUM_TOOLS_DIR) + "/instance_holder";

// Every test gets its own runtime folder, for itself and its children.
class InstanceMarkersTest : public ::testing::Test {
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

    // Starts a holder and returns the numbers it took.
    static std::vector<int> Numbers(test::ChildProcess& holder) {
        std::vector<int> numbers;
        for (std::string line = holder.ReadLine(); !line.empty() && line != "ready";
             line = holder.ReadLine())
            numbers.push_back(std::atoi(line.c_str()));
        return numbers;
    }
    static int Start(test::ChildProcess& holder) {
        const std::vector<int> numbers = Numbers(holder);
        return numbers.size() == 1 ? numbers[0] : -1;
    }

    test::TempFolder runtime_;
    std::optional<std::string> oldRuntime_;
};

TEST_F(InstanceMarkersTest, FirstGetsOneSecondGetsTwoAndAFreedNumberIsReused) {
    test::ChildProcess first({kHolder, "analyser"});
    EXPECT_EQ(Start(first), 1);
    test::ChildProcess second({kHolder, "analyser"});
    EXPECT_EQ(Start(second), 2);
    EXPECT_TRUE(std::filesystem::exists(runtime_.Path() + "/analyser1.lock"));

    // The first ends normally; number 1 is free at once although the second
    // instance probed it.
    first.CloseStdin();
    EXPECT_EQ(WEXITSTATUS(first.Wait()), 0);
    test::ChildProcess third({kHolder, "analyser"});
    EXPECT_EQ(Start(third), 1);
    test::ChildProcess fourth({kHolder, "analyser"});
    EXPECT_EQ(Start(fourth), 3);
}

TEST_F(InstanceMarkersTest, DifferentProgramNamesBothGetOne) {
    test::ChildProcess a({kHolder, "a"});
    test::ChildProcess b({kHolder, "b"});
    EXPECT_EQ(Start(a), 1);
    EXPECT_EQ(Start(b), 1);
}

TEST_F(InstanceMarkersTest, AKilledInstanceFreesItsNumber) {
    test::ChildProcess master({kHolder, "crashy"});
    ASSERT_EQ(Start(master), 1);
    test::ChildProcess second({kHolder, "crashy"});
    ASSERT_EQ(Start(second), 2);
    master.Signal(SIGKILL);
    master.Wait();
    test::ChildProcess next({kHolder, "crashy"});
    EXPECT_EQ(Start(next), 1);
}

TEST_F(InstanceMarkersTest, The257thInstanceGetsZeroAndRunsOn) {
    test::ChildProcess crowd({kHolder, "crowded", "256"});
    const std::vector<int> numbers = Numbers(crowd);
    ASSERT_EQ(numbers.size(), 256u);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(numbers[i], i + 1);

    auto markers = CreateSystemInstanceMarkers();
    InstanceInfo extra = AcquireInstanceNumber(*markers, "crowded");
    EXPECT_EQ(extra.Number, 0);
    EXPECT_FALSE(extra.IsMaster);
    EXPECT_EQ(extra.InstanceMutex, kInvalidMarkerHandle);

    // Once the crowd is gone this process is the master.
    crowd.CloseStdin();
    crowd.Wait();
    InstanceInfo later = AcquireInstanceNumber(*markers, "crowded");
    EXPECT_EQ(later.Number, 1);
    EXPECT_TRUE(later.IsMaster);
    ReleaseInstanceMutex(*markers, later);
}

TEST_F(InstanceMarkersTest, MarkersInOneProcessConflictAndCloseFreesThem) {
    auto markers = CreateSystemInstanceMarkers();
    bool exists = true;
    const MarkerHandle own = markers->CreateMutex("self1", exists);
    ASSERT_NE(own, kInvalidMarkerHandle);
    EXPECT_FALSE(exists);
    const MarkerHandle probe = markers->CreateMutex("self1", exists);
    EXPECT_TRUE(exists);
    EXPECT_TRUE(markers->CloseHandle(probe));
    EXPECT_TRUE(markers->ReleaseMutex(own));
    EXPECT_TRUE(markers->CloseHandle(own));
    const MarkerHandle again = markers->CreateMutex("self1", exists);
    EXPECT_FALSE(exists);
    EXPECT_TRUE(markers->CloseHandle(again));
    EXPECT_FALSE(markers->CloseHandle(kInvalidMarkerHandle));
}

TEST_F(InstanceMarkersTest, UnusableNamesCountAsNewWithAnInvalidHandle) {
    auto markers = CreateSystemInstanceMarkers();
    bool exists = true;
    EXPECT_EQ(markers->CreateMutex("a/b", exists), kInvalidMarkerHandle);
    EXPECT_FALSE(exists);
    EXPECT_EQ(markers->CreateMutex("", exists), kInvalidMarkerHandle);
    EXPECT_FALSE(exists);
}

TEST_F(InstanceMarkersTest, WithoutRuntimeFolderAPrivateTmpFolderIsUsed) {
    const std::string name = "kestrum-test-" + std::to_string(getpid());
    test::ChildProcess holder({kHolder, name}, {"XDG_RUNTIME_DIR="});
    ASSERT_EQ(Start(holder), 1);
    const std::string folder = "/tmp/kestrum-" + std::to_string(getuid());
    const std::string lock = folder + "/" + name + "1.lock";
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(std::filesystem::exists(lock));
    EXPECT_FALSE(std::filesystem::exists(runtime_.Path() + "/" + name + "1.lock"));
    holder.CloseStdin();
    holder.Wait();
    std::filesystem::remove(lock);
}

}  // namespace
}  // namespace kestrum
