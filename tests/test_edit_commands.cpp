// The Edit menu's commands and their enabling over a fake field.
#include "document/edit_commands.h"

#include <gtest/gtest.h>

#include "document/protocol_document.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "fakes/fake_protocol_field.h"

namespace kestrum {
namespace {

class EditCommandsTest : public ::testing::Test {
protected:
    EditCommandsTest() { AddDocumentCommands(table, context); }

    EditState state;
    fakes::FakeProtocolField field;
    RecordingState recording;
    EditCommandContext context{state, field, recording};
    CommandTable table;
};

TEST_F(EditCommandsTest, EveryEditCommandIsDisabledWhileRunning) {
    field.SetText("line\n");
    field.Select(0, 2);
    field.UndoAvailable = true;
    field.Offered.HasText = true;
    table.Execute("MainMenuEdit", {});
    const char* items[] = {"MainMenuEditUndo",   "MainMenuEditCopy",      "MainMenuEditCut",  "MainMenuEditPaste",
                           "MainMenuEditDelete", "MainMenuEditSelectAll", "MainMenuEditFind", "MainMenuEditReplace"};
    for (const char* item : items) EXPECT_TRUE(table.IsEnabled(item)) << item;
    recording.Running = true;
    for (const char* item : items) EXPECT_FALSE(table.IsEnabled(item)) << item;
}

TEST_F(EditCommandsTest, EnablingFollowsSelectionUndoAndClipboard) {
    field.SetText("line\n");
    EXPECT_FALSE(table.IsEnabled("MainMenuEditCopy")) << "nothing selected";
    EXPECT_FALSE(table.IsEnabled("MainMenuEditUndo"));
    EXPECT_FALSE(table.IsEnabled("MainMenuEditPaste"));
    field.Offered.HasRtf = true;
    EXPECT_TRUE(table.IsEnabled("MainMenuEditPaste")) << "Rich Text alone can be pasted";
}

TEST_F(EditCommandsTest, DeleteTakesTheSelectionOrTheNextCharacter) {
    field.SetText("abcd\n");
    field.SetCaretPosition(1);
    MainMenuEditDeleteOnClick(context);
    EXPECT_EQ(field.Text(), "acd\n");
    field.Select(1, 2);
    MainMenuEditDeleteOnClick(context);
    EXPECT_EQ(field.Text(), "a\n");
}

TEST_F(EditCommandsTest, CopyOffersTextAndRichTextOfTheSelectedLines) {
    field.Current = {"Courier New", 10, 0x0000FF, 1};
    field.AppendLine("COM1 first");
    field.Current = {"FixedSys", 11, 0x00FF00, 0};
    field.AppendLine("COM2 second");
    field.Select(5, 13);  // "first\nCOM2 se"
    table.Execute("MainMenuEditCopy", {});
    EXPECT_EQ(field.CopiedText, "first\nCOM2 se");
    ProtocolDocument pasted;
    ASSERT_TRUE(ReadRtf(field.CopiedRtf, pasted).Ok());
    ASSERT_EQ(pasted.LineCount(), 2u) << "no line end after the last piece";
    EXPECT_EQ(pasted.LineText(0), "first");
    EXPECT_EQ(pasted.LineText(1), "COM2 se");
    EXPECT_EQ(pasted.Format(pasted.Run(0, 0).Format), (TextAttributes{"Courier New", 10, 0x0000FF, 1}));
    EXPECT_EQ(pasted.Format(pasted.Run(1, 0).Format), (TextAttributes{"FixedSys", 11, 0x00FF00, 0}));
    MainMenuEditCutOnClick(context);
    EXPECT_EQ(field.Text(), "COM1 cond\n");
}

TEST_F(EditCommandsTest, PasteTakesTextBeforeRichText) {
    field.SetText("ab\n");
    field.SetCaretPosition(1);
    field.Offered = {true, "1\r\n2", true, "{\\rtf1 ignored}"};
    MainMenuEditPasteOnClick(context);
    EXPECT_EQ(field.Text(), "a1\n2b\n");
    field.Offered = {false, "", true, "{\\rtf1 x\\par y}"};
    MainMenuEditPasteOnClick(context);
    EXPECT_EQ(field.Text(), "a1\n2x\nyb\n");
    EXPECT_TRUE(state.EditSearchCommandsEnabled);
}

}  // namespace
}  // namespace kestrum
