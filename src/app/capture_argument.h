#pragma once
// The capture file option of the command line, taken before the parameters
// of its window ("/?", a protocol file) are looked at.

#include <string>
#include <vector>

namespace kestrum {

struct CaptureArgument {
    std::string Path;     // the file, made absolute; empty when none was given
    std::string Problem;  // "--capture" without a file name (the option is then ignored)
};

// Takes every "--capture FILE" and "--capture=FILE" out of `arguments`
// (element 0, the program, is never looked at), so that the remaining
// parameters keep their meaning by position; the last one given counts.
// A relative FILE is taken relative to the current folder.
CaptureArgument TakeCaptureArgument(std::vector<std::string>& arguments);

}  // namespace kestrum
