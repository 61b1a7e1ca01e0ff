#pragma once
// Whole-file reading and safe replacement of files.

#include <string>
#include <system_error>

namespace kestrum {

// Reads the whole file as bytes. A file that does not exist reads as empty
// text; any other failure (a folder at the path, a read error) returns false
// with the reason in `error`.
bool ReadWholeFile(const std::string& path, std::string& text, std::error_code& error);

// Forces a written file or folder onto the storage device; false when it
// cannot be opened or flushed. The platform provides it (SyncToDisk).
using SyncToDiskFunction = bool (*)(const std::string& path);

// Writes `text` to a new file in the same folder, flushes it with `sync`
// and renames it over `path`, so that `path` holds either its old content or
// the complete new one, never a part; the folder is flushed after the
// rename. A symbolic link at `path` stays a link: its target is replaced.
// The old file's permissions are kept. On failure the old file is untouched,
// the new file is removed and the reason is in `error`.
bool ReplaceFileContent(const std::string& path, const std::string& text, std::error_code& error,
                        SyncToDiskFunction sync);

}  // namespace kestrum
