#include "document/edit_commands.h"

#include <memory>

#include "document/protocol_document.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"

namespace kestrum {
namespace {

// After an edit: Select All, Find and Replace by their rule.
void ApplyEditSearchRule(EditCommandContext& c) {
    c.state.EditSearchCommandsEnabled = EditSearchCommandsAllowed(c.field.LineCount(), c.recording.Running);
}

}  // namespace

bool EditSearchCommandsAllowed(int protocolLines, bool running) { return protocolLines > 0 && !running; }

void EditSearchHooks::CloseFindDialog() {
    if (!dialogs_) return;
    dialogs_->Close(SearchDialogKind::Find);
    dialogs_->Close(SearchDialogKind::Replace);
}

void MainMenuEditCopyOnClick(EditCommandContext& c) {
    auto selection = std::make_shared<ProtocolDocument>();
    c.field.ReadSelectedLines(*selection);
    c.field.CopySelection([selection] { return WriteRtf(*selection, false); });
}

void MainMenuEditCutOnClick(EditCommandContext& c) {
    MainMenuEditCopyOnClick(c);
    c.field.DeleteSelection();
    ApplyEditSearchRule(c);
}

void MainMenuEditPasteOnClick(EditCommandContext& c) {
    ClipboardContent content = c.field.Clipboard();
    if (content.HasText) {
        c.field.ReplaceSelection(content.Text);
    } else if (content.HasRtf) {
        ProtocolDocument pasted;
        ReadRtf(content.Rtf, pasted);  // a damaged end loses only what follows it
        content.Rtf.clear();
        c.field.ReplaceSelectionWithLines(pasted);
    }
    ApplyEditSearchRule(c);
}

void MainMenuEditDeleteOnClick(EditCommandContext& c) {
    c.field.DeleteSelection();
    ApplyEditSearchRule(c);
}

bool MakeSearchContext(EditCommandContext& c, const std::function<void(SearchContext&)>& action) {
    if (!c.messages || !c.dialogs || !c.options || !c.exeBaseName) return false;
    SearchContext search{c.state.Search, c.state.SearchFromTop, c.field, *c.messages, *c.dialogs, *c.options,
                         *c.exeBaseName};
    action(search);
    return true;
}

void AddDocumentCommands(CommandTable& table, EditCommandContext& c) {
    Command edit;
    edit.Name = "MainMenuEdit";
    edit.Run = [&c](const CommandCall&) {
        // Running first: counting the lines would wait for the field.
        c.state.EditSearchCommandsEnabled = !c.recording.Running && c.field.LineCount() > 0;
    };
    table.Add(std::move(edit));

    const auto add = [&table](const char* name, std::function<void()> run, std::function<bool()> enabled) {
        table.Add({name, [run = std::move(run)](const CommandCall&) { run(); }, std::move(enabled), {}, true});
    };
    const auto idle = [&c] { return !c.recording.Running; };
    const auto selection = [&c, idle] { return idle() && c.field.SelectionLength() > 0; };
    const auto searchable = [&c, idle] { return idle() && c.state.EditSearchCommandsEnabled; };
    add("MainMenuEditUndo", [&c] { c.field.Undo(); }, [&c, idle] { return idle() && c.field.CanUndo(); });
    add("MainMenuEditCopy", [&c] { MainMenuEditCopyOnClick(c); }, selection);
    add("MainMenuEditCut", [&c] { MainMenuEditCutOnClick(c); }, selection);
    add("MainMenuEditPaste", [&c] { MainMenuEditPasteOnClick(c); },
        [&c, idle] { return idle() && c.field.ClipboardHasText(); });
    add("MainMenuEditDelete", [&c] { MainMenuEditDeleteOnClick(c); }, selection);
    add("MainMenuEditSelectAll", [&c] { c.field.SelectAll(); }, searchable);
    add("MainMenuEditFind",
        [&c] { MakeSearchContext(c, [](SearchContext& s) { OpenSearchDialog(s, SearchDialogKind::Find); }); },
        searchable);
    add("MainMenuEditReplace",
        [&c] { MakeSearchContext(c, [](SearchContext& s) { OpenSearchDialog(s, SearchDialogKind::Replace); }); },
        searchable);
}

}  // namespace kestrum
