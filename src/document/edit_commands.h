#pragma once
// The Edit menu's commands, the steps of the recording engine that concern
// editing and searching, and the Find and Replace commands.

#include <functional>
#include <string>

#include "base/command_table.h"
#include "capture/capture_context.h"
#include "capture/recording_state.h"
#include "document/find_replace.h"
#include "document/search_dialogs.h"
#include "platform/message_box.h"
#include "platform/protocol_field.h"
#include "settings/options.h"

namespace kestrum {

// What the edit and search commands keep between calls.
struct EditState {
    // Edit > Select All, Find and Replace may be used (set by the rule
    // EditSearchCommandsAllowed whenever it is applied).
    bool EditSearchCommandsEnabled = false;
    // The next Find or Replace starts at the beginning of the protocol.
    bool SearchFromTop = true;
    SearchState Search;
};

// Select All, Find and Replace are allowed exactly when the protocol has at
// least one line and nothing is running.
bool EditSearchCommandsAllowed(int protocolLines, bool running);

// The recording engine's steps that belong to editing and searching.
// Starting a recording or a sending closes both search dialogs, so that no
// replacement runs while lines are being written.
class EditSearchHooks final : public SearchHooks {
public:
    explicit EditSearchHooks(EditState& state, SearchDialogs* dialogs = nullptr) : state_(state), dialogs_(dialogs) {}
    void RestartFindAtBeginning() override { state_.SearchFromTop = true; }
    void CloseFindDialog() override;
    void SetEditSearchCommandsEnabled(bool enabled) override { state_.EditSearchCommandsEnabled = enabled; }

private:
    EditState& state_;
    SearchDialogs* dialogs_;
};

struct EditCommandContext {
    EditState& state;
    ProtocolField& field;
    const RecordingState& recording;
    MessageBoxes* messages = nullptr;  // none: Find and Replace do nothing
    SearchDialogs* dialogs = nullptr;
    const Options* options = nullptr;
    const std::string* exeBaseName = nullptr;
};

// Edit > Copy: the selection on the clipboard as plain text and as Rich
// Text with the fonts and colours of its lines.
void MainMenuEditCopyOnClick(EditCommandContext& c);
// Edit > Cut: Copy, then the selection deleted.
void MainMenuEditCutOnClick(EditCommandContext& c);
// Edit > Paste: the clipboard's plain text replaces the selection; Rich Text
// is read (with its formats) only when no plain text is offered.
void MainMenuEditPasteOnClick(EditCommandContext& c);
// Edit > Delete: the selection, or with none the character after the caret.
void MainMenuEditDeleteOnClick(EditCommandContext& c);

// The search commands' context, when the dialogs and messages exist.
bool MakeSearchContext(EditCommandContext& c, const std::function<void(SearchContext&)>& action);

// Adds the Edit menu (opening it applies the rule of Select All, Find and
// Replace) with Undo, Copy, Cut, Paste, Delete, Select All, Find and
// Replace. While Running every edit command is disabled; Undo needs
// something to undo, Copy, Cut and Delete a selection, Paste text on the
// clipboard, Select All, Find and Replace EditState's flag.
void AddDocumentCommands(CommandTable& table, EditCommandContext& context);

}  // namespace kestrum
