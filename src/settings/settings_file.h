#pragma once
// Reading the settings file at start-up and writing it at the end of a run.

#include <string>

#include "base/instance_info.h"
#include "base/channel_table.h"
#include "base/atomic_file.h"
#include "platform/message_box.h"
#include "settings/options.h"

namespace kestrum {

// Reads every option, the font entries, IDs and channel settings from the
// file at `path` (a missing or unreadable file gives the defaults) and
// applies the load ranges. The master instance does not read `Synchronize`
// (it starts false); the others do not read `WindowState`, `Left` and `Top`
// (0; window creation places them). `localeLanguage` replaces a `Language`
// other than 1 or 2. Values that do not fit their field load as the key's
// default. Only the saved fields of `channels` are changed; each channel's
// InputHistory ends up with exactly InputLineMaxHistoryCount entries.
void ReadSettingsFile(const std::string& path, const InstanceInfo& instance, int localeLanguage,
                      Options& options, ChannelTable& channels);

// Writes the settings into the file at `path`, keeping every section and key
// of the file that is not written here. With `SaveSettings` off only that key
// changes. `FormMain` is written by the master only, `Synchronize` only by
// instances above 1. The file is replaced as a whole, so a failure leaves the
// old file as it was; the failure is shown as an error message (beep, then a
// box at `dialogOrigin`) and the result is false. `sync` flushes the new
// file to the disk before it replaces the old one.
bool WriteSettingsFile(const std::string& path, const InstanceInfo& instance, const Options& options,
                       const ChannelTable& channels, MessageBoxes& messages, ScreenPoint dialogOrigin,
                       SyncToDiskFunction sync);

}  // namespace kestrum
