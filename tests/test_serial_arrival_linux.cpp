// The reading thread of the Linux serial ports against real pseudo-terminals:
// lines written to several ports while the reader is held up come out in the
// order and with the times of the writes; the 16 MiB bound leaves input out
// and says so instead of holding up the line; the recorder gets every chunk
// received, the bytes sent and, from a device that reports them (a fake
// status reader here: pseudo-terminals report none), line errors and
// control-line changes.
#include <sys/ioctl.h>
#include <time.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/serial_ports_linux.h"
#include "support/pseudo_terminal.h"

namespace kestrum {
namespace {

using namespace std::chrono_literals;
using test::PseudoTerminal;

std::int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

std::int64_t UnixNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// COM1.. on pseudo-terminals of their own, opened and configured raw.
struct Ports {
    explicit Ports(int count, LinuxSerialPorts::LineStatusReader status = {}) : serial(std::move(status)) {
        for (int i = 0; i < count; ++i) {
            ptys.push_back(std::make_unique<PseudoTerminal>());
            const std::string name = "COM" + std::to_string(i + 1);
            serial.MapPortName(name, ptys.back()->Path);
            OpenFailure failure;
            handles.push_back(serial.CreateFile(name, failure));
            serial.SetCommConfig(handles.back(), CommConfig{});
        }
    }
    bool WaitQueued(int port, std::size_t count, std::chrono::milliseconds limit = 5s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (serial.BufferedBytes(handles[static_cast<std::size_t>(port)]) < count) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }
    std::string ReadAll(int port) {
        std::string got;
        std::uint8_t buffer[4096];
        std::uint32_t n = 0;
        do {
            serial.ReadFile(handles[static_cast<std::size_t>(port)], buffer, sizeof buffer, n);
            got.append(reinterpret_cast<const char*>(buffer), n);
        } while (n > 0);
        return got;
    }
    LinuxSerialPorts serial;
    std::vector<std::unique_ptr<PseudoTerminal>> ptys;
    std::vector<PortHandle> handles;
};

// Keeps every event; safe to read once taken back from the ports.
class KeepingRecorder : public PortTrafficRecorder {
public:
    struct Event {
        PortTrafficKind Kind;
        std::string Port;
        std::int64_t Time;
        std::uint8_t Lines;
        std::string Bytes;
        std::size_t Size;
    };
    void Record(const PortTraffic& t) override {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back({t.Kind, std::string(t.PortName), t.UnixNanoseconds, t.Lines,
                           t.Data ? std::string(reinterpret_cast<const char*>(t.Data), t.Size) : std::string(),
                           t.Size});
    }
    void Tick(std::int64_t) override { ++ticks_; }
    std::vector<Event> Events() {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    int Ticks() const { return ticks_; }

private:
    std::mutex mutex_;
    std::vector<Event> events_;
    std::atomic<int> ticks_{0};
};

TEST(LinuxSerialArrival, LinesWrittenWhileTheReaderIsHeldUpKeepTheirOrderAndTimes) {
    Ports ports(3);
    struct Write {
        int Port;
        std::string Line;
        std::int64_t Before = 0;  // CLOCK_MONOTONIC around the write
        std::int64_t After = 0;
    };
    std::vector<Write> writes;
    for (int i = 0; i < 9; ++i) writes.push_back({(i * 2) % 3, "line " + std::to_string(i) + "\r\n"});
    // The reading side does nothing until every line is written.
    for (Write& write : writes) {
        write.Before = MonotonicNs();
        ASSERT_TRUE(ports.ptys[static_cast<std::size_t>(write.Port)]->Send(write.Line));
        write.After = MonotonicNs();
        std::this_thread::sleep_for(25ms);
    }
    const std::uint64_t limit = ports.serial.ArrivalLimit();
    // Take the chunks as a pass would: always the port whose next byte arrived first.
    std::vector<std::pair<int, std::string>> taken;
    std::vector<InputArrival> arrivals;
    for (;;) {
        int earliest = -1;
        InputArrival first;
        for (int p = 0; p < 3; ++p) {
            InputArrival arrival;
            if (ports.serial.NextArrival(ports.handles[static_cast<std::size_t>(p)], arrival) &&
                arrival.Sequence < limit && (earliest < 0 || arrival.Sequence < first.Sequence)) {
                earliest = p;
                first = arrival;
            }
        }
        if (earliest < 0) break;
        std::string chunk;
        InputArrival same;
        while (ports.serial.NextArrival(ports.handles[static_cast<std::size_t>(earliest)], same) &&
               same.Sequence == first.Sequence) {
            std::uint8_t byte = 0;
            std::uint32_t got = 0;
            ports.serial.ReadFile(ports.handles[static_cast<std::size_t>(earliest)], &byte, 1, got);
            chunk += static_cast<char>(byte);
        }
        taken.emplace_back(earliest, chunk);
        arrivals.push_back(first);
    }
    ASSERT_EQ(taken.size(), writes.size()) << "one chunk per write";
    for (std::size_t i = 0; i < writes.size(); ++i) {
        SCOPED_TRACE(writes[i].Line);
        EXPECT_EQ(taken[i].first, writes[i].Port);
        EXPECT_EQ(taken[i].second, writes[i].Line);
        EXPECT_GE(arrivals[i].Counter, writes[i].Before);
        EXPECT_LT(arrivals[i].Counter - writes[i].After, 10'000'000) << "stamped within 10 ms of its write";
        if (i > 0) {
            EXPECT_GT(arrivals[i].Sequence, arrivals[i - 1].Sequence);
        }
    }
}

TEST(LinuxSerialArrival, AFullQueueLeavesInputOutAndSaysSoWithoutHoldingUpTheLine) {
    Ports ports(1);
    KeepingRecorder recorder;
    ports.serial.SetTrafficRecorder(&recorder);
    std::string sent(20u << 20, '\0');
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>((i * 7 + i / 4093) & 0xFF);
    // The writer finishes although nobody reads: the port is never held up.
    std::thread writer([&] { ports.ptys[0]->Send(sent); });
    writer.join();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    int inTty = 1;
    while ((ioctl(ports.ptys[0]->Slave, FIONREAD, &inTty) != 0 || inTty > 0) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(50ms);
    const std::size_t queued = ports.serial.BufferedBytes(ports.handles[0]);
    EXPECT_LE(queued, LinuxSerialPorts::kMaxQueuedBytes);
    EXPECT_GT(queued, LinuxSerialPorts::kMaxQueuedBytes - (1u << 20)) << "the bound, less the chunks' own memory";

    const std::string got = ports.ReadAll(0);
    EXPECT_EQ(got.size(), queued);
    EXPECT_TRUE(got == sent.substr(0, got.size())) << "the queued bytes are the first ones, unchanged";
    // The gap is reported once the queue has room again.
    std::uint64_t dropped = 0;
    for (const auto until = std::chrono::steady_clock::now() + 2s; dropped == 0 && std::chrono::steady_clock::now() < until;) {
        std::this_thread::sleep_for(10ms);
        dropped = ports.serial.TakeDroppedInput(ports.handles[0]);
    }
    EXPECT_EQ(dropped, sent.size() - got.size());
    EXPECT_EQ(ports.serial.TakeDroppedInput(ports.handles[0]), 0u) << "reported once";
    ports.ptys[0]->Send("after");
    ASSERT_TRUE(ports.WaitQueued(0, 5));
    EXPECT_EQ(ports.ReadAll(0), "after");

    ports.serial.SetTrafficRecorder(nullptr);
    std::string recorded;
    int droppedEvents = 0;
    for (const auto& event : recorder.Events()) {
        if (event.Kind == PortTrafficKind::Received) recorded += event.Bytes;
        if (event.Kind == PortTrafficKind::Dropped) ++droppedEvents;
    }
    EXPECT_TRUE(recorded == sent + "after") << "the recorder got every byte";
    EXPECT_EQ(droppedEvents, 1) << "where the leaving out began";
}

TEST(LinuxSerialArrival, TheRecorderGetsEveryChunkAndWhatWasSentInTimeOrder) {
    Ports ports(2);
    KeepingRecorder recorder;
    const std::int64_t start = UnixNs();
    ports.serial.SetTrafficRecorder(&recorder);
    std::string expected[2];
    for (int i = 0; i < 40; ++i) {
        const int p = i % 2;
        const std::string bytes = "chunk" + std::to_string(i) + ";";
        ports.ptys[static_cast<std::size_t>(p)]->Send(bytes);
        expected[p] += bytes;
        if (i % 8 == 0) std::this_thread::sleep_for(2ms);
    }
    const std::string request = "request";
    std::uint32_t written = 0;
    ASSERT_TRUE(ports.serial.WriteFile(ports.handles[1], reinterpret_cast<const std::uint8_t*>(request.data()),
                                       static_cast<std::uint32_t>(request.size()), written));
    ASSERT_TRUE(ports.WaitQueued(0, expected[0].size()));
    ASSERT_TRUE(ports.WaitQueued(1, expected[1].size()));
    std::this_thread::sleep_for(3 * LinuxSerialPorts::kTickInterval);
    // Taken back at once after a write: the write still reaches this recorder.
    const std::string late = "late";
    ports.serial.WriteFile(ports.handles[0], reinterpret_cast<const std::uint8_t*>(late.data()), 4, written);
    ports.serial.SetTrafficRecorder(nullptr);
    const std::int64_t end = UnixNs();

    std::string received[2], sentBytes[2];
    std::int64_t last = 0;
    for (const auto& event : recorder.Events()) {
        const int p = event.Port == "COM1" ? 0 : 1;
        if (event.Kind == PortTrafficKind::Received) received[p] += event.Bytes;
        if (event.Kind == PortTrafficKind::Sent) sentBytes[p] += event.Bytes;
        EXPECT_GE(event.Time, last) << "times never go back";
        EXPECT_GE(event.Time, start - 50'000'000);
        EXPECT_LE(event.Time, end + 50'000'000);
        last = event.Time;
    }
    EXPECT_EQ(received[0], expected[0]);
    EXPECT_EQ(received[1], expected[1]);
    EXPECT_EQ(sentBytes[1], request);
    EXPECT_EQ(sentBytes[0], late);
    EXPECT_GE(recorder.Ticks(), 2) << "ticks come also when nothing happens";
}

// A device that reports its line: counts and lines set by the test.
struct ScriptedStatus {
    std::mutex Mutex;
    LineStatus Status;
    int Looks = 0;
};

TEST(LinuxSerialArrival, LineErrorsAndControlLineChangesTheDeviceReportsBecomeEvents) {
    auto scripted = std::make_shared<ScriptedStatus>();
    scripted->Status.HasCounts = true;
    scripted->Status.Frame = 5;  // errors before the recording are not events
    scripted->Status.HasLines = true;
    scripted->Status.Lines = port_lines::kDsr;
    Ports ports(1, [scripted](int) {
        std::lock_guard<std::mutex> lock(scripted->Mutex);
        ++scripted->Looks;
        return scripted->Status;
    });
    KeepingRecorder recorder;
    ports.serial.SetTrafficRecorder(&recorder);
    const auto waitLooks = [&](int more) {
        int target;
        {
            std::lock_guard<std::mutex> lock(scripted->Mutex);
            target = scripted->Looks + more;
        }
        for (const auto until = std::chrono::steady_clock::now() + 3s; std::chrono::steady_clock::now() < until;) {
            {
                std::lock_guard<std::mutex> lock(scripted->Mutex);
                if (scripted->Looks >= target) return true;
            }
            std::this_thread::sleep_for(1ms);
        }
        return false;
    };
    ASSERT_TRUE(waitLooks(2));
    {
        std::lock_guard<std::mutex> lock(scripted->Mutex);
        scripted->Status.Frame += 2;
        scripted->Status.Parity += 1;
        scripted->Status.Overrun += 1;
        scripted->Status.Break += 1;
        scripted->Status.Lines = port_lines::kDsr | port_lines::kCts;
    }
    ASSERT_TRUE(waitLooks(2));
    ports.ptys[0]->Send("data");
    ASSERT_TRUE(ports.WaitQueued(0, 4));
    ports.serial.SetTrafficRecorder(nullptr);

    std::vector<PortTrafficKind> kinds;
    std::uint8_t dataLines = 0;
    for (const auto& event : recorder.Events()) {
        if (event.Kind == PortTrafficKind::Received) {
            dataLines = event.Lines;
            continue;
        }
        kinds.push_back(event.Kind);
        EXPECT_EQ(event.Lines, port_lines::kDsr | port_lines::kCts);
    }
    EXPECT_EQ(kinds, (std::vector<PortTrafficKind>{PortTrafficKind::FramingError, PortTrafficKind::FramingError,
                                                   PortTrafficKind::ParityError, PortTrafficKind::Overrun,
                                                   PortTrafficKind::Break, PortTrafficKind::LinesChanged}));
    EXPECT_EQ(dataLines, port_lines::kDsr | port_lines::kCts) << "data frames carry the lines as last seen";
}

TEST(LinuxSerialArrival, AHungUpLineFailsItsReadsOnceItsQueueIsEmpty) {
    Ports ports(1);
    ports.ptys[0]->Send("last");
    ASSERT_TRUE(ports.WaitQueued(0, 4));
    EXPECT_FALSE(ports.serial.HasFailed(ports.handles[0]));
    ports.ptys[0]->CloseMaster();
    std::uint8_t bytes[8];
    std::uint32_t got = 0;
    bool failed = false;
    std::string handedOut;
    for (const auto until = std::chrono::steady_clock::now() + 3s; !failed && std::chrono::steady_clock::now() < until;) {
        std::this_thread::sleep_for(5ms);
        failed = !ports.serial.ReadFile(ports.handles[0], bytes, 1, got) && got == 0;
        if (got == 1) handedOut += static_cast<char>(bytes[0]);
    }
    EXPECT_TRUE(failed);
    EXPECT_TRUE(ports.serial.HasFailed(ports.handles[0]));
    EXPECT_EQ(handedOut, "last") << "what came before the hang-up is still handed out";
    InputArrival arrival;
    EXPECT_FALSE(ports.serial.NextArrival(ports.handles[0], arrival));
}

}  // namespace
}  // namespace kestrum
