#include "capture/capture_file_run.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "capture/capture_file_path.h"
#include "settings/language_texts.h"

namespace kestrum {

namespace {

void ReportFailure(CaptureContext& c, const std::string& path, const std::string& reason) {
    c.messages.Beep(MessageKind::Error);
    c.messages.Show(MessageKind::Error, c.exeBaseName,
                    FillPlaceholder(LanguageText(kTextCaptureFileFailed, c.options.Language, path), reason, "%2"),
                    c.dialogOrigin, MessageButtons::Ok);
}

std::string ReasonOf(const CaptureFileRecorder& recorder) {
    if (!recorder.ErrorText().empty()) return recorder.ErrorText();
    return std::strerror(EIO);
}

}  // namespace

void BeginCaptureFile(CaptureContext& c) {
    CaptureFileState& state = c.state.CaptureFile;
    if (state.Recorder) EndCaptureFile(c);
    const bool fromCommandLine = !state.CommandLinePath.empty();
    if (!fromCommandLine && !c.options.CaptureFile) return;

    std::vector<CaptureChannel> channels;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        const ChannelRecord& record = c.channels.Channel(n);
        channels.push_back({record.PortName, record.ChannelID, record.Active && record.Installed});
    }
    auto recorder = std::make_unique<CaptureFileRecorder>(std::move(channels));
    const bool append = fromCommandLine && state.CommandLinePathWritten;
    state.Path = fromCommandLine ? state.CommandLinePath
                                 : NewCaptureFilePath(CaptureFolder(c.options), c.exeBaseName, c.clock.Now());
    if (!recorder->Open(state.Path, append)) {
        ReportFailure(c, state.Path, ReasonOf(*recorder));
        return;
    }
    if (fromCommandLine) state.CommandLinePathWritten = true;
    state.Recorder = std::move(recorder);
    c.ports.SetTrafficRecorder(state.Recorder.get());
}

void EndCaptureFile(CaptureContext& c) {
    CaptureFileState& state = c.state.CaptureFile;
    if (!state.Recorder) return;
    c.ports.SetTrafficRecorder(nullptr);
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    std::unique_ptr<CaptureFileRecorder> recorder = std::move(state.Recorder);
    if (!recorder->Close(now.count())) ReportFailure(c, state.Path, ReasonOf(*recorder));
}

}  // namespace kestrum
