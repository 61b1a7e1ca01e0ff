#pragma once
// Find and replace in the protocol: the forward-only search with its
// wrap-around question, Replace and Replace All, and the placement of the
// two modeless dialogs beside the main window.

#include <array>
#include <string>

#include "document/search_dialogs.h"
#include "platform/message_box.h"
#include "platform/protocol_field.h"
#include "settings/options.h"

namespace kestrum {

// Where a dialog stands and where its messages go.
struct SearchDialogPlacement {
    bool Measured = false;  // its size is known
    int Width = 0;
    int Height = 0;
    ScreenPoint Position;         // the dialog's top-left corner
    ScreenPoint MessagePosition;  // not-found messages, just below the dialog
};

// The search state, one set for both dialogs.
struct SearchState {
    std::string LastSearchText;  // the find text of the previous search
    int SearchStart = 0;         // where the next search begins
    int LastFoundPos = -1;       // the last match, or where the search last started
    bool FindTextChanged = true;     // the find dialog's SearchTextChanged
    bool ReplaceTextChanged = true;  // the replace dialog's SearchTextChanged
    bool SearchFound = false;
    bool SearchAnswer = false;       // Yes to "continue from the beginning?"
    bool AdvanceAfterFind = false;   // a match moves SearchStart past itself (replace dialog)
    std::array<SearchDialogPlacement, 2> Placement;  // by SearchDialogKind
};

struct SearchContext {
    SearchState& search;
    bool& searchFromTop;  // the next opening puts the caret at the start first
    ProtocolField& field;
    MessageBoxes& messages;
    SearchDialogs& dialogs;
    const Options& options;          // the language of the messages
    const std::string& exeBaseName;  // the caption of the messages
};

// Forgets the dialogs' measured sizes and positions (window creation).
void ResetSearchDialogPlacement(SearchState& search);

// Just right of the main window (`mainFrame`), at its top; within
// `available`, so a window at the right edge pushes the dialog to the left.
ScreenPoint SearchDialogPosition(const ScreenRect& mainFrame, const ScreenRect& available, int width, int height);

// MainMenuEditFindOnClick / MainMenuEditReplaceOnClick: measures the dialog
// the first time, places it, puts the caret at the start when
// searchFromTop is set (and clears it), and shows the dialog; a dialog that
// was not visible yet runs its OnShow.
void OpenSearchDialog(SearchContext& c, SearchDialogKind kind);

// The dialogs' OnShow: the dialog's SearchTextChanged set, LastSearchText
// emptied; the replace dialog also sets AdvanceAfterFind.
void FindDialogOnShow(SearchState& search);
void ReplaceDialogOnShow(SearchState& search);

// Find Next of the find dialog. An empty find text does nothing.
void FindDialogOnFind(SearchContext& c);
// The replace dialog's search; with `replaceAll` it starts at the top of
// the protocol, and a match moves SearchStart past itself only with
// AdvanceAfterFind.
void ReplaceDialogOnFind(SearchContext& c, bool replaceAll);
// The replace dialog's Find Next button: the search starts past a match that
// is still selected, so Find Next always moves on, and the match it selects
// stays where the next Replace looks first, so Replace takes that match.
void ReplaceDialogFindNextOnClick(SearchContext& c);
// Replace (`replaceAll` false: the first press after a new find text only
// selects the first match, each further press replaces the selected match
// and selects the next) and Replace All (every match from the top, the
// inserted text never searched again; the count is reported at the
// dialog's position and the dialog closes). An empty find text does nothing.
void ReplaceDialogOnReplace(SearchContext& c, bool replaceAll);

// Whether the dialogs' Find and Replace buttons may be used: only with a
// find text (an empty one would match everywhere and never end).
bool SearchButtonsEnabled(const std::string& findText);

}  // namespace kestrum
