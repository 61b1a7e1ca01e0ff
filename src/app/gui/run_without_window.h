#pragma once
// The command-line requests that are answered without the main window:
// --help, --version, --print-to-pdf, and a malformed request.

#include <optional>
#include <string>

namespace kestrum {

// Answers the request of the command line when it needs no window: usage
// or version to standard output (status 0), a protocol file printed into
// a PDF file (status 0 or 1), or what is wrong to standard error (status
// 1). Returns the exit status then; nothing when the window is to open.
// Call it before any QApplication exists.
std::optional<int> RunWithoutWindow(int& argc, char** argv, const std::string& version);

}  // namespace kestrum
