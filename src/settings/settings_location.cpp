#include "settings/settings_location.h"

#include <filesystem>

#include "settings/ini_file.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMakerFolder = "Tannbrook";

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

ProgramFiles LocateSettingsFile(const std::string& programPath, const std::string& appDataFolder) {
    ProgramFiles files;
    const fs::path program = programPath;
    files.ExeBaseName = program.stem().string();
    if (program.has_parent_path())
        files.ExeDirectory = program.parent_path().string() + static_cast<char>(fs::path::preferred_separator);
    const std::string fallback = fs::path(program).replace_extension(".ini").string();

    files.SettingsFilePath = fallback;
    if (TrimBlanks(appDataFolder).empty()) return files;

    const fs::path folder = fs::path(appDataFolder) / kMakerFolder / files.ExeBaseName;
    std::error_code error;
    if (!fs::is_directory(folder, error)) fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) return files;
    files.SettingsFilePath = (folder / (files.ExeBaseName + ".ini")).string();

    // One-time copy of a settings file kept beside the program. The copy
    // fails when a file appeared at the target meanwhile; that is fine.
    if (LowerAscii(files.SettingsFilePath) != LowerAscii(fallback) &&
        !fs::exists(files.SettingsFilePath, error) && fs::is_regular_file(fallback, error)) {
        fs::copy_file(fallback, files.SettingsFilePath, fs::copy_options::none, error);
    }
    return files;
}

}  // namespace kestrum
