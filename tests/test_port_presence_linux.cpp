// An open port's presence on real pseudo-terminals: tested without closing
// it, gone when its link points elsewhere or is removed, and when its line
// hangs up (the other side closed) once its last bytes are read.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "channels/port_operations.h"
#include "platform/linux/serial_ports_linux.h"
#include "support/pseudo_terminal.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using test::PseudoTerminal;

// COM3 mapped to a link to a pseudo-terminal, open.
struct OpenLinkedPort {
    PseudoTerminal pty{true};
    PseudoTerminal other{true};
    test::ScratchFolder folder;
    std::string link = folder / "usb-adapter";
    LinuxSerialPorts ports;
    ChannelTable table;
    ChannelRecord& channel = table.Channels[3];

    OpenLinkedPort() {
        fs::create_symlink(pty.Path, link);
        channel.Device = link;
        PortPresenceTest(table, 3, ports);
        OpenPort(table, 3, ports);
    }
    // Waits (up to 3 s) until the port's queue holds at least `count` bytes.
    bool WaitQueued(std::size_t count) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < deadline) {
            if (ports.BufferedBytes(channel.Handle) >= count) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    std::string ReadAll() {
        std::string got;
        std::uint8_t byte = 0;
        std::uint32_t count = 0;
        while (ports.ReadFile(channel.Handle, &byte, 1, count) && count == 1) got.push_back(static_cast<char>(byte));
        return got;
    }
};

TEST(OpenPortPresence, WhatMakesAnOpenPortGone) {
    struct Case {
        const char* name;
        void (*change)(OpenLinkedPort&);
        bool present;
    };
    const Case cases[] = {
        {"nothing changed", [](OpenLinkedPort&) {}, true},
        {"an unrelated file beside the link", [](OpenLinkedPort& t) { test::WriteFileBytes(t.folder / "x", "x"); },
         true},
        {"the link removed", [](OpenLinkedPort& t) { fs::remove(t.link); }, false},
        {"the link to another device",
         [](OpenLinkedPort& t) {
             fs::remove(t.link);
             fs::create_symlink(t.other.Path, t.link);
         },
         false},
        {"the link made again to the same device",
         [](OpenLinkedPort& t) {
             fs::remove(t.link);
             fs::create_symlink(t.pty.Path, t.link);
         },
         true},
        {"the line hung up", [](OpenLinkedPort& t) { t.pty.CloseMaster(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenLinkedPort t;
        ASSERT_TRUE(t.channel.Open);
        c.change(t);
        EXPECT_EQ(c.present, t.ports.OpenPortPresent("COM3", t.channel.Handle));
        EXPECT_EQ(!c.present, PortPresenceTest(t.table, 3, t.ports).Gone);
        EXPECT_EQ(c.present, t.channel.Open);
    }
}

TEST(OpenPortPresence, AHungUpLineIsGoneOnlyOnceItsLastBytesAreRead) {
    OpenLinkedPort t;
    auto& ports = t.ports;
    auto& channel = t.channel;
    auto& pty = t.pty;
    ASSERT_TRUE(channel.Open);
    EXPECT_FALSE(ports.PortLineGone(channel.Handle));
    ASSERT_TRUE(pty.Send("last words"));
    ASSERT_TRUE(t.WaitQueued(10));
    std::uint8_t byte = 0;
    std::uint32_t count = 0;
    ASSERT_TRUE(ports.ReadFile(channel.Handle, &byte, 1, count));  // the rest waits in the buffer
    ASSERT_EQ(1u, count);
    pty.CloseMaster();
    EXPECT_FALSE(ports.PortLineGone(channel.Handle));
    EXPECT_TRUE(ports.OpenPortPresent("COM3", channel.Handle));
    EXPECT_EQ("ast words", t.ReadAll());
    EXPECT_TRUE(ports.PortLineGone(channel.Handle));
    EXPECT_FALSE(ports.OpenPortPresent("COM3", channel.Handle));
    EXPECT_FALSE(ports.PortLineGone(kInvalidPortHandle));
}

}  // namespace
}  // namespace kestrum
