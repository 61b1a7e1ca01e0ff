#pragma once
// The current protocol file of each mode: its name, extension and path, and
// the rules that make them from the folder, a chosen file and the filter of
// a file dialog. Monitor mode and sender mode keep their own file, so that a
// recorded protocol and a protocol to be sent never share one.

#include <array>
#include <string>

#include "settings/options.h"

namespace kestrum {

// One mode's protocol file. The folder is the mode's ProtocolDirectory
// setting (ModeFileOptions).
struct ProtocolFile {
    std::string ProtocolFileName = "Test";  // without folder and extension
    std::string ProtocolFileExt;            // with its dot (".RTF"), or empty
    std::string ProtocolFilePath;           // the full path Save writes to
    bool operator==(const ProtocolFile&) const = default;
};

// Both modes' files: index 0 monitor mode, 1 sender mode.
struct ProtocolFileState {
    std::array<ProtocolFile, 2> Modes;
};

// The file and the file settings of the mode that is current now (read
// from MonitorMode each time, so that a mode switch takes effect at once).
ProtocolFile& CurrentProtocolFile(ProtocolFileState& files, const Options& options);
const ProtocolFile& CurrentProtocolFile(const ProtocolFileState& files, const Options& options);
ModeFileOptions& CurrentModeFileOptions(Options& options);

// Extension of a dialog filter index: 1 ".RTF", 2 ".TXT", any other none.
std::string FilterExtension(int filterIndex);

// The extension a file chosen with filter `filterIndex` gets: the filter's
// extension, except that a `typedExtension` equal to it in another letter
// case is kept (so "log.rtf" stays "log.rtf" on a file system that tells
// cases apart). Filter 3 keeps the typed extension.
std::string ExtensionForFilter(const std::string& typedExtension, int filterIndex);

// `folder` and `fileName` joined with one separator; a folder that already
// ends with one (a root such as "/") gets no second. An empty folder gives
// `fileName` alone.
std::string JoinProtocolPath(const std::string& folder, const std::string& fileName);

// The parts of a path: folder (without a trailing separator, except a
// root), name without extension, extension with its dot. A name that only
// begins with a dot (".log") has no extension.
struct ProtocolPathParts {
    std::string Directory;
    std::string Name;
    std::string Ext;
};
ProtocolPathParts SplitProtocolPath(const std::string& path);

// `path` with its extension replaced by `extension` (added when it has none;
// removed when `extension` is empty).
std::string ChangeExtension(const std::string& path, const std::string& extension);

// The default file of a mode: "Test" with the extension of its save
// dialog's filter index, in its protocol folder.
void SetDefaultProtocolFile(ProtocolFile& file, const ModeFileOptions& mode);
// The default file of both modes (window creation).
void SetDefaultProtocolFiles(ProtocolFileState& files, const Options& options);

// File name and extension of the current mode, as the window caption shows
// them.
std::string ProtocolFileTitle(const ProtocolFileState& files, const Options& options);

}  // namespace kestrum
