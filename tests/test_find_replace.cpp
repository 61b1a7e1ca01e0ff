// The find and replace state machine over a fake field, with scripted
// dialogs and recorded message boxes.
#include "document/find_replace.h"

#include <gtest/gtest.h>

#include "fakes/fake_protocol_field.h"
#include "fakes/recording_message_boxes.h"

namespace kestrum {
namespace {

class ScriptedSearchDialogs : public SearchDialogs {
public:
    SearchDialogInput Value;
    ScreenRect Main{100, 50, 600, 400};
    ScreenRect Area{0, 0, 1280, 1000};
    int Measures = 0;
    std::array<bool, 2> Visible{};
    ScreenPoint ShownAt;

    ScreenRect MeasureSize(SearchDialogKind) override {
        ++Measures;
        return {0, 0, 300, 150};
    }
    void Show(SearchDialogKind kind, ScreenPoint position) override {
        Visible[static_cast<std::size_t>(kind)] = true;
        ShownAt = position;
    }
    void Close(SearchDialogKind kind) override { Visible[static_cast<std::size_t>(kind)] = false; }
    bool IsVisible(SearchDialogKind kind) override { return Visible[static_cast<std::size_t>(kind)]; }
    SearchDialogInput Input(SearchDialogKind) override { return Value; }
    ScreenRect MainWindowFrame() override { return Main; }
    ScreenRect AvailableArea() override { return Area; }
};

class FindReplaceTest : public ::testing::Test {
protected:
    void Protocol(const std::string& text, int caret = 0) {
        field.SetText(text);
        field.SetCaretPosition(caret);
    }
    void Find(const std::string& text, bool matchCase = false, bool wholeWord = false) {
        dialogs.Value = {text, dialogs.Value.ReplaceText, wholeWord, matchCase};
        FindDialogOnFind(context);
    }
    void Open(SearchDialogKind kind) { OpenSearchDialog(context, kind); }
    std::string Selected() const { return field.SelectedText(); }

    SearchState search;
    bool searchFromTop = true;
    fakes::FakeProtocolField field;
    RecordingMessageBoxes messages;
    ScriptedSearchDialogs dialogs;
    Options options;
    std::string exeBaseName = "kestrum";
    SearchContext context{search, searchFromTop, field, messages, dialogs, options, exeBaseName};
};

TEST_F(FindReplaceTest, DialogStandsRightOfTheWindowWithinTheScreen) {
    Open(SearchDialogKind::Find);
    EXPECT_EQ(dialogs.ShownAt.X, 701);
    EXPECT_EQ(dialogs.ShownAt.Y, 50);
    EXPECT_EQ(search.Placement[0].MessagePosition.Y, 50 + 150 + 1) << "messages just below the dialog";
    dialogs.Main = {1000, 900, 250, 300};
    Open(SearchDialogKind::Find);
    EXPECT_EQ(dialogs.ShownAt.X, 1280 - 300) << "at the right edge of the screen";
    EXPECT_EQ(dialogs.ShownAt.Y, 1000 - 150) << "within the screen's bottom";
    EXPECT_EQ(dialogs.Measures, 1) << "measured once";
    ResetSearchDialogPlacement(search);
    Open(SearchDialogKind::Replace);
    EXPECT_EQ(dialogs.Measures, 2);
}

TEST_F(FindReplaceTest, OpeningStartsAtTheTopOnceAfterARecording) {
    Protocol("abc\nabc\n", 5);
    Open(SearchDialogKind::Find);
    EXPECT_EQ(field.CaretPosition(), 0);
    EXPECT_FALSE(searchFromTop);
    field.SetCaretPosition(5);
    dialogs.Visible = {};
    Open(SearchDialogKind::Find);
    EXPECT_EQ(field.CaretPosition(), 5);
    EXPECT_TRUE(search.FindTextChanged);
    EXPECT_TRUE(search.LastSearchText.empty());
}

TEST_F(FindReplaceTest, NoMatchFromTheTopOnlyInforms) {
    Protocol("alpha\nbeta\n");
    Find("gamma");
    EXPECT_EQ(messages.Beeps, std::vector<MessageKind>{MessageKind::Information});
    ASSERT_EQ(messages.Boxes.size(), 1u);
    EXPECT_EQ(messages.Boxes[0].Text, "Find text \"gamma\" not found.");
    EXPECT_EQ(messages.Boxes[0].Buttons, MessageButtons::Ok);
    EXPECT_EQ(search.LastFoundPos, -1);
}

TEST_F(FindReplaceTest, NoMatchBelowTheCaretAsksToContinueFromTheTop) {
    for (const MessageResult answer : {MessageResult::Yes, MessageResult::Cancel}) {
        messages.Boxes.clear();
        messages.Beeps.clear();
        search = {};
        Protocol("alpha\nbeta\nalpha\n", 12);
        messages.Answer = answer;
        Find("beta");
        ASSERT_EQ(messages.Boxes.size(), 1u);
        EXPECT_EQ(messages.Beeps, std::vector<MessageKind>{MessageKind::Question});
        EXPECT_EQ(messages.Boxes[0].Text,
                  "Find text \"beta\" not found.\r\rContinue search from the beginning of the protocol?");
        EXPECT_EQ(messages.Boxes[0].Buttons, MessageButtons::YesCancel);
        if (answer == MessageResult::Yes) {
            EXPECT_EQ(field.CaretPosition(), 6);
            EXPECT_EQ(Selected(), "beta");
        } else {
            EXPECT_EQ(field.SelectionLength(), 0);
        }
    }
}

TEST_F(FindReplaceTest, FindNextMovesOnAndRestartsAtAMovedCaret) {
    Protocol("ab ab ab\n");
    Find("ab");
    EXPECT_EQ(field.CaretPosition(), 0);
    Find("ab");
    EXPECT_EQ(field.CaretPosition(), 3);
    field.SetCaretPosition(1);  // the user moves the caret
    Find("ab");
    EXPECT_EQ(field.CaretPosition(), 3);
    Find("AB", true);  // a changed text starts at the caret
    EXPECT_EQ(field.CaretPosition(), 3);
    ASSERT_EQ(messages.Boxes.size(), 1u) << "not found with match case";
    EXPECT_EQ(messages.Boxes[0].Buttons, MessageButtons::YesCancel) << "the search did not cover the whole protocol";
}

TEST_F(FindReplaceTest, WholeWordAndEmptyText) {
    Protocol("cat concat cat\n");
    Find("cat", false, true);
    Find("cat", false, true);
    EXPECT_EQ(field.CaretPosition(), 11);
    const int before = field.CaretPosition();
    Find("");
    EXPECT_EQ(field.CaretPosition(), before);
    EXPECT_TRUE(messages.Boxes.empty());
    EXPECT_FALSE(SearchButtonsEnabled(""));
    EXPECT_TRUE(SearchButtonsEnabled("x"));
}

TEST_F(FindReplaceTest, ReplaceAllNeverSearchesTheInsertedText) {
    Protocol("aaa\n");
    Open(SearchDialogKind::Replace);
    field.SetCaretPosition(2);
    dialogs.Value = {"a", "aa", false, false};
    ReplaceDialogOnReplace(context, true);
    EXPECT_EQ(field.Text(), "aaaaaa\n");
    ASSERT_EQ(messages.Boxes.size(), 1u);
    EXPECT_EQ(messages.Boxes[0].Text, "3  replacements of \"a\"");
    EXPECT_EQ(messages.Boxes[0].Origin.X, search.Placement[1].Position.X) << "at the dialog's own position";
    EXPECT_FALSE(dialogs.Visible[1]) << "the dialog closes";
    EXPECT_EQ(field.CaretPosition(), 2) << "the caret goes back";

    dialogs.Value = {"x", "y", false, false};
    dialogs.Visible[1] = true;
    ReplaceDialogOnReplace(context, true);
    ASSERT_EQ(messages.Boxes.size(), 2u);
    EXPECT_EQ(messages.Boxes[1].Text, "Find text \"x\" not found.");
    EXPECT_TRUE(dialogs.Visible[1]);

    dialogs.Value = {"", "y", false, false};
    ReplaceDialogOnReplace(context, true);
    EXPECT_EQ(field.Text(), "aaaaaa\n") << "an empty find text replaces nothing";
}

TEST_F(FindReplaceTest, ReplaceSelectsFirstThenReplacesAndFindNextMovesOn) {
    Protocol("one two one two one\n");
    Open(SearchDialogKind::Replace);
    dialogs.Value = {"one", "1", false, false};
    ReplaceDialogOnReplace(context, false);
    EXPECT_EQ(field.Text(), "one two one two one\n") << "the first press only selects";
    EXPECT_EQ(field.CaretPosition(), 0);
    EXPECT_EQ(Selected(), "one");
    ReplaceDialogOnReplace(context, false);
    EXPECT_EQ(field.Text(), "1 two one two one\n");
    EXPECT_EQ(field.CaretPosition(), 6) << "the next match is selected";
    ReplaceDialogFindNextOnClick(context);
    EXPECT_EQ(field.CaretPosition(), 14) << "Find Next goes past the selected match";
    ReplaceDialogOnReplace(context, false);
    EXPECT_EQ(field.Text(), "1 two one two 1\n") << "Replace takes the match Find Next selected";
    field.SetText("x y x y\n");
    field.SetCaretPosition(0);
    dialogs.Value = {"x", "z", false, false};
    ReplaceDialogFindNextOnClick(context);
    ReplaceDialogFindNextOnClick(context);
    EXPECT_EQ(field.CaretPosition(), 4) << "Find Next twice moves on";
    ReplaceDialogOnReplace(context, false);
    EXPECT_EQ(field.Text(), "x y z y\n");
}

}  // namespace
}  // namespace kestrum
