#pragma once
// The program's start-up before the main window exists, and the matching
// end of the run after the window has closed its ports.

#include <string>

#include "base/atomic_file.h"

#include "base/instance_info.h"
#include "base/channel_table.h"
#include "platform/instance_markers.h"
#include "platform/locale_info.h"
#include "platform/message_box.h"
#include "settings/options.h"
#include "settings/settings_location.h"

namespace kestrum {

// What start-up needs from the outside world.
struct StartupInputs {
    std::string ProgramPath;    // RunningProgramPath()
    std::string AppDataFolder;  // ApplicationDataFolder()
    LocaleInfo Locale;          // QueryUserLocale()
    SyncToDiskFunction SyncToDisk = nullptr;  // the platform's SyncToDisk
};

// Everything start-up fixes for the run.
struct StartupState {
    LocaleInfo Locale;
    int LocaleLanguage = 1;  // 1 English, 2 German; the default of Options.Language
    InstanceInfo Instance;   // number, IsMaster, the held marker
    ProgramFiles Files;      // ExeDirectory, ExeBaseName, SettingsFilePath
    Options Settings;
    ChannelTable Channels;
    std::string HelpFilePath;
    SyncToDiskFunction SyncToDisk = nullptr;  // flushes written files to the disk
    bool ShutDownDone = false;  // ShutDown has run
};

// In this order: the locale language; the instance number (markers named
// after the program file's base name); the settings file's place; the
// settings read from it (by instance); the help file path by the language.
StartupState StartUp(const StartupInputs& inputs, InstanceMarkers& markers);

// The program file's name without folder and extension ("/opt/k/kestrum"
// -> "kestrum"), the same name LocateSettingsFile derives.
std::string ProgramBaseName(const std::string& programPath);

// The end of the run: writes the settings file (a failure is shown at
// `dialogOrigin` and closing goes on), then releases the instance number.
// Safe to call twice: the second call neither writes nor releases again.
// Returns whether the settings were written.
bool ShutDown(StartupState& state, InstanceMarkers& markers, MessageBoxes& messages,
              ScreenPoint dialogOrigin);

}  // namespace kestrum
