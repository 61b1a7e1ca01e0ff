#pragma once
// The folder for the small files that running instances of the program
// share (instance lock files, the sync event): $XDG_RUNTIME_DIR when it is
// an absolute path to an existing folder, else the per-user folder
// /tmp/kestrum-<uid> (created with mode 0700 when missing, and refused unless
// it is a real folder owned by this user that nobody else may write to).

#include <string>

namespace kestrum {

// The folder, without a trailing '/'; empty when none can be used.
std::string RuntimeFolder();

}  // namespace kestrum
