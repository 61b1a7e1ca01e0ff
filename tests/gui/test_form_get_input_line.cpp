// The manual-send dialog (TFormGetInputLine) as the user works it, and the
// window timer under it.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "platform/qt/qt_interval_timer.h"
#include "platform/qt/qt_protocol_field.h"
#include "platform/qt/qt_text.h"
#include "sender/gui/form_get_input_line.h"

namespace kestrum {
namespace {

using Strings = std::vector<std::string>;

struct Result {
    InputLineOutcome Outcome;
    std::string Text;
    Strings List;
    int Count = 0;
};

// Shows the dialog with `entries` and lets `user` work it once it is up.
Result Show(TFormGetInputLine& dialog, Strings entries, const std::function<void(TFormGetInputLine&)>& user,
            InputLineRequest request = {}, std::string text = {}, int maxCount = 16) {
    Result result;
    result.List = entries;
    result.List.resize(64);
    result.Count = static_cast<int>(entries.size());
    result.Text = text;
    QTimer::singleShot(0, &dialog, [&] {
        QTest::qWait(20);  // the dialog is up and has the focus
        user(dialog);
        if (dialog.isVisible()) dialog.reject();
    });
    result.Outcome = dialog.GetInputLine(request, result.Text, result.List, result.Count, maxCount);
    result.List.resize(static_cast<std::size_t>(result.Count));
    return result;
}

QLineEdit* Field(TFormGetInputLine& dialog) { return dialog.ComboBoxInputLine()->lineEdit(); }

// Types any characters, one key press each (QTest only types ASCII keys).
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

TEST(FormGetInputLine, ShowsTheNewestEntrySelectedAndAddsTheTypedText) {
    QWidget owner;
    TFormGetInputLine dialog(&owner);
    InputLineRequest request;
    request.Caption = " kestrum: Send character string from COM1";
    request.Prompt = "String to be sent:";
    bool shownSelected = false;
    const Result result = Show(dialog, {"abc", "xyz"}, [&](TFormGetInputLine& d) {
        shownSelected = Field(d)->selectedText() == "abc";
        EXPECT_EQ(d.ComboBoxInputLine()->count(), 2);
        EXPECT_EQ(d.ComboBoxInputLine()->maxVisibleItems(), 32);
        EXPECT_EQ(d.ButtonClearHistory()->text(), QString("Clear History"));
        EXPECT_EQ(d.ButtonOk()->height(), d.ComboBoxInputLine()->height());
        QTest::keyClicks(d.ComboBoxInputLine(), "ABC");  // replaces the selection
        QTest::keyClick(d.ComboBoxInputLine(), Qt::Key_Return);
    }, request);
    EXPECT_TRUE(shownSelected);
    EXPECT_EQ(dialog.windowTitle(), QString(" kestrum: Send character string from COM1"));
    EXPECT_EQ(dialog.LabelPrompt()->text(), QString("String to be sent:"));
    EXPECT_FALSE(result.Outcome.Cancelled);
    EXPECT_FALSE(result.Outcome.Cleared);
    EXPECT_EQ(result.Text, "ABC");
    EXPECT_EQ(result.List, (Strings{"ABC", "abc", "xyz"}));
}

TEST(FormGetInputLine, EscapeCancelsAndChangesNothing) {
    QWidget owner;
    TFormGetInputLine dialog(&owner);
    const Result result = Show(dialog, {"abc"}, [](TFormGetInputLine& d) {
        QTest::keyClicks(d.ComboBoxInputLine(), "new");
        QTest::keyClick(d.ComboBoxInputLine(), Qt::Key_Escape);
    }, {}, "kept");
    EXPECT_TRUE(result.Outcome.Cancelled);
    EXPECT_EQ(result.Text, "kept");
    EXPECT_EQ(result.List, Strings{"abc"});
}

TEST(FormGetInputLine, ClearHistoryMarksTheShowingUntilSomethingIsTyped) {
    QWidget owner;
    TFormGetInputLine dialog(&owner);
    Result result = Show(dialog, {"abc", "xyz"}, [](TFormGetInputLine& d) {
        d.ButtonClearHistory()->click();
        d.ButtonOk()->click();
    });
    EXPECT_TRUE(result.Outcome.Cleared);
    EXPECT_EQ(result.List, Strings{"<NullString>"});
    EXPECT_EQ(result.Text, "");

    result = Show(dialog, {"abc"}, [](TFormGetInputLine& d) {
        EXPECT_FALSE(d.HistoryClearedMark());  // a new showing starts unmarked
        d.ButtonClearHistory()->click();
        QTest::keyClicks(d.ComboBoxInputLine(), "typed");
        d.ButtonOk()->click();
    });
    EXPECT_FALSE(result.Outcome.Cleared);
    EXPECT_EQ(result.List, Strings{"typed"});
}

TEST(FormGetInputLine, KeptTextLimitsHighlightAndForeignCharacters) {
    QWidget owner;
    TFormGetInputLine dialog(&owner);
    InputLineRequest request;
    request.KeepText = true;
    request.Highlight = false;
    request.MaxLength = 255;
    request.Language = 2;
    const Result result = Show(dialog, {"abc"}, [](TFormGetInputLine& d) {
        EXPECT_EQ(Field(d)->text(), QString("41 4G"));
        EXPECT_FALSE(Field(d)->hasSelectedText());
        EXPECT_EQ(Field(d)->cursorPosition(), 5);
        EXPECT_EQ(d.ButtonCancel()->text(), QString("Abbrechen"));
        EXPECT_EQ(d.ButtonClearHistory()->text(), QString::fromUtf8("Liste l\u00F6schen"));
        Field(d)->clear();
        Type(d.ComboBoxInputLine(), QString::fromUtf8("a\u03A9\u20AC") + QString(300, 'x'));
        d.ButtonOk()->click();
    }, request, "41 4G");
    // Omega is not single-byte text; the euro sign is (0x80).
    EXPECT_EQ(result.Text, "a\x80" + std::string(253, 'x'));
    EXPECT_EQ(result.List.front(), result.Text);
}

TEST(FormGetInputLine, ThePlaceholderForNothingNeverBecomesInputText) {
    QWidget owner;
    TFormGetInputLine dialog(&owner);
    const Result result = Show(dialog, {"<NullString>", "abc"}, [](TFormGetInputLine& d) {
        EXPECT_EQ(Field(d)->text(), QString(""));  // the newest entry is the placeholder
        d.ComboBoxInputLine()->setCurrentIndex(1);
        EXPECT_EQ(Field(d)->text(), QString("abc"));
        d.ComboBoxInputLine()->setCurrentIndex(0);
        EXPECT_EQ(Field(d)->text(), QString(""));
        d.ButtonOk()->click();
    });
    EXPECT_EQ(result.Text, "");
    EXPECT_EQ(result.List, (Strings{"<NullString>", "abc"}));
}

TEST(FormGetInputLine, OpeningTheDropDownAddsTheText) {
    QWidget owner;
    TFormGetInputLine dialog(&owner);
    Strings items;
    Show(dialog, {"abc"}, [&](TFormGetInputLine& d) {
        Field(d)->setText("typed");
        d.ComboBoxInputLine()->showPopup();
        for (int i = 0; i < d.ComboBoxInputLine()->count(); ++i)
            items.push_back(QStringToCp1252(d.ComboBoxInputLine()->itemText(i)));
        d.ComboBoxInputLine()->hidePopup();
    });
    EXPECT_EQ(items, (Strings{"typed", "abc"}));
}

TEST(IntervalTimer, ZeroMeansNoTicksAndEachNewIntervalStartsAfresh) {
    QtIntervalTimer timer;
    int ticks = 0;
    timer.SetHandler([&] { ++ticks; });
    timer.SetInterval(0);
    timer.SetEnabled(true);
    QTest::qWait(50);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(timer.Ticking());
    // Typing 500 sets 5, 50, 500: the last one holds.
    for (std::uint32_t ms : {5u, 50u, 500u}) timer.SetInterval(ms);
    QTest::qWait(200);
    EXPECT_EQ(ticks, 0);
    timer.SetInterval(20);
    QTest::qWait(210);
    EXPECT_GE(ticks, 5);
    EXPECT_LE(ticks, 11);
    timer.SetEnabled(false);
    const int stopped = ticks;
    QTest::qWait(60);
    EXPECT_EQ(ticks, stopped);
}

TEST(IntervalTimer, TheHandlerNeverRunsNestedInItself) {
    QtIntervalTimer timer;
    int depth = 0, deepest = 0, ticks = 0;
    timer.SetHandler([&] {
        ++ticks;
        deepest = std::max(deepest, ++depth);
        QTest::qWait(15);  // lets events through, as a tick does
        --depth;
    });
    timer.SetInterval(2);
    timer.SetEnabled(true);
    QTest::qWait(100);
    timer.SetEnabled(false);
    EXPECT_GT(ticks, 1);
    EXPECT_EQ(deepest, 1);
}

TEST(ProtocolFieldSingleByte, CharactersOutsideWindows1252AreRefusedWhereverTheyComeFrom) {
    QPlainTextEdit edit;
    QtProtocolField field(edit);
    field.SetUserEditHandler([] {});
    field.AppendLine("line");
    field.Flush();
    edit.moveCursor(QTextCursor::End);
    Type(&edit, QString::fromUtf8("a\u03A9b\u00E4"));
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\u4E2Dc"));
    QApplication::sendEvent(&edit, &commit);
    edit.insertPlainText(QString::fromUtf8("\U0001F600d\u20AC\nx\u03A9y"));  // as a paste does
    EXPECT_EQ(field.LineText(1), "ab\xE4" "cd\x80");
    EXPECT_EQ(field.LineText(2), "xy");
    // The program's own lines are not the user's input.
    field.AppendLine("\x01 program text keeps its bytes \xB6");
    field.Flush();
    EXPECT_EQ(field.LineText(3), "\x01 program text keeps its bytes \xB6");
}

}  // namespace
}  // namespace kestrum
