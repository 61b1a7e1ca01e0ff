#pragma once
// The state of the capture file: the file of the recording running now, and
// the file the command line names for the whole run of the program.

#include <memory>
#include <string>

#include "capture/capture_file_recorder.h"

namespace kestrum {

struct CaptureFileState {
    // "--capture FILE" on the command line: every recording of this run
    // writes FILE, whatever the settings say (the first replaces it, each
    // later one adds a section).
    std::string CommandLinePath;
    bool CommandLinePathWritten = false;
    // The file of the recording running now; null when none is written.
    std::unique_ptr<CaptureFileRecorder> Recorder;
    // The path of the latest file begun.
    std::string Path;
};

}  // namespace kestrum
