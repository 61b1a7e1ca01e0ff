// Throughput of the serial port layer's one-byte reads, the way the capture
// loop reads: one byte per port per pass, round robin. Pseudo-terminals are
// fed at full speed by a writer thread; every byte is checked for order.
// Also the cost of a read on an empty port, the time from a write to the
// arrival stamp of its chunk (the layer's reading thread), and, for
// comparison, a plain one-byte read() system call.
//   bench_serial_read [seconds per figure, default 1]
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/serial_ports_linux.h"
#include "support/pseudo_terminal.h"

namespace {

using Clock = std::chrono::steady_clock;
using kestrum::CommConfig;
using kestrum::LinuxSerialPorts;
using kestrum::OpenFailure;
using kestrum::PortHandle;

using Pty = kestrum::test::PseudoTerminal;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// CPU time of the calling thread, to tell the reader's own cost from the
// time it waits for a core (the writer and the kernel's tty work share them).
double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Feeds every master with the repeating byte sequence 0,1,..,255 until told
// to stop.
void Feed(const std::vector<std::unique_ptr<Pty>>& ptys, const std::atomic<bool>& stop) {
    std::vector<unsigned char> pattern(4096);
    for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<unsigned char>(i);
    std::vector<std::size_t> offset(ptys.size(), 0);
    std::vector<pollfd> fds;
    for (const auto& pty : ptys) {
        fcntl(pty->Master, F_SETFL, fcntl(pty->Master, F_GETFL) | O_NONBLOCK);
        fds.push_back({pty->Master, POLLOUT, 0});
    }
    while (!stop.load(std::memory_order_relaxed)) {
        if (poll(fds.data(), fds.size(), 20) <= 0) continue;
        for (std::size_t i = 0; i < ptys.size(); ++i) {
            if (!(fds[i].revents & POLLOUT)) continue;
            // Whole 256-byte periods keep the sequence intact across writes.
            const ssize_t put = write(ptys[i]->Master, pattern.data() + offset[i],
                                      pattern.size() - offset[i]);
            if (put > 0) offset[i] = (offset[i] + static_cast<std::size_t>(put)) % pattern.size();
        }
    }
}

void Throughput(int portCount, double seconds) {
    std::vector<std::unique_ptr<Pty>> ptys;
    LinuxSerialPorts ports;
    std::vector<PortHandle> handles;
    for (int i = 0; i < portCount; ++i) {
        ptys.push_back(std::make_unique<Pty>());
        const std::string name = "COM" + std::to_string(i + 1);
        ports.MapPortName(name, ptys.back()->Path);
        OpenFailure failure;
        const PortHandle handle = ports.CreateFile(name, failure);
        if (handle == kestrum::kInvalidPortHandle) {
            std::printf("cannot open %s\n", ptys.back()->Path.c_str());
            return;
        }
        CommConfig config;
        config.dcb.BaudRate = 921600;
        ports.SetCommConfig(handle, config);
        handles.push_back(handle);
    }

    std::atomic<bool> stop{false};
    std::thread writer(Feed, std::cref(ptys), std::cref(stop));
    std::vector<unsigned char> expected(portCount, 0);
    std::uint64_t bytes = 0;
    std::uint64_t calls = 0;
    std::uint64_t disorder = 0;
    std::uint64_t dropped = 0;
    std::size_t peakBuffered = 0;
    const double cpuStart = ThreadCpuSeconds();
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(seconds));
    auto now = start;
    while (now < end) {
        for (int pass = 0; pass < 4096; ++pass) {
            for (int i = 0; i < portCount; ++i) {
                std::uint8_t byte;
                std::uint32_t got = 0;
                ports.ReadFile(handles[i], &byte, 1, got);
                ++calls;
                if (got == 1) {
                    ++bytes;
                    // A gap where the full queue left bytes out is not disorder.
                    if (byte != expected[i]) {
                        const std::uint64_t left = ports.TakeDroppedInput(handles[i]);
                        if (left > 0) dropped += left;
                        else disorder++;
                    }
                    expected[i] = static_cast<unsigned char>(byte + 1);
                }
            }
        }
        for (PortHandle handle : handles)
            peakBuffered = std::max(peakBuffered, ports.BufferedBytes(handle));
        now = Clock::now();
    }
    for (PortHandle handle : handles) dropped += ports.TakeDroppedInput(handle);
    const double elapsed = Seconds(now - start);
    const double cpu = ThreadCpuSeconds() - cpuStart;
    stop = true;
    writer.join();
    std::printf("%d port%s: %6.1f MB/s through one-byte reads; per read call %.1f ns wall, "
                "%.1f ns reader CPU; %.0f%% of calls with a byte; peak backlog held %zu bytes "
                "(%.1f MB left out at the bound); %llu out of order\n",
                portCount, portCount == 1 ? " " : "s", static_cast<double>(bytes) / elapsed / 1e6,
                elapsed * 1e9 / static_cast<double>(calls), cpu * 1e9 / static_cast<double>(calls),
                100.0 * static_cast<double>(bytes) / static_cast<double>(calls), peakBuffered,
                static_cast<double>(dropped) / 1e6, static_cast<unsigned long long>(disorder));
}

// Maps COM1 to the pseudo-terminal and opens it with the default settings.
PortHandle OpenAsCom1(LinuxSerialPorts& ports, const Pty& pty) {
    ports.MapPortName("COM1", pty.Path);
    OpenFailure failure;
    const PortHandle handle = ports.CreateFile("COM1", failure);
    ports.SetCommConfig(handle, CommConfig{});
    return handle;
}

void EmptyRead(double seconds) {
    Pty pty;
    LinuxSerialPorts ports;
    const PortHandle handle = OpenAsCom1(ports, pty);
    std::uint8_t byte;
    std::uint32_t n = 0;

    // Back to back, as in a capture loop busy with other ports.
    std::uint64_t calls = 0;
    const auto start = Clock::now();
    auto now = start;
    while (Seconds(now - start) < seconds) {
        for (int i = 0; i < 10000; ++i) ports.ReadFile(handle, &byte, 1, n);
        calls += 10000;
        now = Clock::now();
    }
    std::printf("empty port, back-to-back reads: %.1f ns per read call\n",
                Seconds(now - start) * 1e9 / static_cast<double>(calls));

    // Spaced out, as in an idle capture loop.
    Clock::duration spent{};
    const int spacedCalls = static_cast<int>(2000 * seconds);
    for (int i = 0; i < spacedCalls; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(120));
        const auto before = Clock::now();
        ports.ReadFile(handle, &byte, 1, n);
        spent += Clock::now() - before;
    }
    std::printf("empty port, reads 120 us apart: %.0f ns per read call\n", Seconds(spent) * 1e9 / spacedCalls);
}

// From a write on the line to the arrival stamp of its chunk.
void StampLatency(double seconds) {
    Pty pty;
    LinuxSerialPorts ports;
    const PortHandle handle = OpenAsCom1(ports, pty);
    std::vector<double> latencies;
    const auto start = Clock::now();
    while (Seconds(Clock::now() - start) < seconds && latencies.size() < 5000) {
        timespec before{};
        clock_gettime(CLOCK_MONOTONIC, &before);
        (void)!write(pty.Master, "x", 1);
        kestrum::InputArrival arrival;
        while (!ports.NextArrival(handle, arrival)) {
        }
        std::uint8_t byte;
        std::uint32_t n = 0;
        ports.ReadFile(handle, &byte, 1, n);
        const std::int64_t written = static_cast<std::int64_t>(before.tv_sec) * 1'000'000'000 + before.tv_nsec;
        latencies.push_back(static_cast<double>(arrival.Counter - written) / 1000.0);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[static_cast<std::size_t>(q * static_cast<double>(latencies.size() - 1))]; };
    std::printf("write to arrival stamp, %zu single bytes: median %.1f us, 95 %% %.1f us, 99 %% %.1f us, max %.1f us\n",
                latencies.size(), at(0.5), at(0.95), at(0.99), latencies.back());
}

void PlainSyscallRead(double seconds) {
    Pty pty(true);  // raw, read directly: the layer's reading thread would compete
    const int fd = pty.Slave;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    std::atomic<bool> stop{false};
    fcntl(pty.Master, F_SETFL, fcntl(pty.Master, F_GETFL) | O_NONBLOCK);
    std::thread writer([&] {
        std::vector<unsigned char> block(4096, 'x');
        while (!stop.load(std::memory_order_relaxed)) {
            pollfd wait{pty.Master, POLLOUT, 0};
            if (poll(&wait, 1, 20) > 0) (void)!write(pty.Master, block.data(), block.size());
        }
    });
    std::uint64_t bytes = 0;
    const auto start = Clock::now();
    auto now = start;
    while (Seconds(now - start) < seconds) {
        for (int i = 0; i < 4096; ++i) {
            unsigned char byte;
            if (read(fd, &byte, 1) == 1) ++bytes;
        }
        now = Clock::now();
    }
    stop = true;
    writer.join();
    std::printf("for comparison, read() of one byte per call: %.1f MB/s\n",
                static_cast<double>(bytes) / Seconds(now - start) / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    std::printf("serial port layer, pseudo-terminals fed at full speed, %.1f s per figure\n",
                seconds);
    Throughput(1, seconds);
    Throughput(8, seconds);
    EmptyRead(seconds);
    StampLatency(seconds);
    PlainSyscallRead(seconds);
    return 0;
}
