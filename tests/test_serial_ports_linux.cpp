// The Linux serial port layer against real pseudo-terminals: configuration
// and its exact restoring, reads that never block, ordering across buffer
// refills, exclusive opens seen from a second process, device presence.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "channels/port_operations.h"
#include "channels/trigger_fields.h"
#include "platform/linux/serial_devices_linux.h"
#include "platform/linux/serial_ports_linux.h"
#include "support/child_process.h"
#include "support/pseudo_terminal.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using test::PseudoTerminal;

termios TtyState(int fd) {
    termios state{};
    tcgetattr(fd, &state);
    return state;
}

void ExpectSameTermios(const termios& a, const termios& b) {
    EXPECT_EQ(a.c_iflag, b.c_iflag);
    EXPECT_EQ(a.c_oflag, b.c_oflag);
    EXPECT_EQ(a.c_cflag, b.c_cflag);
    EXPECT_EQ(a.c_lflag, b.c_lflag);
    EXPECT_EQ(0, std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc));
    EXPECT_EQ(cfgetispeed(&a), cfgetispeed(&b));
    EXPECT_EQ(cfgetospeed(&a), cfgetospeed(&b));
}

// A port "COM1" on the pseudo-terminal, opened and configured.
struct OpenedPort {
    explicit OpenedPort(const PseudoTerminal& pty, std::uint32_t baud = 9600) {
        ports.MapPortName("COM1", pty.Path);
        handle = ports.CreateFile("COM1", failure);
        config.dcb.BaudRate = baud;
        if (handle != kInvalidPortHandle) ports.SetCommConfig(handle, config);
    }
    std::string Read(std::size_t count, std::uint32_t perCall = 1) {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        std::uint8_t chunk[4096];
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            std::uint32_t n = 0;
            ports.ReadFile(handle, chunk, std::min<std::uint32_t>(perCall, sizeof chunk), n);
            got.append(reinterpret_cast<const char*>(chunk), n);
        }
        return got;
    }
    LinuxSerialPorts ports;
    OpenFailure failure = OpenFailure::Other;
    PortHandle handle = kInvalidPortHandle;
    CommConfig config;
};

// Waits (up to 3 s) until the port's queue holds at least `count` bytes.
bool WaitQueued(const LinuxSerialPorts& ports, PortHandle handle, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (ports.BufferedBytes(handle) >= count) return true;
        std::this_thread::sleep_for(1ms);
    }
    return false;
}

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

TEST(LinuxSerialPorts, ConfiguresRawModeAndPutsBackTheTtysOwnSettingsOnClose) {
    struct Case {
        const char* name;
        speed_t speed;
        tcflag_t extraCflag;
        tcflag_t extraIflag;
    };
    const Case cases[] = {
        {"fresh pseudo-terminal", 0, 0, 0},
        {"1200 baud 7E2 with XON/XOFF", B1200, CS7 | PARENB | CSTOPB, IXON | IXOFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PseudoTerminal pty;
        ASSERT_FALSE(pty.Path.empty());
        if (c.speed != 0) {
            termios custom = TtyState(pty.Slave);
            cfsetspeed(&custom, c.speed);
            custom.c_cflag = (custom.c_cflag & ~CSIZE) | c.extraCflag;
            custom.c_iflag |= c.extraIflag;
            ASSERT_EQ(0, tcsetattr(pty.Slave, TCSANOW, &custom));
        }
        const termios before = TtyState(pty.Slave);

        OpenedPort port(pty, 57600);
        ASSERT_NE(kInvalidPortHandle, port.handle);
        const termios configured = TtyState(pty.Slave);
        EXPECT_EQ(B57600, cfgetospeed(&configured));
        EXPECT_EQ(0u, configured.c_lflag & (ICANON | ECHO | ISIG));
        EXPECT_EQ(0u, configured.c_oflag & OPOST);
        EXPECT_EQ(0u, configured.c_iflag & (IXON | IXOFF | ICRNL | INPCK));
        EXPECT_EQ(static_cast<tcflag_t>(CS8 | CLOCAL | CREAD),
                  configured.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD));
        EXPECT_EQ(0, configured.c_cc[VMIN]);
        EXPECT_EQ(0, configured.c_cc[VTIME]);

        EXPECT_TRUE(port.ports.CloseHandle(port.handle));
        ExpectSameTermios(before, TtyState(pty.Slave));
        EXPECT_FALSE(port.ports.CloseHandle(port.handle)) << "closed twice";
    }
}

TEST(LinuxSerialPorts, StopBitsAndParityKindReachTheTty) {
    // The pseudo-terminal driver forces CS8 and clears PARENB whatever is
    // asked (the full translation is covered in test_termios_dcb.cpp); the
    // stop bits and the odd/mark/space bits it keeps.
    struct Case {
        std::uint8_t parity, stopBits;
        tcflag_t cflag;  // expected PARODD | CMSPAR | CSTOPB
    };
    const Case cases[] = {
        {0, 0, 0},
        {2, 0, 0},
        {1, 2, PARODD | CSTOPB},
        {3, 1, PARODD | CMSPAR | CSTOPB},  // 1.5 stop bits become 2
        {4, 0, CMSPAR},
    };
    PseudoTerminal pty;
    OpenedPort port(pty);
    ASSERT_NE(kInvalidPortHandle, port.handle);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.parity) << "/" << int(c.stopBits));
        CommConfig config;
        config.dcb.BaudRate = 19200;
        config.dcb.ByteSize = 7;
        config.dcb.Parity = c.parity;
        config.dcb.StopBits = c.stopBits;
        ASSERT_TRUE(port.ports.SetCommConfig(port.handle, config));
        const termios tty = TtyState(pty.Slave);
        EXPECT_EQ(c.cflag, tty.c_cflag & (PARODD | CMSPAR | CSTOPB));
        CommConfig back;
        ASSERT_TRUE(port.ports.GetCommConfig(port.handle, back));
        EXPECT_EQ(19200u, back.dcb.BaudRate);
        EXPECT_EQ(c.stopBits == 0 ? 0 : 2, back.dcb.StopBits);
        EXPECT_TRUE(back.dcb.fBinary);
        EXPECT_FALSE(back.dcb.fOutX);
        EXPECT_FALSE(back.dcb.fOutxCtsFlow);
    }
}

TEST(LinuxSerialPorts, RefusesSettingsTheLineCannotHaveAndKeepsTheOldOnes) {
    PseudoTerminal pty;
    OpenedPort port(pty, 4800);
    ASSERT_NE(kInvalidPortHandle, port.handle);
    const termios before = TtyState(pty.Slave);
    const Dcb bad[] = {
        {.BaudRate = 0}, {.ByteSize = 4}, {.ByteSize = 9}, {.Parity = 5}, {.StopBits = 3},
    };
    for (const Dcb& dcb : bad) {
        CommConfig config;
        config.dcb = dcb;
        EXPECT_FALSE(port.ports.SetCommConfig(port.handle, config));
        ExpectSameTermios(before, TtyState(pty.Slave));
    }
}

TEST(LinuxSerialPorts, AnyBaudRateReadsBackExactly) {
    PseudoTerminal pty;
    OpenedPort port(pty);
    ASSERT_NE(kInvalidPortHandle, port.handle);
    for (std::uint32_t baud : {250000u, 115200u, 31250u, 3000000u, 7u}) {
        CommConfig config;
        config.dcb.BaudRate = baud;
        ASSERT_TRUE(port.ports.SetCommConfig(port.handle, config)) << baud;
        CommConfig back;
        ASSERT_TRUE(port.ports.GetCommConfig(port.handle, back));
        EXPECT_EQ(baud, back.dcb.BaudRate);
    }
    // A standard rate is set by its own code, so other programs see it.
    CommConfig config;
    config.dcb.BaudRate = 115200;
    port.ports.SetCommConfig(port.handle, config);
    const termios tty = TtyState(pty.Slave);
    EXPECT_EQ(B115200, cfgetospeed(&tty));
}

TEST(LinuxSerialPorts, ReadsReturnAtOnceAndWritesReachTheLine) {
    PseudoTerminal pty;
    OpenedPort port(pty);
    ASSERT_NE(kInvalidPortHandle, port.handle);
    std::uint8_t byte = 0;
    std::uint32_t got = 99;
    EXPECT_TRUE(port.ports.ReadFile(port.handle, &byte, 1, got));
    EXPECT_EQ(0u, got);

    const std::string message = "hello\r\n\0\xff";
    std::uint32_t written = 0;
    EXPECT_TRUE(port.ports.WriteFile(port.handle, reinterpret_cast<const std::uint8_t*>(message.data()),
                                     static_cast<std::uint32_t>(message.size()), written));
    EXPECT_EQ(message.size(), written);
    EXPECT_EQ(message, pty.Receive(message.size()));

    pty.Send(std::string("A\0\r\n\x11\x13z", 7));  // NUL, line ends and XON/XOFF pass unchanged
    EXPECT_EQ(std::string("A\0\r\n\x11\x13z", 7), port.Read(7));
    EXPECT_TRUE(port.ports.ReadFile(port.handle, &byte, 1, got));
    EXPECT_EQ(0u, got);
}

TEST(LinuxSerialPorts, OneByteReadsKeepTheOrderOf100KilobytesAcrossRefills) {
    PseudoTerminal pty;
    OpenedPort port(pty);
    ASSERT_NE(kInvalidPortHandle, port.handle);
    const std::string sent = Pattern(100000);
    std::thread writer([&] { pty.Send(sent); });
    const std::string received = port.Read(sent.size());
    writer.join();
    ASSERT_EQ(sent.size(), received.size());
    EXPECT_TRUE(received == sent) << "bytes out of order or changed";
}

TEST(LinuxSerialPorts, ALaggingReaderFindsTheBacklogQueuedAndTheTtyDrained) {
    PseudoTerminal pty;
    OpenedPort port(pty);
    ASSERT_NE(kInvalidPortHandle, port.handle);
    const std::string first = Pattern(3000);
    const std::string second(3000, 'x');
    pty.Send(first);
    ASSERT_TRUE(WaitQueued(port.ports, port.handle, 3000));
    std::string got = port.Read(1);
    EXPECT_EQ(2999u, port.ports.BufferedBytes(port.handle));
    // While the first chunk is still being handed out, the second arrives
    // and is taken out of the tty at once.
    pty.Send(second);
    ASSERT_TRUE(WaitQueued(port.ports, port.handle, 2999 + 3000));
    int inTty = -1;
    ioctl(pty.Slave, FIONREAD, &inTty);
    EXPECT_EQ(0, inTty);
    got += port.Read(first.size() + second.size() - got.size(), 4096);
    EXPECT_TRUE(got == first + second);
    EXPECT_EQ(0u, port.ports.BufferedBytes(port.handle));
}

TEST(LinuxSerialPorts, PurgeDropsBufferedAndWaitingBytes) {
    PseudoTerminal pty;
    OpenedPort port(pty);
    ASSERT_NE(kInvalidPortHandle, port.handle);
    pty.Send("abcdef");
    ASSERT_TRUE(WaitQueued(port.ports, port.handle, 6));
    EXPECT_EQ("a", port.Read(1));  // "bcdef" now waits in the port's queue
    pty.Send("ghi");
    ASSERT_TRUE(WaitQueued(port.ports, port.handle, 8));
    EXPECT_TRUE(port.ports.PurgeComm(port.handle));
    std::uint8_t byte = 0;
    std::uint32_t got = 0;
    port.ports.ReadFile(port.handle, &byte, 1, got);
    EXPECT_EQ(0u, got);
    pty.Send("z");
    EXPECT_EQ("z", port.Read(1));
}

TEST(LinuxSerialPorts, AHungUpLineReadsNothingAndDoesNotBlock) {
    PseudoTerminal pty;
    OpenedPort port(pty);
    ASSERT_NE(kInvalidPortHandle, port.handle);
    pty.Send("q");
    ASSERT_TRUE(WaitQueued(port.ports, port.handle, 1));
    pty.CloseMaster();
    std::uint8_t bytes[8];
    std::uint32_t got = 0;
    for (int i = 0; i < 3; ++i) {
        port.ports.ReadFile(port.handle, bytes, sizeof bytes, got);
        EXPECT_LE(got, 1u);  // the byte received before the hang-up may still come
    }
    port.ports.ReadFile(port.handle, bytes, sizeof bytes, got);
    EXPECT_EQ(0u, got);
    std::uint32_t written = 5;
    EXPECT_FALSE(port.ports.WriteFile(port.handle, bytes, 1, written));
    EXPECT_TRUE(port.ports.CloseHandle(port.handle));
}

TEST(LinuxSerialPorts, OpenFailuresSayWhy) {
    LinuxSerialPorts ports;
    OpenFailure failure = OpenFailure::None;
    EXPECT_EQ(kInvalidPortHandle, ports.CreateFile("COM1", failure)) << "never mapped";
    EXPECT_EQ(OpenFailure::Missing, failure);
    ports.MapPortName("COM2", "/nonexistent/ttyUSB9");
    EXPECT_EQ(kInvalidPortHandle, ports.CreateFile("COM2", failure));
    EXPECT_EQ(OpenFailure::Missing, failure);
    ports.MapPortName("COM3", "/dev/null");  // a character device, but no tty
    CommConfig config;
    EXPECT_TRUE(ports.GetDefaultCommConfig("COM3", config));
    EXPECT_EQ(kInvalidPortHandle, ports.CreateFile("COM3", failure));
    EXPECT_EQ(OpenFailure::Other, failure);
    // Calls on handles that are not open fail without touching anything.
    std::uint8_t byte = 0;
    std::uint32_t count = 7;
    for (PortHandle handle : {kInvalidPortHandle, PortHandle{0}, PortHandle{123456}}) {
        EXPECT_FALSE(ports.ReadFile(handle, &byte, 1, count));
        EXPECT_EQ(0u, count);
        EXPECT_FALSE(ports.WriteFile(handle, &byte, 1, count));
        EXPECT_FALSE(ports.PurgeComm(handle));
        EXPECT_FALSE(ports.SetCommConfig(handle, config));
        EXPECT_FALSE(ports.CloseHandle(handle));
    }
}

TEST(LinuxSerialPorts, OneDeviceCannotBeOpenedTwiceEvenByRoot) {
    // Two channels (or two copies of the program) on one device: the lock
    // refuses the second open whoever runs it.
    PseudoTerminal pty;
    OpenedPort first(pty);
    ASSERT_NE(kInvalidPortHandle, first.handle);
    LinuxSerialPorts other;
    other.MapPortName("COM2", pty.Path);
    OpenFailure failure = OpenFailure::None;
    EXPECT_EQ(kInvalidPortHandle, other.CreateFile("COM2", failure));
    EXPECT_EQ(OpenFailure::HeldElsewhere, failure);
    first.ports.CloseHandle(first.handle);
    const PortHandle second = other.CreateFile("COM2", failure);
    EXPECT_NE(kInvalidPortHandle, second);
    EXPECT_EQ(OpenFailure::None, failure);
}

// ---- a second process ------------------------------------------------------

const std::string kProbe = std::string(KESTRUM_TOOLS_DIR) + "/port_open_probe";
constexpr const char* kNobody = "65534:65534";

std::string Probe(const std::string& device, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> argv = {kProbe, device};
    argv.insert(argv.end(), extra.begin(), extra.end());
    test::ChildProcess child(argv);
    const std::string line = child.ReadLine();
    child.CloseStdin();
    child.Wait();
    return line;
}

TEST(LinuxSerialPortsSecondProcess, SeesAHeldPortAsNotAvailableWithItsTriggerOff) {
    PseudoTerminal pty;
    ASSERT_EQ(0, fchmod(pty.Slave, 0666));
    ChannelTable table;
    table.Channels[1].Device = pty.Path;
    LinuxSerialPorts ports;
    PortPresenceTest(table, 1, ports);
    OpenPort(table, 1, ports);
    ASSERT_TRUE(table.Channels[1].Open);

    const std::string held =
        "Installed=1 Available=0 Open=0 TriggerEnabled=0 Failure=HeldElsewhere";
    // As root the exclusive mode does not stop the open; the lock does.
    EXPECT_EQ(held, Probe(pty.Path));
    if (geteuid() != 0) GTEST_SKIP() << "the check as another user needs root";
    // An ordinary user is stopped by the exclusive mode itself.
    EXPECT_EQ(held, Probe(pty.Path, {"--user", kNobody}));

    // Closed, the port is free again for everyone: exclusive mode and lock
    // are gone although this process still has the tty open.
    ClosePort(table, 1, ports);
    EXPECT_EQ("Installed=1 Available=1 Open=1 TriggerEnabled=1 Failure=None",
              Probe(pty.Path, {"--user", kNobody}));
}

TEST(LinuxSerialPortsSecondProcess, HoldsThePortAgainstThisProcess) {
    PseudoTerminal pty;
    test::ChildProcess holder({kProbe, pty.Path, "--hold"});
    ASSERT_EQ("Installed=1 Available=1 Open=1 TriggerEnabled=1 Failure=None", holder.ReadLine());
    ChannelTable table;
    ChannelRecord& channel = table.Channels[1];
    channel.Device = pty.Path;
    SetTriggerBytes(channel, "A");
    SetTriggerEnabled(channel, true);
    LinuxSerialPorts ports;
    PortPresenceTest(table, 1, ports);
    OpenPort(table, 1, ports);
    EXPECT_TRUE(channel.Installed);
    EXPECT_FALSE(channel.Available);
    EXPECT_FALSE(channel.Open);
    EXPECT_FALSE(channel.TriggerEnabled);
    EXPECT_EQ(OpenFailure::HeldElsewhere, channel.LastOpenFailure);
    holder.CloseStdin();
    holder.Wait();
    OpenPort(table, 1, ports);
    EXPECT_TRUE(channel.Available);
    EXPECT_EQ(OpenFailure::None, channel.LastOpenFailure);
}

TEST(LinuxSerialPortsSecondProcess, ADeviceWithoutAccessRightsIsNoPermission) {
    PseudoTerminal pty;
    if (geteuid() == 0) {
        ASSERT_EQ(0, fchmod(pty.Slave, 0600));
        EXPECT_EQ("Installed=1 Available=0 Open=0 TriggerEnabled=0 Failure=NoPermission",
                  Probe(pty.Path, {"--user", kNobody}));
    } else {
        ASSERT_EQ(0, fchmod(pty.Slave, 0));
        LinuxSerialPorts ports;
        ports.MapPortName("COM1", pty.Path);
        OpenFailure failure = OpenFailure::None;
        EXPECT_EQ(kInvalidPortHandle, ports.CreateFile("COM1", failure));
        EXPECT_EQ(OpenFailure::NoPermission, failure);
    }
}

// ---- presence and the channel operations on real devices -------------------

TEST(LinuxSerialPortsPresence, OnlyACharacterDeviceBehindThePathIsPresent) {
    PseudoTerminal pty;
    test::TempFolder folder;
    const std::string base = folder.Path();
    fs::create_symlink(pty.Path, base + "/adapter");
    fs::create_symlink(base + "/missing", base + "/dangling");
    test::WriteFileBytes(base + "/plain", "x");
    fs::create_symlink(base + "/plain", base + "/to-plain");
    fs::create_directory(base + "/folder");
    struct Case {
        std::string device;
        bool present;
    };
    const Case cases[] = {
        {pty.Path, true},       {base + "/adapter", true}, {base + "/dangling", false},
        {base + "/plain", false}, {base + "/to-plain", false}, {base + "/folder", false},
        {"", false},
    };
    LinuxSerialPorts ports;
    for (const Case& c : cases) {
        ports.MapPortName("COM4", c.device);
        CommConfig config;
        EXPECT_EQ(c.present, ports.GetDefaultCommConfig("COM4", config)) << c.device;
    }
}

TEST(LinuxSerialPortsPresence, ALinkThatGoesAndComesBackIsGoneThenNewlyPresent) {
    PseudoTerminal pty;
    test::TempFolder folder;
    const std::string link = folder.Path() + "/usb-adapter";
    fs::create_symlink(pty.Path, link);
    ChannelTable table;
    table.Channels[2].Device = link;
    LinuxSerialPorts ports;
    struct Step {
        bool linkThere;
        bool installed, newlyPresent, gone;
    };
    const Step steps[] = {
        {true, true, true, false},  {true, true, false, false},   {false, false, false, true},
        {false, false, false, false}, {true, true, true, false},
    };
    for (const Step& step : steps) {
        std::error_code ignored;
        if (step.linkThere && !fs::is_symlink(link)) fs::create_symlink(pty.Path, link);
        if (!step.linkThere) fs::remove(link, ignored);
        const PresenceChange change = PortPresenceTest(table, 2, ports);
        EXPECT_EQ(step.installed, table.Channels[2].Installed);
        EXPECT_EQ(step.newlyPresent, change.NewlyPresent);
        EXPECT_EQ(step.gone, change.Gone);
    }
}

TEST(LinuxSerialPortsPresence, TestingAnOpenPortLeavesItOpenWithItsUnreadInput) {
    PseudoTerminal pty;
    ChannelTable table;
    ChannelRecord& channel = table.Channels[1];
    channel.Device = pty.Path;
    channel.BaudRate = 38400;
    LinuxSerialPorts ports;
    PortPresenceTest(table, 1, ports);
    OpenPort(table, 1, ports);
    ASSERT_TRUE(channel.Open);
    pty.Send("unread");
    ASSERT_TRUE(WaitQueued(ports, channel.Handle, 6));
    const PresenceChange change = PortPresenceTest(table, 1, ports);
    EXPECT_FALSE(change.NewlyPresent || change.Gone);
    EXPECT_TRUE(channel.Open);
    std::uint8_t bytes[16];
    std::uint32_t got = 0;
    EXPECT_TRUE(ports.ReadFile(channel.Handle, bytes, sizeof bytes, got));
    EXPECT_EQ("unread", std::string(reinterpret_cast<const char*>(bytes), got));
    const termios tty = TtyState(pty.Slave);
    EXPECT_EQ(B38400, cfgetospeed(&tty));
    ClosePort(table, 1, ports);
}

TEST(LinuxSerialPortsPresence, ClosingPutsBackWhatTheDeviceHadThroughTheChannelOperations) {
    PseudoTerminal pty;
    const termios before = TtyState(pty.Slave);
    ChannelTable table;
    ChannelRecord& channel = table.Channels[5];
    channel.Device = pty.Path;
    channel.BaudRate = 250000;
    channel.StopBits = StopBits::Two;
    LinuxSerialPorts ports;
    PortPresenceTest(table, 5, ports);
    OpenPort(table, 5, ports);
    ASSERT_TRUE(channel.Open);
    CommConfig now;
    ports.GetCommConfig(channel.Handle, now);
    EXPECT_EQ(250000u, now.dcb.BaudRate);
    EXPECT_EQ(2, now.dcb.StopBits);
    ClosePort(table, 5, ports);
    EXPECT_TRUE(channel.Available);
    ExpectSameTermios(before, TtyState(pty.Slave));
}

// ---- the list of present devices ------------------------------------------

TEST(LinuxSerialDevices, AdaptersByNameThenBuiltInPortsWithAUart) {
    PseudoTerminal pty;
    test::TempFolder folder;
    const std::string dev = folder.Path() + "/dev";
    const std::string sys = folder.Path() + "/sys";
    fs::create_directories(dev + "/serial/by-id");
    fs::create_symlink(pty.Path, dev + "/serial/by-id/usb-Zeta_Cable-if00");
    fs::create_symlink(pty.Path, dev + "/serial/by-id/usb-Alpha_Adapter-if00");
    fs::create_symlink(dev + "/nothing", dev + "/serial/by-id/usb-Unplugged-if00");
    for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttySx", "ttyUSB0"})
        fs::create_symlink(pty.Path, dev + "/" + name);
    const std::pair<const char*, const char*> types[] = {
        {"ttyS0", "4\n"}, {"ttyS1", "0\n"}, {"ttyS10", "4\n"}, {"ttySx", "4\n"}};
    for (const auto& [name, type] : types)
        test::WriteFileBytes(sys + "/class/tty/" + name + "/type", type);
    // ttyS2 has no sysfs entry and the pseudo-terminal answers no
    // TIOCGSERIAL: no UART.

    LinuxSerialDevices devices(dev, sys);
    const std::vector<std::string> expected = {
        dev + "/serial/by-id/usb-Alpha_Adapter-if00",
        dev + "/serial/by-id/usb-Zeta_Cable-if00",
        dev + "/ttyS0",
        dev + "/ttyS10",
    };
    EXPECT_EQ(expected, devices.ListPresentSerialDevices());

    LinuxSerialDevices empty(folder.Path() + "/none", sys);
    EXPECT_TRUE(empty.ListPresentSerialDevices().empty());
}

}  // namespace
}  // namespace kestrum
