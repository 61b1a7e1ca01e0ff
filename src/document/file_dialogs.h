#pragma once
// The open and save dialogs of the File menu. The GUI implements them; tests
// answer them from a script.

#include <optional>
#include <string>

namespace kestrum {

// The filter list of both dialogs: description and pattern pairs, '|'
// between the parts. Filter index 1 is the first pair.
inline constexpr const char* kProtocolFileFilter =
    "Rich Text Format (*.RTF)|*.RTF|ASCII Text Datei  (*.TXT)|*.TXT|alle Dateien          (*.*)|*.*";
// The extension added to a typed name that has none.
inline constexpr const char* kProtocolFileDefaultExtension = "RTF";

struct FileDialogRequest {
    std::string Title;      // Windows-1252
    std::string Directory;  // the folder shown first
    std::string FileName;   // the name proposed, without folder
    int FilterIndex = 1;    // 1..3 in kProtocolFileFilter
};

struct FileDialogResult {
    std::string Path;     // the chosen file with its folder
    int FilterIndex = 1;  // the filter chosen last
};

class ProtocolFileDialogs {
public:
    virtual ~ProtocolFileDialogs() = default;
    // A file to open; only an existing file can be chosen. Nothing when the
    // user cancels.
    virtual std::optional<FileDialogResult> Open(const FileDialogRequest& request) = 0;
    // A file to save to, in an existing folder; the user confirms replacing
    // an existing file. Nothing when the user cancels.
    virtual std::optional<FileDialogResult> Save(const FileDialogRequest& request) = 0;
};

}  // namespace kestrum
