#include "document/find_replace.h"

#include <algorithm>

#include "document/system_text.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

int Length(const std::string& text) { return static_cast<int>(text.size()); }

SearchDialogPlacement& PlacementOf(SearchState& search, SearchDialogKind kind) {
    return search.Placement[static_cast<std::size_t>(kind)];
}

std::string Caption(const SearchContext& c) { return SystemText(c.exeBaseName); }

std::string NotFoundText(const SearchContext& c, const std::string& findText) {
    return LanguageText(kTextFindTextNotFound, c.options.Language, findText);
}

// One search pass of either dialog, repeated while the user answers Yes to
// "continue from the beginning?".
void FindNext(SearchContext& c, SearchDialogKind kind, bool replaceAll) {
    SearchState& s = c.search;
    const SearchDialogInput input = c.dialogs.Input(kind);
    const std::string& text = input.FindText;
    if (!SearchButtonsEnabled(text)) return;
    bool& textChanged = kind == SearchDialogKind::Find ? s.FindTextChanged : s.ReplaceTextChanged;
    if (replaceAll) c.field.SetCaretPosition(0);
    do {
        s.SearchAnswer = false;
        textChanged = text != s.LastSearchText;
        if (textChanged) {
            s.SearchStart = s.LastFoundPos = c.field.CaretPosition();
            s.LastSearchText = text;
        }
        const int caret = c.field.CaretPosition();
        if (caret != s.LastFoundPos) s.SearchStart = s.LastFoundPos = caret;
        const bool wholeProtocol = s.SearchStart == 0;
        const int found = c.field.Find(text, s.SearchStart, {input.WholeWord, input.MatchCase});
        if (found >= 0) {
            c.field.Select(found, Length(text));
            s.LastFoundPos = found;
            if (kind == SearchDialogKind::Find || s.AdvanceAfterFind) s.SearchStart = found + Length(text);
            s.LastSearchText = text;
            s.SearchFound = true;
            continue;
        }
        s.SearchFound = false;
        s.LastFoundPos = -1;
        const ScreenPoint where = PlacementOf(s, kind).MessagePosition;
        if (wholeProtocol) {
            c.messages.Beep(MessageKind::Information);
            c.messages.Show(MessageKind::Information, Caption(c), NotFoundText(c, text), where, MessageButtons::Ok);
        } else {
            c.messages.Beep(MessageKind::Question);
            const std::string question = NotFoundText(c, text) + "\r\r" +
                                         LanguageText(kTextContinueFromBeginning, c.options.Language);
            s.SearchAnswer = c.messages.Show(MessageKind::Question, Caption(c), question, where,
                                             MessageButtons::YesCancel) == MessageResult::Yes;
            if (s.SearchAnswer) {
                c.field.SetCaretPosition(0);
                s.SearchStart = s.LastFoundPos = 0;
            }
        }
    } while (s.SearchAnswer);
}

void ReplaceAll(SearchContext& c) {
    SearchState& s = c.search;
    const SearchDialogInput input = c.dialogs.Input(SearchDialogKind::Replace);
    if (!SearchButtonsEnabled(input.FindText)) return;
    const int caret = c.field.CaretPosition();
    c.field.SetCaretPosition(0);
    s.SearchStart = 0;
    s.AdvanceAfterFind = false;
    ReplaceDialogOnFind(c, true);
    int count = 0;
    if (s.SearchFound) {
        count = c.field.ReplaceAll(input.FindText, input.ReplaceText, s.LastFoundPos,
                                   {input.WholeWord, input.MatchCase}, s.LastFoundPos);
        s.SearchStart = s.LastFoundPos + Length(input.ReplaceText);
        s.SearchFound = false;
    }
    if (count == 0) return;
    c.dialogs.Close(SearchDialogKind::Replace);
    c.messages.Beep(MessageKind::Information);
    const int language = c.options.Language;
    const std::string text = std::to_string(count) +
                             LanguageText(count == 1 ? kTextReplacementOf : kTextReplacementsOf, language) +
                             input.FindText + "\"";
    c.messages.Show(MessageKind::Information, Caption(c), text, PlacementOf(s, SearchDialogKind::Replace).Position,
                    MessageButtons::Ok);
    c.field.SetCaretPosition(caret);
}

void ReplaceOnce(SearchContext& c) {
    SearchState& s = c.search;
    const SearchDialogInput input = c.dialogs.Input(SearchDialogKind::Replace);
    if (!SearchButtonsEnabled(input.FindText)) return;
    do {
        s.SearchAnswer = false;
        if (s.ReplaceTextChanged) s.SearchStart = c.field.CaretPosition();
        s.AdvanceAfterFind = true;
        ReplaceDialogOnFind(c, false);
        // The first press after a new find text only selects the first match.
        if (!s.SearchFound || s.ReplaceTextChanged) break;
        c.field.Select(s.LastFoundPos, Length(input.FindText));
        c.field.ReplaceSelection(input.ReplaceText);
        c.field.SetCaretPosition(s.LastFoundPos + Length(input.ReplaceText));
        s.AdvanceAfterFind = false;
        ReplaceDialogOnFind(c, false);
    } while (s.SearchAnswer);
}

}  // namespace

void ResetSearchDialogPlacement(SearchState& search) { search.Placement = {}; }

ScreenPoint SearchDialogPosition(const ScreenRect& mainFrame, const ScreenRect& available, int width, int height) {
    const int right = available.Left + available.Width - width;
    const int bottom = available.Top + available.Height - height;
    const int x = std::max(available.Left, std::min(mainFrame.Left + mainFrame.Width + 1, right));
    const int y = std::max(available.Top, std::min(mainFrame.Top, bottom));
    return {x, y};
}

void OpenSearchDialog(SearchContext& c, SearchDialogKind kind) {
    SearchDialogPlacement& placement = PlacementOf(c.search, kind);
    if (!placement.Measured) {
        const ScreenRect size = c.dialogs.MeasureSize(kind);
        placement.Width = size.Width;
        placement.Height = size.Height;
        placement.Measured = true;
    }
    placement.Position = SearchDialogPosition(c.dialogs.MainWindowFrame(), c.dialogs.AvailableArea(),
                                              placement.Width, placement.Height);
    placement.MessagePosition = {placement.Position.X, placement.Position.Y + placement.Height + 1};
    if (c.searchFromTop) c.field.SetCaretPosition(0);
    const bool wasVisible = c.dialogs.IsVisible(kind);
    c.dialogs.Show(kind, placement.Position);
    c.searchFromTop = false;
    if (wasVisible) return;
    if (kind == SearchDialogKind::Find) FindDialogOnShow(c.search);
    else ReplaceDialogOnShow(c.search);
}

void FindDialogOnShow(SearchState& search) {
    search.FindTextChanged = true;
    search.LastSearchText.clear();
}

void ReplaceDialogOnShow(SearchState& search) {
    search.ReplaceTextChanged = true;
    search.AdvanceAfterFind = true;
    search.LastSearchText.clear();
}

void FindDialogOnFind(SearchContext& c) { FindNext(c, SearchDialogKind::Find, false); }

void ReplaceDialogOnFind(SearchContext& c, bool replaceAll) { FindNext(c, SearchDialogKind::Replace, replaceAll); }

void ReplaceDialogFindNextOnClick(SearchContext& c) {
    SearchState& s = c.search;
    const std::string findText = c.dialogs.Input(SearchDialogKind::Replace).FindText;
    // Past the match that is still selected; the new match keeps SearchStart
    // before it, so that Replace takes the match this press selected.
    if (s.LastFoundPos >= 0 && findText == s.LastSearchText && c.field.CaretPosition() == s.LastFoundPos)
        s.SearchStart = s.LastFoundPos + Length(findText);
    s.AdvanceAfterFind = false;
    ReplaceDialogOnFind(c, false);
}

void ReplaceDialogOnReplace(SearchContext& c, bool replaceAll) {
    if (replaceAll) ReplaceAll(c);
    else ReplaceOnce(c);
}

bool SearchButtonsEnabled(const std::string& findText) { return !findText.empty(); }

}  // namespace kestrum
