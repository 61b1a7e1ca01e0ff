#include "document/protocol_files.h"

#include <filesystem>

namespace kestrum {
namespace {

// '/' everywhere, and the system's own separator ('\' on Windows).
bool IsSeparator(char c) {
    return c == '/' || c == static_cast<char>(std::filesystem::path::preferred_separator);
}

std::size_t NameStart(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1])) return i;
    return 0;
}

// Where the extension begins in `path`, or npos. The dot must follow at
// least one other character of the name.
std::size_t ExtensionStart(const std::string& path) {
    const std::size_t name = NameStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= name) return std::string::npos;
    return dot;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

ProtocolFile& CurrentProtocolFile(ProtocolFileState& files, const Options& options) {
    return files.Modes[options.MonitorMode ? 0 : 1];
}

const ProtocolFile& CurrentProtocolFile(const ProtocolFileState& files, const Options& options) {
    return files.Modes[options.MonitorMode ? 0 : 1];
}

ModeFileOptions& CurrentModeFileOptions(Options& options) {
    return options.MonitorMode ? options.Monitor : options.Sender;
}

std::string FilterExtension(int filterIndex) {
    switch (filterIndex) {
    case 1: return ".RTF";
    case 2: return ".TXT";
    default: return {};
    }
}

std::string ExtensionForFilter(const std::string& typedExtension, int filterIndex) {
    const std::string forced = FilterExtension(filterIndex);
    if (forced.empty() || EqualIgnoringCase(typedExtension, forced)) return typedExtension;
    return forced;
}

std::string JoinProtocolPath(const std::string& folder, const std::string& fileName) {
    if (folder.empty()) return fileName;
    if (IsSeparator(folder.back())) return folder + fileName;
    return folder + '/' + fileName;
}

ProtocolPathParts SplitProtocolPath(const std::string& path) {
    ProtocolPathParts parts;
    const std::size_t name = NameStart(path);
    std::size_t folderEnd = name;
    // The separators before the name, except the one of a root.
    while (folderEnd > 1 && IsSeparator(path[folderEnd - 1])) --folderEnd;
    parts.Directory = path.substr(0, folderEnd);
    const std::size_t ext = ExtensionStart(path);
    if (ext == std::string::npos) {
        parts.Name = path.substr(name);
    } else {
        parts.Name = path.substr(name, ext - name);
        parts.Ext = path.substr(ext);
    }
    return parts;
}

std::string ChangeExtension(const std::string& path, const std::string& extension) {
    const std::size_t ext = ExtensionStart(path);
    return (ext == std::string::npos ? path : path.substr(0, ext)) + extension;
}

void SetDefaultProtocolFile(ProtocolFile& file, const ModeFileOptions& mode) {
    file.ProtocolFileName = "Test";
    file.ProtocolFileExt = FilterExtension(mode.SaveDialogFilterIndex);
    file.ProtocolFilePath = JoinProtocolPath(mode.ProtocolDirectory, file.ProtocolFileName + file.ProtocolFileExt);
}

void SetDefaultProtocolFiles(ProtocolFileState& files, const Options& options) {
    SetDefaultProtocolFile(files.Modes[0], options.Monitor);
    SetDefaultProtocolFile(files.Modes[1], options.Sender);
}

std::string ProtocolFileTitle(const ProtocolFileState& files, const Options& options) {
    const ProtocolFile& file = CurrentProtocolFile(files, options);
    return file.ProtocolFileName + file.ProtocolFileExt;
}

}  // namespace kestrum
