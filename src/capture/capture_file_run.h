#pragma once
// The capture file over a recording: begun when the Start button goes down
// (in either mode: sender mode writes what it sends and what comes back),
// ended when it comes up, when a recording ends by itself and when the
// window closes.

#include "capture/capture_context.h"

namespace kestrum {

// With "--capture FILE" or the option CaptureFile on: opens the file (the
// command line's, else a new one in CaptureFolder named by the date and
// time) and hands it to the serial ports as their traffic recorder. A file
// that cannot be written is reported in an error box ("Writing the capture
// file %1 failed:\r%2") and the recording goes on without it.
void BeginCaptureFile(CaptureContext& c);

// Takes the recorder back from the ports and closes the file, complete; a
// file that could not be written completely is reported as above. Does
// nothing when no file is open.
void EndCaptureFile(CaptureContext& c);

}  // namespace kestrum
