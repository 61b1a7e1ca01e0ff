#pragma once
// The File and Edit menus' commands that belong to the protocol document,
// and the steps of the recording engine that concern editing and searching.

#include "base/command_table.h"
#include "capture/capture_context.h"
#include "capture/recording_state.h"
#include "platform/protocol_field.h"

namespace kestrum {

// What the edit and search commands keep between calls.
struct EditState {
    // Edit > Select All, Find and Replace may be used (set by the rule
    // EditSearchCommandsAllowed whenever it is applied).
    bool EditSearchCommandsEnabled = false;
    // The next Find or Replace starts at the beginning of the protocol.
    bool SearchFromTop = true;
};

// Select All, Find and Replace are allowed exactly when the protocol has at
// least one line and nothing is running.
bool EditSearchCommandsAllowed(int protocolLines, bool running);

// The recording engine's steps that belong to editing and searching.
class EditSearchHooks final : public SearchHooks {
public:
    explicit EditSearchHooks(EditState& state) : state_(state) {}
    void RestartFindAtBeginning() override { state_.SearchFromTop = true; }
    void CloseFindDialog() override {}
    void SetEditSearchCommandsEnabled(bool enabled) override { state_.EditSearchCommandsEnabled = enabled; }

private:
    EditState& state_;
};

struct EditCommandContext {
    EditState& state;
    ProtocolField& field;
    const RecordingState& recording;
};

// Adds the File and Edit menus (opening the Edit menu applies the rule of
// Select All, Find and Replace) and their document commands. Select All,
// Find and Replace are enabled by EditState; the commands whose work is not
// built yet (New, Open, Save, Save as and the edit commands) stay disabled.
// File > Print is added by AddPrintCommand.
void AddDocumentCommands(CommandTable& table, EditCommandContext& context);

}  // namespace kestrum
