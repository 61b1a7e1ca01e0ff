// Saving and loading a recorded protocol of a million lines as Rich Text and
// as plain text, through real files: seconds per step and the peak resident
// memory of each step (the peak is reset before each one).
//   bench_rtf [lines, default 1000000]
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "document/plain_text_codec.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "bench_clock.h"

namespace {

using kestrum::bench::CpuSeconds;

using Clock = std::chrono::steady_clock;
using kestrum::ProtocolDocument;
using kestrum::TextAttributes;

// Starts a new peak of the resident set (Linux 4.0 on).
void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Peak resident set in MiB since the last reset (VmHWM).
double PeakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    return 0;
}

// CPU time of the process: unlike the wall-clock time it does not grow
// when other programs share the cores.
struct Step {
    const char* name;
    Clock::time_point start;
    double cpuStart;
    explicit Step(const char* stepName) : name(stepName) {
        ResetPeakMemory();
        start = Clock::now();
        cpuStart = CpuSeconds();
    }
    void Done(const std::string& extra = {}) const {
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%-26s %7.3f s (CPU %7.3f s)   peak RSS %7.1f MiB   %s\n", name, seconds,
                    CpuSeconds() - cpuStart, PeakMemoryMiB(), extra.c_str());
    }
};

// Four channels with their own font, colour and style, as a recording has them.
TextAttributes Channel(int n) {
    static const kestrum::Colour colours[] = {0x0000FF, 0xFF0000, 0x008000, 0xFF00FF};
    TextAttributes a;
    a.FontName = n % 2 == 0 ? "Courier New" : "FixedSys";
    a.FontSize = 10 + n % 2;
    a.Color = colours[n];
    a.Style = static_cast<std::uint8_t>(n == 3 ? 1 : 0);
    return a;
}

ProtocolDocument RecordedProtocol(std::size_t lines) {
    ProtocolDocument document;
    document.Reserve(lines, lines * 62, lines);
    kestrum::FormatIndex formats[4];
    for (int n = 0; n < 4; ++n) formats[n] = document.AddFormat(Channel(n));
    std::uint32_t random = 12345;
    std::string line;
    for (std::size_t i = 0; i < lines; ++i) {
        random = random * 1664525u + 1013904223u;
        const int channel = static_cast<int>(random >> 30);
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "COM%d: %9.6f  ", channel + 1, static_cast<double>(i) * 0.000731);
        line = prefix;
        while (line.size() < 60) {
            random = random * 1664525u + 1013904223u;
            // Mostly printable text, now and then a byte that needs escaping.
            const unsigned value = random >> 24;
            line += static_cast<char>(value < 230 ? ' ' + value % 95 : value);
        }
        for (char& c : line) {
            if (c == '\r' || c == '\n') c = '.';
        }
        document.AddLine();
        document.AppendText(line, formats[channel]);
    }
    return document;
}

std::uint64_t Fingerprint(const ProtocolDocument& document) {
    std::uint64_t hash = 1469598103934665603ull;
    const auto mix = [&hash](std::string_view bytes) {
        for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        hash = (hash ^ 0xFF) * 1099511628211ull;
    };
    for (std::size_t line = 0; line < document.LineCount(); ++line) {
        for (std::size_t run = 0; run < document.RunCount(line); ++run) {
            const kestrum::LineRun piece = document.Run(line, run);
            mix(piece.Text);
            mix(document.Format(piece.Format).FontName);
            mix(std::to_string(document.Format(piece.Format).Color));
        }
        mix("\n");
    }
    return hash;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(std::filesystem::file_size(path)), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t lines = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string rtfPath = folder + "/kestrum-bench-" + std::to_string(::getpid()) + ".rtf";
    const std::string textPath = folder + "/kestrum-bench-" + std::to_string(::getpid()) + ".txt";
    std::printf("protocol of %zu lines, 4 formats\n", lines);

    std::optional<ProtocolDocument> original;
    Step build("build the document");
    original.emplace(RecordedProtocol(lines));
    const std::uint64_t expected = Fingerprint(*original);
    build.Done(std::to_string(original->TextSize() / lines) + " bytes a line");

    Step saveRtf("save RTF (write + file)");
    {
        const std::string rtf = kestrum::WriteRtf(*original);
        WriteFile(rtfPath, rtf);
    }
    saveRtf.Done(std::to_string(std::filesystem::file_size(rtfPath) >> 20) + " MiB file");

    Step saveText("save text (write + file)");
    {
        WriteFile(textPath, kestrum::WritePlainText(*original));
    }
    saveText.Done(std::to_string(std::filesystem::file_size(textPath) >> 20) + " MiB file");
    original.reset();  // loading starts from an empty program, as it does in use

    int status = 0;
    {
        Step loadRtf("load RTF (file + read)");
        ProtocolDocument loaded;
        const kestrum::RtfReadResult result = kestrum::ReadRtf(ReadFile(rtfPath), loaded);
        loadRtf.Done(result.Ok() ? "" : "READ ERROR");
        if (!result.Ok() || Fingerprint(loaded) != expected) {
            std::printf("RTF did not read back unchanged\n");
            status = 1;
        }
    }
    {
        Step loadText("load text (file + read)");
        ProtocolDocument loaded;
        kestrum::ReadPlainText(ReadFile(textPath), TextAttributes{}, loaded);
        loadText.Done();
        if (loaded.LineCount() != lines) {
            std::printf("text did not read back with its lines\n");
            status = 1;
        }
    }
    std::filesystem::remove(rtfPath);
    std::filesystem::remove(textPath);
    return status;
}
