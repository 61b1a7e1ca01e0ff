#pragma once
// Where the settings file lives, and the names derived from the program file.

#include <string>

namespace kestrum {

struct ProgramFiles {
    std::string ExeDirectory;      // the program's folder, with its trailing separator
    std::string ExeBaseName;       // the program file's name without folder and extension
    std::string SettingsFilePath;
};

// `programPath` is the running program file (RunningProgramPath()),
// `appDataFolder` the user's settings folder (ApplicationDataFolder()).
// The settings file is <appData>/Tannbrook/<ExeBaseName>/<ExeBaseName>.ini;
// missing folders are created. When `appDataFolder` is blank or the folder
// cannot be made, the file is the program path with its extension replaced
// by ".ini". A settings file left beside the program by an earlier version is
// copied once into the settings folder when none is there yet; a failed copy
// is silent.
ProgramFiles LocateSettingsFile(const std::string& programPath, const std::string& appDataFolder);

}  // namespace kestrum
