#include "document/file_commands.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "capture/start_button.h"
#include "capture/time_tag.h"
#include "channels/font_entries.h"
#include "document/edit_commands.h"
#include "document/protocol_file_io.h"
#include "document/rtf_error_text.h"
#include "document/system_text.h"
#include "document/win_errors.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

// The activity marker for the time of a command, back to idle at its end.
class Activity {
public:
    Activity(RecordingState& recording, ActivityMarker marker) : recording_(recording) {
        recording_.ActivityMarker = marker;
    }
    ~Activity() { recording_.ActivityMarker = ActivityMarker::Idle; }
    Activity(const Activity&) = delete;
    Activity& operator=(const Activity&) = delete;

private:
    RecordingState& recording_;
};

// The hourglass for the time of a step.
class Hourglass {
public:
    explicit Hourglass(FileCommandContext& c) : c_(c) {
        if (c_.setWindowCursor) c_.setWindowCursor(true);
    }
    ~Hourglass() {
        if (c_.setWindowCursor) c_.setWindowCursor(false);
    }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    FileCommandContext& c_;
};

TextAttributes UserAttributes(const FileCommandContext& c) { return FontEntryAttributes(c.channels.Font(kUserEntry)); }

ProtocolLimits LimitsOf(const ProtocolField::Limits& limits) {
    return {limits.Lines > 0 ? static_cast<std::size_t>(limits.Lines) : 0,
            limits.Characters > 0 ? static_cast<std::size_t>(limits.Characters) : 0};
}

void UpdateCaption(FileCommandContext& c) {
    if (c.updateWindowCaption) c.updateWindowCaption();
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// `path` when that file exists; otherwise the one file of its folder whose
// name differs from it only in the letter case of the extension, if there
// is exactly one.
std::string ExistingSpelling(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(path, error)) return path;
    const ProtocolPathParts wanted = SplitProtocolPath(path);
    const fs::path folder = wanted.Directory.empty() ? fs::path(".") : fs::path(wanted.Directory);
    std::string found;
    int matches = 0;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const ProtocolPathParts candidate = SplitProtocolPath(it->path().filename().string());
        if (candidate.Name == wanted.Name && EqualIgnoringCase(candidate.Ext, wanted.Ext)) {
            found = ChangeExtension(path, candidate.Ext);
            ++matches;
        }
    }
    return matches == 1 ? found : path;
}

void ShowLoadFailure(FileCommandContext& c, const ProtocolFileResult& result, const std::string& title) {
    const int language = c.options.Language;
    const std::string text = LanguageText(kTextErrorOpeningFile, language) + SystemText(title) + "\r";
    c.messages.Beep(MessageKind::Warning);
    switch (result.Failure) {
    case ProtocolFileFailure::System:
        ShowWinError(c.messages, c.dialogOrigin, SystemText(c.exeBaseName), text, result.ErrorCode);
        return;
    case ProtocolFileFailure::Rtf:
        c.messages.Show(MessageKind::Warning, " " + SystemText(c.exeBaseName),
                        text + "\r" + RtfErrorText(result.Rtf, language), c.dialogOrigin, MessageButtons::Ok);
        return;
    case ProtocolFileFailure::TooLarge:
    case ProtocolFileFailure::None: {
        std::string reason = LanguageText(kTextFileTooLarge, language);
        const ProtocolField::Limits limits = c.field.CapacityLimits();
        if (limits.Lines > 0 && limits.Characters > 0) {
            const auto grouped = [&](std::int64_t value) {
                return FormatGroupedNumber(static_cast<double>(value), 18, 0, c.locale);
            };
            reason += "\r" + FillPlaceholder(LanguageText(kTextProtocolCapacityLimits, language, grouped(limits.Lines)),
                                             grouped(limits.Characters), "%2");
        }
        c.messages.Show(MessageKind::Warning, " " + SystemText(c.exeBaseName), text + "\r" + reason, c.dialogOrigin,
                        MessageButtons::Ok);
        return;
    }
    }
}

void SaveProtocol(FileCommandContext& c, const std::string& path) {
    const Hourglass hourglass(c);
    std::string bytes;
    {
        ProtocolDocument document;
        c.field.ReadLines(document);
        bytes = EncodeProtocolFile(path, document);
    }
    const ProtocolFileResult result = WriteProtocolFile(path, bytes, c.syncToDisk);
    if (result.Ok()) return;
    const int language = c.options.Language;
    throw std::runtime_error(LanguageText(kTextFileNotWritten, language, "\"" + SystemText(path) + "\"") + "\r" +
                             WinErrorText(result.ErrorCode, true));
}

}  // namespace

void ClearProtocol(FileCommandContext& c) {
    RecordingState& recording = c.recording;
    recording.ClearRequest = true;
    recording.Running = false;
    c.sending.StopSending();
    EnableStartButton(c.startButton, true, c.options.MonitorMode);
    SetStartButtonState(c.startButton, recording, false, c.options.MonitorMode);
    c.pump.ProcessMessages();
    recording.ProtocolFull = false;
    c.field.Clear();
    c.field.SetAppendAttributes(UserAttributes(c));
    c.search.SetEditSearchCommandsEnabled(false);
    c.pump.ProcessMessages();
}

bool LoadProtocolFile(FileCommandContext& c, const std::string& path, std::optional<int> dialogFilterIndex) {
    ModeFileOptions& mode = CurrentModeFileOptions(c.options);
    if (dialogFilterIndex) mode.OpenDialogFilterIndex = *dialogFilterIndex;
    const ProtocolPathParts chosen = SplitProtocolPath(path);
    std::string extension = dialogFilterIndex ? ExtensionForFilter(chosen.Ext, *dialogFilterIndex) : chosen.Ext;
    std::string filePath = ChangeExtension(path, extension);
    if (dialogFilterIndex) {
        filePath = ExistingSpelling(filePath);
        extension = SplitProtocolPath(filePath).Ext;
    }

    ProtocolDocument document;
    ProtocolFileResult result;
    {
        const Hourglass hourglass(c);
        result = ReadProtocolFile(filePath, UserAttributes(c), LimitsOf(c.field.CapacityLimits()), document);
    }
    if (!result.Ok()) {
        ShowLoadFailure(c, result, chosen.Name + extension);
        return false;
    }

    mode.ProtocolDirectory = chosen.Directory;
    ProtocolFile& file = CurrentProtocolFile(c.files, c.options);
    file = {chosen.Name, extension, filePath};
    UpdateCaption(c);
    ClearProtocol(c);
    bool loaded = false;
    {
        const Hourglass hourglass(c);
        loaded = c.field.LoadLines(document);
        document.Clear();
    }
    c.field.SetAppendAttributes(UserAttributes(c));
    if (!loaded) {
        result.Failure = ProtocolFileFailure::TooLarge;
        ShowLoadFailure(c, result, chosen.Name + extension);
        return false;
    }
    c.search.SetEditSearchCommandsEnabled(EditSearchCommandsAllowed(c.field.LineCount(), c.recording.Running));
    return true;
}

void LoadCommandLineFile(FileCommandContext& c, const std::vector<std::string>& arguments) {
    if (arguments.size() < 2 || arguments[1] == "/?" || arguments[1].empty()) return;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(arguments[1], error).lexically_normal();
    LoadProtocolFile(c, error ? arguments[1] : absolute.string(), std::nullopt);
}

void MainMenuFileNewOnClick(FileCommandContext& c) {
    ClearProtocol(c);
    SetDefaultProtocolFile(CurrentProtocolFile(c.files, c.options), CurrentModeFileOptions(c.options));
    UpdateCaption(c);
}

void MainMenuFileOpenOnClick(FileCommandContext& c) {
    const Activity activity(c.recording, ActivityMarker::Loading);
    if (!c.dialogs) return;
    const ModeFileOptions& mode = CurrentModeFileOptions(c.options);
    const FileDialogRequest request{LanguageText(kTextLoadProtocolFile, c.options.Language), mode.ProtocolDirectory,
                                    CurrentProtocolFile(c.files, c.options).ProtocolFileName,
                                    mode.OpenDialogFilterIndex};
    const std::optional<FileDialogResult> chosen = c.dialogs->Open(request);
    if (!chosen) return;
    LoadProtocolFile(c, chosen->Path, chosen->FilterIndex);
}

void MainMenuFileSaveOnClick(FileCommandContext& c) {
    const Activity activity(c.recording, ActivityMarker::Saving);
    SaveProtocol(c, CurrentProtocolFile(c.files, c.options).ProtocolFilePath);
}

void MainMenuFileSaveAsOnClick(FileCommandContext& c) {
    const Activity activity(c.recording, ActivityMarker::Saving);
    if (!c.dialogs) return;
    ModeFileOptions& mode = CurrentModeFileOptions(c.options);
    ProtocolFile& file = CurrentProtocolFile(c.files, c.options);
    const FileDialogRequest request{
        LanguageText(kTextSaveProtocolToFile, c.options.Language, SystemText(c.exeBaseName)),
        mode.ProtocolDirectory, file.ProtocolFileName, mode.SaveDialogFilterIndex};
    const std::optional<FileDialogResult> chosen = c.dialogs->Save(request);
    if (!chosen) return;
    const ProtocolPathParts parts = SplitProtocolPath(chosen->Path);
    mode.ProtocolDirectory = parts.Directory;
    mode.SaveDialogFilterIndex = chosen->FilterIndex;
    const std::string extension = ExtensionForFilter(parts.Ext, chosen->FilterIndex);
    file = {parts.Name, extension, ChangeExtension(chosen->Path, extension)};
    UpdateCaption(c);
    SaveProtocol(c, file.ProtocolFilePath);
}

void AddFileCommands(CommandTable& table, FileCommandContext& c) {
    const auto idle = [&c] { return !c.recording.Running; };
    // Running first: counting the lines would wait for the field.
    const auto hasLines = [&c] { return !c.recording.Running && c.field.LineCount() > 0; };
    table.Add({"MainMenuFile", {}, {}, {}, true});
    table.Add({"MainMenuFileNew", [&c](const CommandCall&) { MainMenuFileNewOnClick(c); }, idle, {}, true});
    table.Add({"MainMenuFileOpen", [&c](const CommandCall&) { MainMenuFileOpenOnClick(c); }, idle, {}, true});
    table.Add({"MainMenuFileSave", [&c](const CommandCall&) { MainMenuFileSaveOnClick(c); }, hasLines, {}, true});
    table.Add(
        {"MainMenuFileSaveAs", [&c](const CommandCall&) { MainMenuFileSaveAsOnClick(c); }, hasLines, {}, true});
}

}  // namespace kestrum
