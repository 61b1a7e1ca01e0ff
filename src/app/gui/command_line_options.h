#pragma once
// The command line of the window: the program's own options taken out of
// the arguments Qt gives.

#include <QStringList>

#include "capture/capture_file_state.h"

namespace kestrum {

// `arguments` without "--capture FILE"; FILE goes into
// `captureFile.CommandLinePath`. A "--capture" without a file name is
// reported on the standard error output and otherwise ignored.
QStringList TakeProgramOptions(const QStringList& arguments, CaptureFileState& captureFile);

}  // namespace kestrum
