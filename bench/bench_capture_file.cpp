// Throughput of the capture file writer: 100-byte chunks spread over 8
// channels, into a sink that only counts (the writer's own cost) and into a
// real file in the temporary folder. Prints frames/s, payload MB/s and file
// MB/s, the best of three runs.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/capture_file.h"
#include "capture/file_byte_sink.h"

namespace kestrum {
namespace {

class CountingSink : public ByteSink {
public:
    std::size_t Bytes = 0;
    bool Write(const std::uint8_t*, std::size_t size) override {
        Bytes += size;
        return true;
    }
    bool Flush() override { return true; }
};

constexpr int kRuns = 3;
constexpr std::uint32_t kChannels = 8;
constexpr std::size_t kChunk = 100;

// Writes `frames` chunks round-robin over the channels, one steady-clock
// flush check per frame as the port thread would do; the seconds it took.
double WriteFrames(ByteSink& sink, long frames) {
    std::vector<std::uint8_t> chunk(kChunk);
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<std::uint8_t>(i);
    const auto start = std::chrono::steady_clock::now();
    CaptureFileWriter writer(sink);
    writer.Begin();
    for (std::uint32_t n = 1; n <= kChannels; ++n) writer.AddInterface("COM" + std::to_string(n), "Channel");
    std::int64_t time = 1'700'000'000'000'000'000;
    for (long i = 0; i < frames; ++i) {
        time += 1'000;
        writer.WriteFrame(static_cast<std::uint32_t>(i) % kChannels, time, SerialEvent::DataRxStart, {}, chunk.data(),
                          chunk.size());
        writer.FlushIfDue(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    writer.Close();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (writer.Error() != CaptureFileError::None) std::printf("  write error %d\n", static_cast<int>(writer.Error()));
    return seconds;
}

void Report(const char* title, long frames, double seconds, std::size_t fileBytes) {
    std::printf("%-34s %10.0f frames/s %7.1f MB/s payload %7.1f MB/s file  (%ld frames, %zu bytes, best %.3f s)\n",
                title, static_cast<double>(frames) / seconds,
                static_cast<double>(frames) * kChunk / seconds / 1e6, static_cast<double>(fileBytes) / seconds / 1e6,
                frames, fileBytes, seconds);
}

void IntoMemory(long frames) {
    double best = 1e300;
    std::size_t bytes = 0;
    for (int run = 0; run < kRuns; ++run) {
        CountingSink sink;
        best = std::min(best, WriteFrames(sink, frames));
        bytes = sink.Bytes;
    }
    Report("8 channels, 100 B, counting sink", frames, best, bytes);
}

void IntoFile(long frames) {
    const auto path = std::filesystem::temp_directory_path() / "kestrum-bench-capture.pcapng";
    double best = 1e300;
    std::size_t bytes = 0;
    for (int run = 0; run < kRuns; ++run) {
        FileByteSink sink;
        if (!sink.Open(path.string())) {
            std::printf("cannot create %s\n", path.c_str());
            return;
        }
        best = std::min(best, WriteFrames(sink, frames));
        bytes = static_cast<std::size_t>(std::filesystem::file_size(path));
    }
    std::filesystem::remove(path);
    Report("8 channels, 100 B, file", frames, best, bytes);
}

}  // namespace
}  // namespace kestrum

int main() {
    kestrum::IntoMemory(2'000'000);
    kestrum::IntoFile(500'000);
    return 0;
}
