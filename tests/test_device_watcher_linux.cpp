// The device watcher against real folders: links to pseudo-terminals made and
// removed in scratch folders that stand in for /dev, /dev/serial/by-id and a
// mapped device's folder. Which names count in which folder, the handle's
// readiness, folders that appear late or are deleted and made again, and
// the set of mapped folders being replaced.
#include <poll.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/device_event_filter.h"
#include "platform/linux/device_watcher_linux.h"
#include "support/pseudo_terminal.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;

struct FilterCase {
    const char* name;
    unsigned roles;
    const char* entry;
    DeviceFileNames mapped;
    bool counts;
};

TEST(DeviceEventFilter, CountsOnlyEntriesThatCanMatter) {
    const FilterCase cases[] = {
        {"USB adapter in the device folder", kDeviceRootFolder, "ttyUSB0", {}, true},
        {"built-in port in the device folder", kDeviceRootFolder, "ttyS3", {}, true},
        {"bluetooth port in the device folder", kDeviceRootFolder, "rfcomm1", {}, true},
        {"infrared port in the device folder", kDeviceRootFolder, "ircomm0", {}, true},
        {"disk in the device folder", kDeviceRootFolder, "sda1", {}, false},
        {"tty inside a name", kDeviceRootFolder, "mytty0", {}, false},
        {"prefix cut short", kDeviceRootFolder, "tt", {}, false},
        {"names are case-sensitive", kDeviceRootFolder, "TTYUSB0", {}, false},
        {"mapped name in the device folder", kDeviceRootFolder, "gps0", {"gps0"}, true},
        {"other name beside a mapped one", kDeviceRootFolder, "gps1", {"gps0"}, false},
        {"device folder that is also mapped stays filtered", kDeviceRootFolder | kDeviceLinksFolder, "sda1", {},
         false},
        {"any entry in a links folder", kDeviceLinksFolder, "usb-Vendor_Adapter-if00-port0", {}, true},
        {"the folder itself", kDeviceRootFolder | kDeviceLinksFolder, "", {}, false},
        {"awaited parent only", kAwaitedParentFolder, "ttyUSB0", {}, false},
        {"awaited parent that is also a links folder", kAwaitedParentFolder | kDeviceLinksFolder, "x", {}, true},
    };
    for (const FilterCase& c : cases) {
        EXPECT_EQ(c.counts, CountsAsDeviceChange(c.roles, c.entry, c.mapped)) << c.name;
    }
}

bool Readable(const DeviceWatcher& watcher, int timeoutMs) {
    pollfd wait{watcher.EventHandle(), POLLIN, 0};
    return poll(&wait, 1, timeoutMs) == 1 && (wait.revents & POLLIN) != 0;
}

// inotify queues an event before the call that caused it returns: no waiting.
int ChangesNow(DeviceWatcher& watcher) {
    if (!Readable(watcher, 0)) return 0;
    return watcher.DrainDeviceChanges();
}

class DeviceWatcherTest : public ::testing::Test {
protected:
    DeviceWatcherTest() { fs::create_directories(devRoot); }

    void Link(const std::string& linkPath) { fs::create_symlink(pty.Path, linkPath); }

    test::ScratchFolder scratch;
    const std::string devRoot = scratch / "dev";
    test::PseudoTerminal pty;
};

TEST_F(DeviceWatcherTest, LinkRemovedAndMadeAgainInAMappedFolderIsSeen) {
    // The mapped device is a link to a link: its own folder is watched, not
    // the folder the first link leads to.
    const std::string links = scratch / "links";
    const std::string targets = scratch / "targets";
    fs::create_directories(links);
    fs::create_directories(targets);
    Link(targets + "/port");
    fs::create_symlink(targets + "/port", links + "/adapter");
    LinuxDeviceWatcher watcher(devRoot, "");
    watcher.WatchDeviceFolders({links + "/adapter"});
    EXPECT_EQ(0, watcher.DrainDeviceChanges());

    fs::remove(links + "/adapter");
    EXPECT_EQ(1, ChangesNow(watcher)) << "removed";
    fs::create_symlink(targets + "/port", links + "/adapter");
    EXPECT_EQ(1, ChangesNow(watcher)) << "made again";
    test::WriteFileBytes(targets + "/unrelated", "x");
    EXPECT_FALSE(Readable(watcher, 20)) << "the link target's folder is not watched";
    EXPECT_EQ(0, watcher.DrainDeviceChanges());
}

TEST_F(DeviceWatcherTest, HandleIsReadableOnlyWhileEventsArePending) {
    LinuxDeviceWatcher watcher(devRoot, "");
    ASSERT_GE(watcher.EventHandle(), 0);
    EXPECT_FALSE(Readable(watcher, 20)) << "nothing happened yet";

    Link(devRoot + "/ttyUSB0");
    EXPECT_TRUE(Readable(watcher, 0)) << "after an event";
    EXPECT_EQ(1, watcher.DrainDeviceChanges());
    EXPECT_FALSE(Readable(watcher, 20)) << "after draining";
    EXPECT_EQ(0, watcher.DrainDeviceChanges()) << "drained twice";
}

TEST_F(DeviceWatcherTest, DeviceFolderCountsSerialAndMappedNamesOnly) {
    LinuxDeviceWatcher watcher(devRoot, "");
    // Mapping a device in the device folder itself does not make every entry
    // count there, only the mapped name.
    watcher.WatchDeviceFolders({devRoot + "/gps0"});
    EXPECT_EQ(0, watcher.DrainDeviceChanges());

    test::WriteFileBytes(devRoot + "/sda1", "");
    fs::create_directories(devRoot + "/snd");
    test::WriteFileBytes(devRoot + "/snd/pcmC0D0p", "");  // a subfolder reports nothing
    fs::remove(devRoot + "/sda1");
    EXPECT_EQ(0, ChangesNow(watcher)) << "unrelated names";

    Link(devRoot + "/ttyACM0");
    Link(devRoot + "/gps0");
    EXPECT_EQ(2, ChangesNow(watcher)) << "serial name and mapped name";
    test::WriteFileBytes(devRoot + "/ttyS9", "");
    EXPECT_EQ(1, ChangesNow(watcher)) << "a serial device made";
    fs::permissions(devRoot + "/ttyS9", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::replace);
    EXPECT_EQ(1, ChangesNow(watcher)) << "its owner or mode set";
    fs::permissions(devRoot + "/ttyACM0", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::replace);
    EXPECT_EQ(0, ChangesNow(watcher)) << "the mode set through the link lands in the target's folder";
    fs::rename(devRoot + "/ttyACM0", devRoot + "/ttyACM1");
    EXPECT_EQ(2, ChangesNow(watcher)) << "moved out and in";
}

TEST_F(DeviceWatcherTest, AdapterLinksFolderIsTakenUpWhenItAppearsAndAgainAfterItWasDeleted) {
    LinuxDeviceWatcher watcher(devRoot, "");
    const std::string byId = devRoot + "/serial/by-id";
    // A channel mapped to an adapter's link: the links folder is also its
    // mapped folder, and still counts once when it appears.
    watcher.WatchDeviceFolders({byId + "/usb-Vendor_Adapter-if00-port0"});

    fs::create_directories(devRoot + "/serial");
    EXPECT_EQ(0, ChangesNow(watcher)) << "its parent appeared";
    fs::create_directories(byId);
    EXPECT_EQ(1, ChangesNow(watcher)) << "the links folder appeared";
    Link(byId + "/usb-Vendor_Adapter-if00-port0");
    EXPECT_EQ(1, ChangesNow(watcher)) << "a link in it";

    fs::remove_all(devRoot + "/serial");
    EXPECT_EQ(2, ChangesNow(watcher)) << "the link and the folder deleted";
    fs::create_directories(byId);  // both levels before the next drain
    EXPECT_EQ(1, ChangesNow(watcher)) << "made again";
    Link(byId + "/usb-Other_Adapter-if00-port0");
    EXPECT_EQ(1, ChangesNow(watcher)) << "a link in the new folder";
}

TEST_F(DeviceWatcherTest, MappedFolderThatDoesNotExistYetIsTakenUp) {
    const std::string folder = scratch / "later/deeper";
    LinuxDeviceWatcher watcher(devRoot, "");
    watcher.WatchDeviceFolders({folder + "/adapter"});
    EXPECT_EQ(0, watcher.DrainDeviceChanges());

    test::WriteFileBytes(scratch / "unrelated", "");
    fs::create_directories(scratch / "elsewhere");
    EXPECT_EQ(0, ChangesNow(watcher)) << "other entries beside the awaited folder";
    fs::create_directories(scratch / "later");
    EXPECT_EQ(0, ChangesNow(watcher)) << "its parent appeared";
    fs::create_directories(folder);
    EXPECT_EQ(1, ChangesNow(watcher)) << "the folder appeared";
    Link(folder + "/adapter");
    EXPECT_EQ(1, ChangesNow(watcher)) << "the device appeared in it";
}

TEST_F(DeviceWatcherTest, DeletedAndRecreatedMappedFolderKeepsWorking) {
    const std::string links = scratch / "links";
    fs::create_directories(links);
    Link(links + "/adapter");
    LinuxDeviceWatcher watcher(devRoot, "");
    watcher.WatchDeviceFolders({links + "/adapter"});

    fs::remove_all(links);
    EXPECT_EQ(2, ChangesNow(watcher)) << "the link and the folder deleted";
    fs::create_directories(links);
    EXPECT_EQ(1, ChangesNow(watcher)) << "the folder made again";
    Link(links + "/adapter");
    EXPECT_EQ(1, ChangesNow(watcher)) << "the link made again";

    // Moved away: the watch would follow it to its new name.
    fs::rename(links, scratch / "moved");
    EXPECT_EQ(1, ChangesNow(watcher)) << "the folder moved away";
    fs::remove(scratch / "moved/adapter");
    EXPECT_EQ(0, ChangesNow(watcher)) << "the moved folder is not watched";
    fs::create_directories(links);
    EXPECT_EQ(1, ChangesNow(watcher)) << "the folder made again";
}

TEST_F(DeviceWatcherTest, ReplacedMappedFoldersAreWatchedAndTheOldOnesNoLonger) {
    const std::string first = scratch / "first";
    const std::string second = scratch / "second";
    fs::create_directories(first);
    fs::create_directories(second);
    LinuxDeviceWatcher watcher(devRoot, "");
    watcher.WatchDeviceFolders({first + "/a", "", first + "/b"});
    Link(first + "/a");
    EXPECT_EQ(1, ChangesNow(watcher));

    watcher.WatchDeviceFolders({second + "/c"});
    Link(first + "/b");
    EXPECT_EQ(0, ChangesNow(watcher)) << "old folder";
    Link(second + "/c");
    EXPECT_EQ(1, ChangesNow(watcher)) << "new folder";

    watcher.WatchDeviceFolders({});
    fs::remove(second + "/c");
    EXPECT_EQ(0, ChangesNow(watcher)) << "no mapped folders";
}

TEST_F(DeviceWatcherTest, UdevMonitorOnlyWhereTheDaemonRuns) {
    EXPECT_FALSE(LinuxDeviceWatcher(devRoot, "").ListensToUdev()) << "no control path";
    EXPECT_FALSE(LinuxDeviceWatcher(devRoot, scratch / "no-control").ListensToUdev()) << "no daemon";

    test::WriteFileBytes(scratch / "control", "");
    LinuxDeviceWatcher watcher(devRoot, scratch / "control");
    if (!watcher.ListensToUdev()) GTEST_SKIP() << "built without libudev, or no netlink socket here";
    EXPECT_FALSE(Readable(watcher, 20)) << "the monitor adds no readiness of its own";
    Link(devRoot + "/ttyUSB0");
    EXPECT_EQ(1, ChangesNow(watcher)) << "folder events come through the merged handle";
}

TEST(SystemDeviceWatcher, HasAHandle) {
    const auto watcher = CreateSystemDeviceWatcher();
    ASSERT_NE(nullptr, watcher);
    EXPECT_GE(watcher->EventHandle(), 0);
}

}  // namespace
}  // namespace kestrum
