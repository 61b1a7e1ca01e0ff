// Channels without a device get the next present device nobody names yet.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "channels/device_assignment.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

TEST(DeviceAssignment, FreeChannelsTakeTheNextUnnamedDeviceInOrder) {
    struct Case {
        const char* name;
        std::map<int, std::string> named;  // saved Device keys
        std::vector<std::string> present;
        std::map<int, std::string> expected;  // every channel with a device afterwards
        std::vector<int> assigned;
    };
    const Case cases[] = {
        {"nothing present", {}, {}, {}, {}},
        {"two adapters", {}, {"/dev/a", "/dev/b"}, {{1, "/dev/a"}, {2, "/dev/b"}}, {1, 2}},
        {"a named device is skipped and kept",
         {{1, "/dev/b"}},
         {"/dev/a", "/dev/b", "/dev/c"},
         {{1, "/dev/b"}, {2, "/dev/a"}, {3, "/dev/c"}},
         {2, 3}},
        {"a missing named device stays named",
         {{2, "/dev/gone"}},
         {"/dev/a"},
         {{1, "/dev/a"}, {2, "/dev/gone"}},
         {1}},
        {"a device named by a later channel is not given away",
         {{8, "/dev/a"}},
         {"/dev/a", "/dev/b"},
         {{1, "/dev/b"}, {8, "/dev/a"}},
         {1}},
        {"more devices than channels",
         {},
         {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9"},
         {{1, "/1"}, {2, "/2"}, {3, "/3"}, {4, "/4"}, {5, "/5"}, {6, "/6"}, {7, "/7"}, {8, "/8"}},
         {1, 2, 3, 4, 5, 6, 7, 8}},
        {"empty and repeated entries", {}, {"", "/dev/a", "/dev/a"}, {{1, "/dev/a"}}, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelTable table;
        for (const auto& [n, device] : c.named) table.Channels[n].Device = device;
        EXPECT_EQ(c.assigned, AssignDevices(table, c.present));
        for (int n = kFirstChannel; n <= kLastChannel; ++n) {
            auto it = c.expected.find(n);
            EXPECT_EQ(it == c.expected.end() ? "" : it->second, table.Channels[n].Device) << n;
        }
    }
}

TEST(DeviceAssignment, ADeviceNamedThroughAnotherLinkCountsAsTaken) {
    test::ScratchFolder folder;
    const std::string real = folder / "ttyUSB0";
    test::WriteFileBytes(real, "");
    const std::string link = folder / "usb-Adapter-if00";
    std::filesystem::create_symlink(real, link);
    ChannelTable table;
    table.Channels[1].Device = real;
    AssignDevices(table, {link, "/dev/other"});
    EXPECT_EQ("/dev/other", table.Channels[2].Device);
    // Assigned once, a device stays with its channel.
    EXPECT_TRUE(AssignDevices(table, {"/dev/new"}).size() == 1);
    EXPECT_EQ("/dev/other", table.Channels[2].Device);
    EXPECT_EQ("/dev/new", table.Channels[3].Device);
}

}  // namespace
}  // namespace kestrum
