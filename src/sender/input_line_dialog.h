#pragma once
// TFormGetInputLine as the manual send sees it: a modal dialog with an
// editable list of recent entries (GetInputLine). The GUI implements it over
// Qt widgets; tests use a scripted fake.

#include <string>
#include <vector>

namespace kestrum {

struct InputLineRequest {
    std::string Caption;  // window title
    std::string Prompt;   // the label above the input field
    bool Highlight = true;   // the proposed text is shown selected
    bool KeepText = false;   // the field shows `text` instead of the latest entry
    int Language = 1;        // captions of the buttons (1 English, 2 German)
    int MaxLength = 0;       // most characters the field takes; 0: no limit
};

struct InputLineOutcome {
    bool Cancelled = true;
    bool Cleared = false;  // "Clear History" was clicked and no key typed after it
};

class InputLineDialog {
public:
    virtual ~InputLineDialog() = default;
    // Shows the dialog modally. `list` holds `count` entries, newest first
    // (single-byte texts); the dialog keeps at most `maxCount`. On OK `list`
    // (resized to `maxCount`, slots past the new count empty), `count` and
    // `text` hold the dialog's result; on Cancel they are unchanged.
    virtual InputLineOutcome GetInputLine(const InputLineRequest& request, std::string& text,
                                          std::vector<std::string>& list, int& count, int maxCount) = 0;
};

}  // namespace kestrum
