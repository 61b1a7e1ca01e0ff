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
#include "bench_measure.h"
#include "recorded_protocol.h"

namespace {

using kestrum::bench::RecordedProtocol;
using kestrum::bench::Step;

using kestrum::ProtocolDocument;
using kestrum::TextAttributes;

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
    Step build("build the document", 26);
    original.emplace(RecordedProtocol(lines));
    const std::uint64_t expected = Fingerprint(*original);
    build.Done(std::to_string(original->TextSize() / lines) + " bytes a line");

    Step saveRtf("save RTF (write + file)", 26);
    {
        const std::string rtf = kestrum::WriteRtf(*original);
        WriteFile(rtfPath, rtf);
    }
    saveRtf.Done(std::to_string(std::filesystem::file_size(rtfPath) >> 20) + " MiB file");

    Step saveText("save text (write + file)", 26);
    {
        WriteFile(textPath, kestrum::WritePlainText(*original));
    }
    saveText.Done(std::to_string(std::filesystem::file_size(textPath) >> 20) + " MiB file");
    original.reset();  // loading starts from an empty program, as it does in use

    int status = 0;
    {
        Step loadRtf("load RTF (file + read)", 26);
        ProtocolDocument loaded;
        const kestrum::RtfReadResult result = kestrum::ReadRtf(ReadFile(rtfPath), loaded);
        loadRtf.Done(result.Ok() ? "" : "READ ERROR");
        if (!result.Ok() || Fingerprint(loaded) != expected) {
            std::printf("RTF did not read back unchanged\n");
            status = 1;
        }
    }
    {
        Step loadText("load text (file + read)", 26);
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
