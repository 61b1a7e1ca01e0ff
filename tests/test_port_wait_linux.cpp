// Noticing input on quiet ports and the idle wait that input ends, against
// real pseudo-terminals: input found while other ports keep the reader busy,
// waits ended early by arriving input (generous margins: only "well before
// the time-out" is asserted), waits that run to their time-out, unread input
// that does not keep ending waits.
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/port_wait_poll_timer.h"
#include "platform/linux/serial_ports_linux.h"
#include "support/pseudo_terminal.h"

namespace kestrum {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

using Pty = test::PseudoTerminal;

// `count` ports COM1.. on their own pseudo-terminals, opened raw.
struct Ports {
    explicit Ports(int count) {
        for (int i = 0; i < count; ++i) {
            ptys.push_back(std::make_unique<Pty>());
            const std::string name = "COM" + std::to_string(i + 1);
            serial.MapPortName(name, ptys.back()->Path);
            OpenFailure failure;
            handles.push_back(serial.CreateFile(name, failure));
            serial.SetCommConfig(handles.back(), CommConfig{});
        }
    }
    // One read of one byte; -1 when none.
    int ReadByte(int port) {
        std::uint8_t byte = 0;
        std::uint32_t got = 0;
        serial.ReadFile(handles[static_cast<std::size_t>(port)], &byte, 1, got);
        return got == 1 ? byte : -1;
    }
    LinuxSerialPorts serial;
    std::vector<std::unique_ptr<Pty>> ptys;
    std::vector<PortHandle> handles;
};

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TEST(LinuxSerialPortsReadiness, EightPortsTakingBytesInTurnsLoseNothingAndKeepTheirOrder) {
    Ports ports(8);
    std::array<std::string, 8> sent, received;
    for (int p = 0; p < 8; ++p)
        for (int i = 0; i < 3000; ++i) sent[static_cast<std::size_t>(p)] += static_cast<char>((i * (p + 3)) & 0xFF);
    // Bursts of varying size on varying ports while the reader runs.
    std::thread writer([&] {
        std::array<std::size_t, 8> done{};
        for (std::size_t round = 0; round < 400; ++round) {
            const std::size_t p = (round * 5) % 8;
            const std::size_t size = std::min<std::size_t>(1 + round % 29, 3000 - done[p]);
            ports.ptys[p]->Send(sent[p].substr(done[p], size));
            done[p] += size;
            if (round % 16 == 0) std::this_thread::sleep_for(200us);
        }
        for (std::size_t p = 0; p < 8; ++p) ports.ptys[p]->Send(sent[p].substr(done[p]));
    });
    const auto deadline = Clock::now() + 5s;
    std::size_t total = 0;
    while (total < 8 * 3000 && Clock::now() < deadline)
        for (int p = 0; p < 8; ++p) {
            const int byte = ports.ReadByte(p);
            if (byte < 0) continue;
            received[static_cast<std::size_t>(p)] += static_cast<char>(byte);
            ++total;
        }
    writer.join();
    for (std::size_t p = 0; p < 8; ++p) EXPECT_TRUE(received[p] == sent[p]) << "port " << p + 1;
}

TEST(LinuxSerialPortsReadiness, AQuietPortThatStartsSendingIsFoundWhileAnotherKeepsTheReaderBusy) {
    Ports ports(2);
    ports.ptys[0]->Send(std::string(4000, 'a'));  // keeps port 1's queue full for a while
    int first = -1;
    for (const auto start = Clock::now(); first < 0 && MsSince(start) < 3000;) first = ports.ReadByte(0);
    ASSERT_EQ('a', first);
    ASSERT_EQ(-1, ports.ReadByte(1));
    ports.ptys[1]->Send("Z");
    const auto start = Clock::now();
    int found = -1;
    long passes = 0;
    while (found < 0 && MsSince(start) < 3000) {
        ports.ReadByte(0);
        found = ports.ReadByte(1);
        ++passes;
    }
    EXPECT_EQ('Z', found) << "after " << passes << " passes";
}

TEST(LinuxSerialPortsReadiness, InputNoticedForAPortAlreadyReadInThePassEndsTheNextWaitAtOnce) {
    Ports ports(2);
    ASSERT_EQ(-1, ports.ReadByte(0));
    ASSERT_EQ(-1, ports.ReadByte(1));
    ports.ptys[0]->Send("x");
    std::this_thread::sleep_for(20ms);
    // Port 1 was read before its input came: the wait must not sleep on it.
    ASSERT_EQ(-1, ports.ReadByte(1));
    ASSERT_EQ(-1, ports.ReadByte(1));
    const auto start = Clock::now();
    EXPECT_TRUE(ports.serial.WaitForInput(5s));
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_EQ('x', ports.ReadByte(0));
}

TEST(LinuxSerialPortsReadiness, InputNobodyReadsEndsOneWaitOnlyAndAnEmptyWaitRunsItsTime) {
    Ports ports(2);
    ASSERT_EQ(-1, ports.ReadByte(0));
    ports.ptys[1]->Send("unread");
    auto start = Clock::now();
    EXPECT_TRUE(ports.serial.WaitForInput(5s));
    EXPECT_LT(MsSince(start), 2000);
    // A write may reach the port in more than one wake-up, but the unread
    // input does not keep ending waits: most run their full time.
    int fullWaits = 0;
    for (int i = 0; i < 6; ++i) {
        start = Clock::now();
        if (!ports.serial.WaitForInput(20ms)) {
            ++fullWaits;
            EXPECT_GE(MsSince(start), 19.0);
        }
    }
    EXPECT_GE(fullWaits, 4);
    EXPECT_EQ('u', ports.ReadByte(1));  // still there
}

TEST(PortWaitPollTimer, InputArrivingDuringTheWaitEndsItLongBeforeTheTimeOut) {
    Ports ports(1);
    ASSERT_EQ(-1, ports.ReadByte(0));
    PortWaitPollTimer timer(ports.serial);
    ASSERT_TRUE(timer.SetWaitableTimer(-100'000'000, 0));  // due in 10 s
    std::thread sender([&] {
        std::this_thread::sleep_for(20ms);
        ports.ptys[0]->Send("!");
    });
    const auto start = Clock::now();
    EXPECT_FALSE(timer.WaitForSingleObject(10'000));
    const double waited = MsSince(start);
    sender.join();
    EXPECT_LT(waited, 5000);
    EXPECT_EQ('!', ports.ReadByte(0));
}

TEST(PortWaitPollTimer, WithoutInputAnIdleWaitLastsUpToOneTickAndATimeOutRunsOut) {
    Ports ports(2);
    PortWaitPollTimer timer(ports.serial);
    // The capture loop's idle wait: due in 1 us, every 1 ms, waited for 1 ms.
    ASSERT_TRUE(timer.SetWaitableTimer(-10, 1));
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        EXPECT_TRUE(timer.WaitForSingleObject(1));
        EXPECT_LT(MsSince(start), 1000);
    }
    // Not armed: only the time-out ends the wait, on a tick.
    PortWaitPollTimer unarmed(ports.serial);
    const auto start = Clock::now();
    EXPECT_FALSE(unarmed.WaitForSingleObject(25));
    EXPECT_GE(MsSince(start), 24.0);
    EXPECT_LT(MsSince(start), 25.0 + 1000);
}

}  // namespace
}  // namespace kestrum
