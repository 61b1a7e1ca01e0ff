#pragma once
// Where the capture file of a recording goes.

#include <string>

#include "platform/clock.h"
#include "settings/options.h"

namespace kestrum {

// "<base>-YYYYMMDD-HHMMSS.pcapng" for the local date-time `now`
// (e.g. "kestrum-20240501-093005.pcapng").
std::string CaptureFileName(const std::string& exeBaseName, DateTime now);

// The folder of the capture files: CaptureDirectory, or the monitor-mode
// protocol folder when that is empty.
std::string CaptureFolder(const Options& options);

// A path in `folder` named by CaptureFileName that no file has yet: the name
// itself, else with "-2", "-3", ... before the extension.
std::string NewCaptureFilePath(const std::string& folder, const std::string& exeBaseName, DateTime now);

}  // namespace kestrum
