// Throughput of the recording engine alone: the real capture loop over
// in-memory ports and a protocol field that only counts. Prints bytes/s and
// lines/s for ASCII and hex display with 1 and 8 channels, for 8 channels
// whose lines arrived in turns long before they are read (the arrival order
// of stamped input decides which channel reads), and the cost of a pass when
// every port is quiet.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/capture_context.h"
#include "capture/capture_loop.h"
#include "capture/line_layout.h"
#include "capture/protocol_clock.h"
#include "channels/channel_ids.h"
#include "fakes/capture_rig.h"
#include "fakes/recording_message_boxes.h"

namespace kestrum {
namespace {

// Ports 1..8 as byte buffers; handle n is channel n.
class BenchPorts : public SerialPorts {
public:
    std::vector<std::string> Data = std::vector<std::string>(9);
    std::vector<std::size_t> Position = std::vector<std::size_t>(9);
    std::size_t Remaining = 0;

    void Load(int channel, std::string bytes) {
        Remaining += bytes.size();
        Data[static_cast<std::size_t>(channel)] = std::move(bytes);
        Position[static_cast<std::size_t>(channel)] = 0;
    }

    bool GetDefaultCommConfig(const std::string&, CommConfig&) override { return true; }
    PortHandle CreateFile(const std::string&, OpenFailure&) override { return kInvalidPortHandle; }
    bool GetCommConfig(PortHandle, CommConfig&) override { return true; }
    bool SetCommConfig(PortHandle, const CommConfig&) override { return true; }
    bool GetCommTimeouts(PortHandle, CommTimeouts&) override { return true; }
    bool SetCommTimeouts(PortHandle, const CommTimeouts&) override { return true; }
    bool PurgeComm(PortHandle) override { return true; }
    bool ReadFile(PortHandle port, std::uint8_t* buffer, std::uint32_t, std::uint32_t& bytesRead) override {
        bytesRead = 0;
        if (port < 1 || port > 8) return false;
        const auto n = static_cast<std::size_t>(port);
        if (Position[n] >= Data[n].size()) return true;
        *buffer = static_cast<std::uint8_t>(Data[n][Position[n]++]);
        bytesRead = 1;
        --Remaining;
        return true;
    }
    bool WriteFile(PortHandle, const std::uint8_t*, std::uint32_t, std::uint32_t& written) override {
        written = 0;
        return true;
    }
    bool CloseHandle(PortHandle) override { return true; }

    // Stamped: every ChunkBytes bytes of a channel are one chunk, and the
    // channels' chunks arrived in turns (chunk k of channel n is number
    // k * Channels + n), all before the recording started.
    std::size_t ChunkBytes = 0;
    int Channels = 1;
    std::uint64_t ArrivalLimit() override { return ChunkBytes > 0 ? ~std::uint64_t{0} >> 1 : 0; }
    bool NextArrival(PortHandle port, InputArrival& arrival) override {
        if (ChunkBytes == 0 || port < 1 || port > 8) return false;
        const auto n = static_cast<std::size_t>(port);
        if (Position[n] >= Data[n].size()) return false;
        arrival.Sequence = (Position[n] / ChunkBytes) * static_cast<std::size_t>(Channels) + n;
        return true;
    }
};

class CountingField : public ProtocolField {
public:
    long Lines = 0;
    long Characters = 0;
    long Deletes = 0;
    void SetAppendAttributes(const TextAttributes&) override {}
    bool AppendLine(const std::string& text) override {
        ++Lines;
        Characters += static_cast<long>(text.size());
        return true;
    }
    bool DeleteLastLine() override {
        ++Deletes;
        if (Lines > 0) --Lines;
        return true;
    }
    void Clear() override { Lines = 0; }
    int LineCount() override { return static_cast<int>(Lines); }
    std::string LineText(int) override { return {}; }
    int ControlWidth() override { return 800; }
    void SetDefaultAttributes(const TextAttributes&) override {}
    void SetBackgroundColour(Colour) override {}
    int PixelsPerInch() override { return 96; }
    void FocusAtEnd() override {}
};

class CountingTimer : public PollTimer {
public:
    long Waits = 0;
    bool SetWaitableTimer(std::int64_t, std::int32_t) override { return true; }
    bool WaitForSingleObject(std::uint32_t) override {
        ++Waits;
        return true;
    }
};

// Stops the recording once every byte is read, or after `QuietPasses`
// calls when there is nothing to read.
class BenchPump : public MessagePump {
public:
    std::function<void()> Stop;
    BenchPorts* Ports = nullptr;
    long Calls = 0;
    long QuietLimit = 0;
    void ProcessMessages() override {
        ++Calls;
        if (QuietLimit > 0 ? Calls >= QuietLimit : Ports->Remaining == 0) Stop();
    }
};

struct Bench {
    Options options;
    ChannelTable channels;
    CountingField field;
    BenchPorts ports;
    std::unique_ptr<Clock> clock = CreateSystemClock();
    BenchPump pump;
    CountingTimer timer;
    RecordingMessageBoxes messages;
    LocaleInfo locale;
    fakes::RecordingHooksLog hooks;
    CaptureState state;
    ScreenPoint origin;
    std::string name = "bench";
    CaptureContext ctx{options, channels, field, ports, *clock, pump,  timer,
                       messages, locale, hooks, hooks, state, origin, name};

    Bench(LogMode logMode, int channelCount) {
        options.LogMode = logMode;
        options.ShowStartStopTime = false;
        ComputeIdPaddings(channels);
        SetHexLineWidth(state.Layout, options);
        SetUpProtocolClock(state.ProtocolTime, *clock);
        for (int n = 1; n <= channelCount; ++n) {
            ChannelRecord& record = channels.Channels[static_cast<std::size_t>(n)];
            record.Installed = record.Available = record.Open = record.Active = true;
            record.Handle = n;
        }
        pump.Ports = &ports;
        pump.Stop = [this] {
            if (state.StartButton.Down) ClickStartButton(ctx);
        };
    }
};

std::string LineData(std::size_t bytes, std::size_t lineLength) {
    std::string data;
    data.reserve(bytes);
    std::size_t column = 0;
    while (data.size() < bytes) {
        if (column == lineLength) {
            data += "\r\n";
            column = 0;
        } else {
            data += static_cast<char>('A' + column % 26);
            ++column;
        }
    }
    return data;
}

// The best of `kRuns` runs: the machine may be shared.
constexpr int kRuns = 3;

void Throughput(const char* title, LogMode logMode, int channelCount, bool timeTags, std::size_t perChannel,
                bool inTurns = false) {
    double best = 1e300;
    std::size_t total = 0;
    long lines = 0;
    for (int run = 0; run < kRuns; ++run) {
        Bench bench(logMode, channelCount);
        bench.options.ShowTimeTags = timeTags;
        for (int n = 1; n <= channelCount; ++n) bench.ports.Load(n, LineData(perChannel, 60));
        if (inTurns) {
            bench.ports.ChunkBytes = 62;
            bench.ports.Channels = channelCount;
        }
        total = bench.ports.Remaining;
        const auto start = std::chrono::steady_clock::now();
        ClickStartButton(bench.ctx);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds < best) best = seconds;
        lines = bench.field.Lines;
    }
    std::printf("%-30s %7.1f MB/s %11.0f lines/s  (%zu bytes, %ld lines, best %.3f s)\n", title,
                static_cast<double>(total) / best / 1e6, static_cast<double>(lines) / best, total,
                lines, best);
}

void QuietPass() {
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        Bench bench(LogMode::Ascii, 8);
        bench.pump.QuietLimit = 2'000'000;
        const auto start = std::chrono::steady_clock::now();
        ClickStartButton(bench.ctx);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, seconds * 1e9 / static_cast<double>(bench.pump.Calls));
    }
    std::printf("%-30s %7.1f ns per pass (8 active quiet ports; the idle wait itself not counted)\n",
                "quiet pass", best);
}

}  // namespace
}  // namespace kestrum

int main() {
    using namespace kestrum;
    const std::size_t mb = 1'000'000;
    Throughput("ASCII, 1 channel", LogMode::Ascii, 1, false, 16 * mb);
    Throughput("ASCII, 1 channel, time tags", LogMode::Ascii, 1, true, 16 * mb);
    Throughput("ASCII, 8 channels", LogMode::Ascii, 8, false, 2 * mb);
    Throughput("ASCII, 8 taking turns, late", LogMode::Ascii, 8, false, 2 * mb, true);
    Throughput("hex, 1 channel", LogMode::Hex, 1, false, 16 * mb);
    Throughput("hex, 1 channel, time tags", LogMode::Hex, 1, true, 16 * mb);
    Throughput("hex, 8 channels", LogMode::Hex, 8, false, 2 * mb);
    QuietPass();
    return 0;
}
