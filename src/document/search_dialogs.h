#pragma once
// The modeless Find and Replace dialogs. The GUI implements them; each
// button of a dialog runs the matching handler of find_replace.h.

#include <string>

#include "base/screen_point.h"

namespace kestrum {

enum class SearchDialogKind : int { Find = 0, Replace = 1 };

struct ScreenRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// What the user has entered in a dialog.
struct SearchDialogInput {
    std::string FindText;     // Windows-1252
    std::string ReplaceText;  // the replace dialog only
    bool WholeWord = false;
    bool MatchCase = false;
};

class SearchDialogs {
public:
    virtual ~SearchDialogs() = default;
    // The dialog's outer width and height: it is shown once, measured and
    // closed again (Left and Top are 0).
    virtual ScreenRect MeasureSize(SearchDialogKind kind) = 0;
    // Shows the dialog without blocking, its outer top-left corner at
    // `position`, and activates it.
    virtual void Show(SearchDialogKind kind, ScreenPoint position) = 0;
    virtual void Close(SearchDialogKind kind) = 0;
    virtual bool IsVisible(SearchDialogKind kind) = 0;
    virtual SearchDialogInput Input(SearchDialogKind kind) = 0;
    // The main window's outer rectangle and the part of its screen that
    // windows may use.
    virtual ScreenRect MainWindowFrame() = 0;
    virtual ScreenRect AvailableArea() = 0;
};

}  // namespace kestrum
