#include "app/startup.h"

#include <filesystem>

#include "app/help_file_path.h"
#include "app/instance_number.h"
#include "settings/language_texts.h"
#include "settings/settings_file.h"

namespace kestrum {

std::string ProgramBaseName(const std::string& programPath) {
    return std::filesystem::path(programPath).stem().string();
}

StartupState StartUp(const StartupInputs& inputs, InstanceMarkers& markers) {
    StartupState state;
    state.Locale = inputs.Locale;
    state.SyncToDisk = inputs.SyncToDisk;
    state.LocaleLanguage = LocaleLanguage(inputs.Locale.LanguageId);
    state.Settings.Language = state.LocaleLanguage;

    state.Instance = AcquireInstanceNumber(markers, ProgramBaseName(inputs.ProgramPath));
    state.Files = LocateSettingsFile(inputs.ProgramPath, inputs.AppDataFolder);
    ReadSettingsFile(state.Files.SettingsFilePath, state.Instance, state.LocaleLanguage, state.Settings,
                     state.Channels);
    state.HelpFilePath = HelpFilePath(state.Files.ExeDirectory, state.Settings.Language);
    return state;
}

bool ShutDown(StartupState& state, InstanceMarkers& markers, MessageBoxes& messages,
              ScreenPoint dialogOrigin) {
    if (state.ShutDownDone) return false;
    state.ShutDownDone = true;
    const bool written = WriteSettingsFile(state.Files.SettingsFilePath, state.Instance, state.Settings,
                                           state.Channels, messages, dialogOrigin, state.SyncToDisk);
    ReleaseInstanceMutex(markers, state.Instance);
    return written;
}

}  // namespace kestrum
