// The protocol field adapter over a real QPlainTextEdit (offscreen).
#include <QApplication>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextLayout>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/qt/qt_protocol_field.h"

namespace kestrum {
namespace {

struct ProtocolFieldTest : ::testing::Test {
    QPlainTextEdit edit;
    QtProtocolField field{edit};

    QString WidgetText() const { return edit.document()->toPlainText(); }
};

TEST_F(ProtocolFieldTest, AppendedLinesKeepOrderAndCount) {
    EXPECT_EQ(field.LineCount(), 0);
    EXPECT_TRUE(field.AppendLine("first"));
    EXPECT_TRUE(field.AppendLine(""));
    EXPECT_TRUE(field.AppendLine("third"));
    EXPECT_EQ(field.LineCount(), 3);
    EXPECT_EQ(field.LineText(0), "first");
    EXPECT_EQ(field.LineText(1), "");
    EXPECT_EQ(field.LineText(2), "third");
    EXPECT_EQ(field.LineText(3), "");
    EXPECT_EQ(field.LineText(-1), "");
}

TEST_F(ProtocolFieldTest, ChangesWaitForTheFlushAndArriveTogether) {
    field.AppendLine("a");
    field.AppendLine("b");
    EXPECT_TRUE(WidgetText().isEmpty());
    EXPECT_TRUE(field.HasPendingChanges());
    QTRY_COMPARE_WITH_TIMEOUT(WidgetText(), QString("a\nb\n"), 1000);
    EXPECT_FALSE(field.HasPendingChanges());
}

TEST_F(ProtocolFieldTest, OpenLineReplacedBeforeFlushNeverReachesWidget) {
    field.AppendLine("done");
    field.Flush();
    QSignalSpy spy(edit.document(), &QTextDocument::contentsChange);
    field.AppendLine("HEL");
    field.DeleteLastLine();
    field.AppendLine("HELLO");
    field.Flush();
    int added = 0, removed = 0;
    for (const auto& args : spy) {
        removed += args.at(1).toInt();
        added += args.at(2).toInt();
    }
    EXPECT_EQ(removed, 0);
    EXPECT_EQ(added, 6);  // "HELLO" and its line break
    EXPECT_EQ(WidgetText(), QString("done\nHELLO\n"));
}

TEST_F(ProtocolFieldTest, DeletesShownLinesFromTheEnd) {
    field.AppendLine("one");
    field.AppendLine("two");
    field.Flush();
    EXPECT_TRUE(field.DeleteLastLine());
    field.AppendLine("two, longer");
    EXPECT_EQ(field.LineCount(), 2);
    EXPECT_EQ(field.LineText(1), "two, longer");
    // Deleting more lines than there are leaves an empty field.
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(field.DeleteLastLine());
    EXPECT_EQ(field.LineCount(), 0);
    EXPECT_TRUE(WidgetText().isEmpty());
}

TEST_F(ProtocolFieldTest, TypedTextWithoutLineBreakIsALineOfItsOwn) {
    edit.setFocus();
    QTest::keyClicks(&edit, "typed");
    EXPECT_EQ(field.LineCount(), 1);
    field.AppendLine("COM1: x");
    EXPECT_EQ(field.LineCount(), 2);
    EXPECT_EQ(field.LineText(0), "typed");
    EXPECT_EQ(field.LineText(1), "COM1: x");
    EXPECT_TRUE(field.DeleteLastLine());
    EXPECT_TRUE(field.DeleteLastLine());
    EXPECT_EQ(field.LineCount(), 0);
}

TEST_F(ProtocolFieldTest, KeyPressFlushesBeforeTheKeyIsTaken) {
    field.AppendLine("line");
    edit.setFocus();
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(WidgetText(), QString("line\nx"));
    // Typed text can be undone until the undo history is cleared; the
    // program's own lines never enter it.
    EXPECT_TRUE(edit.document()->isUndoAvailable());
    field.ClearUndoBuffer();
    EXPECT_FALSE(edit.document()->isUndoAvailable());
    field.AppendLine("more");
    field.Flush();
    EXPECT_FALSE(edit.document()->isUndoAvailable());
}

TEST_F(ProtocolFieldTest, SingleByteTextIsShownAsWindows1252) {
    field.AppendLine(std::string("AB\xB6\xA4\x80\x01", 6));
    field.Flush();
    const QString shown = edit.document()->firstBlock().text();
    ASSERT_EQ(shown.size(), 6);
    EXPECT_EQ(shown.at(2), QChar(0x00B6));  // pilcrow
    EXPECT_EQ(shown.at(3), QChar(0x00A4));  // currency sign
    EXPECT_EQ(shown.at(4), QChar(0x20AC));  // euro
    EXPECT_EQ(shown.at(5), QChar(0x0001));
}

TEST_F(ProtocolFieldTest, EveryByteReadsBackUnchanged) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    ASSERT_TRUE(field.AppendLine(all));
    EXPECT_EQ(field.LineCount(), 1);  // LF and CR inside do not split the line
    EXPECT_EQ(field.LineText(0), all);
}

TEST_F(ProtocolFieldTest, EachLineKeepsItsOwnAttributes) {
    TextAttributes red{"DejaVu Sans Mono", 14, 0x0000FF, 1 | 4};
    TextAttributes blue{"DejaVu Sans Mono", 9, 0xFF0000, 2 | 8};
    field.SetAppendAttributes(red);
    field.AppendLine("red");
    field.SetAppendAttributes(blue);
    field.AppendLine("blue");
    field.Flush();
    const QTextBlock first = edit.document()->findBlockByNumber(0);
    const QTextBlock second = edit.document()->findBlockByNumber(1);
    const QTextCharFormat a = first.begin().fragment().charFormat();
    const QTextCharFormat b = second.begin().fragment().charFormat();
    EXPECT_EQ(a.foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(a.font().bold());
    EXPECT_FALSE(a.font().italic());
    EXPECT_TRUE(a.font().underline());
    EXPECT_FALSE(a.font().strikeOut());
    EXPECT_EQ(a.font().pointSize(), 14);
    EXPECT_EQ(b.foreground().color(), QColor(0, 0, 255));
    EXPECT_FALSE(b.font().bold());
    EXPECT_TRUE(b.font().italic());
    EXPECT_TRUE(b.font().strikeOut());
    EXPECT_EQ(b.font().pointSize(), 9);
    EXPECT_EQ(a.font().families().value(0), QString("DejaVu Sans Mono"));
}

TEST_F(ProtocolFieldTest, AttributesSwitchingBackAndForthAcrossFlushesKeepEachLinesOwn) {
    // A channel's attributes and the user's alternate on every line; more
    // different sizes than the field keeps formats for between flushes.
    const TextAttributes user{"DejaVu Sans", 10, 0x000000, 0};
    std::vector<int> sizes;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 50; ++i) {
            const int size = 6 + (round * 50 + i) % 90;
            field.SetAppendAttributes({"DejaVu Sans Mono", size, 0x0000FF, 1});
            field.AppendLine("line");
            sizes.push_back(size);
            field.SetAppendAttributes(user);
            field.AppendLine("user");
            sizes.push_back(10);
        }
        field.Flush();
    }
    ASSERT_EQ(static_cast<int>(sizes.size()), field.LineCount());
    for (int i = 0; i < field.LineCount(); ++i) {
        const QTextCharFormat format = edit.document()->findBlockByNumber(i).begin().fragment().charFormat();
        ASSERT_EQ(sizes[static_cast<std::size_t>(i)], format.font().pointSize()) << "line " << i;
        EXPECT_EQ(i % 2 == 0, format.font().bold()) << "line " << i;
    }
}

TEST_F(ProtocolFieldTest, TypedTextTakesTheLastAppliedAttributes) {
    field.AppendLine("x");
    field.SetAppendAttributes({"DejaVu Sans", 12, 0x008000, 2});
    edit.setFocus();
    QTest::keyClicks(&edit, "t");
    const QTextBlock last = edit.document()->lastBlock();
    const QTextCharFormat typed = last.begin().fragment().charFormat();
    EXPECT_EQ(typed.foreground().color(), QColor(0, 0x80, 0));
    EXPECT_TRUE(typed.font().italic());
}

TEST_F(ProtocolFieldTest, BackgroundTakesPlainAndSystemColours) {
    field.SetBackgroundColour(0x00FF0000);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(0, 0, 255));
    field.SetBackgroundColour(kSystemWindowColour);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QPalette().color(QPalette::Active, QPalette::Base));
}

TEST_F(ProtocolFieldTest, LinesPastTheCapacityAreRefusedWhole) {
    field.SetCapacity(1000, 3);
    EXPECT_TRUE(field.AppendLine("1"));
    EXPECT_TRUE(field.AppendLine("2"));
    EXPECT_TRUE(field.AppendLine("3"));
    EXPECT_FALSE(field.AppendLine("4"));
    EXPECT_EQ(field.LineCount(), 3);
    // Replacing the last line stays possible at the limit.
    EXPECT_TRUE(field.DeleteLastLine());
    EXPECT_TRUE(field.AppendLine("3 again"));
    EXPECT_EQ(field.LineText(2), "3 again");

    field.Clear();
    field.SetCapacity(20, 100);
    EXPECT_TRUE(field.AppendLine("0123456789"));
    EXPECT_FALSE(field.AppendLine("0123456789"));
    EXPECT_EQ(field.LineCount(), 1);
}

TEST_F(ProtocolFieldTest, ClearDropsQueuedLines) {
    field.AppendLine("a");
    field.Flush();
    field.AppendLine("b");
    field.Clear();
    EXPECT_EQ(field.LineCount(), 0);
    EXPECT_TRUE(WidgetText().isEmpty());
}

}  // namespace
}  // namespace kestrum

namespace kestrum {
namespace {

TEST_F(ProtocolFieldTest, LongLinesScrollSidewaysInsteadOfWrapping) {
    edit.resize(200, 100);
    edit.show();
    field.AppendLine(std::string(400, 'x'));
    field.Flush();
    QApplication::processEvents();
    EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(edit.document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_GT(edit.horizontalScrollBar()->maximum(), 0);
    EXPECT_NE(edit.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_NE(edit.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // The line length rule measures the whole control, scroll bar and frame included.
    EXPECT_EQ(field.ControlWidth(), 200);
}

TEST_F(ProtocolFieldTest, UserEditsCallTheHandlerFirstAndReadingKeysDoNot) {
    std::vector<QString> seen;  // the document as the handler found it
    field.SetUserEditHandler([&] { seen.push_back(WidgetText()); });
    field.AppendLine("line");  // queued: the handler must find it written
    QTest::keyClick(&edit, Qt::Key_A);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], QString("line\n"));
    QInputMethodEvent commit;
    commit.setCommitString("ü");
    QApplication::sendEvent(&edit, &commit);
    QInputMethodEvent preedit("u", {});  // composing only: nothing goes in yet
    QApplication::sendEvent(&edit, &preedit);
    QTest::keyClick(&edit, Qt::Key_Right);  // moves the caret, changes nothing
    EXPECT_EQ(seen.size(), 2u);
    edit.setReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_B);
    EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
}  // namespace kestrum
