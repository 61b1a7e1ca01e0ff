// The protocol document through the real widgets (offscreen): the field's
// reading, loading, searching and editing, File > Save as and Open through
// Qt's file dialog, the command-line file, the Find dialog, and copying with
// the edit keys.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/gui/main_menus.h"
#include "document/edit_commands.h"
#include "document/gui/search_dialog.h"
#include "document/protocol_document.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "form_main_rig.h"
#include "platform/qt/protocol_text_edit.h"
#include "platform/qt/qt_protocol_field.h"

namespace kestrum {
namespace {

using test::FormRig;
using test::ReadFileBytes;
using test::WriteFileBytes;

const TextAttributes kRed{"Courier New", 10, 0x0000FF, 1};
const TextAttributes kGreen{"FixedSys", 12, 0x008000, 4};

ProtocolDocument TwoChannels(std::size_t lines) {
    ProtocolDocument document;
    const FormatIndex red = document.AddFormat(kRed);
    const FormatIndex green = document.AddFormat(kGreen);
    for (std::size_t i = 0; i < lines; ++i) {
        document.AddLine();
        document.AppendText("COM" + std::to_string(i % 2 + 1) + " line " + std::to_string(i) + " \xE4\xB6",
                            i % 2 ? green : red);
    }
    return document;
}

QAction& Act(TFormMain& form, const std::string& name) {
    QAction* action = form.Menus().Action(name);
    EXPECT_NE(action, nullptr) << name;
    static QAction none;
    return action ? *action : none;
}

// Runs `answer` on the next modal dialog once it is shown. A message box
// that the answer itself brings up (a dialog refusing what it was given) is
// a failure, closed so that the test ends.
void WhenModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            QTimer guard;
            QObject::connect(&guard, &QTimer::timeout, [modal] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr || box == modal) return;
                ADD_FAILURE() << "unexpected message: " << box->text().toStdString();
                box->reject();
            });
            guard.start(50);
            answer(modal);
        }
    });
    timer->start();
}

struct FieldTest : ::testing::Test {
    ProtocolTextEdit edit;
    QtProtocolField field{edit};
};

TEST_F(FieldTest, LinesReadBackWithTheirFormatsAlsoAfterTheUserEdits) {
    const ProtocolDocument original = TwoChannels(6);
    ASSERT_TRUE(field.LoadLines(original));
    ProtocolDocument read;
    field.ReadLines(read);
    EXPECT_EQ(read, original);

    // Typed text in the middle of a written line keeps its own format.
    QTextCursor typing(edit.document());
    typing.setPosition(3);
    typing.insertText("+", QtProtocolField::CharFormat(kGreen));
    field.SetAppendAttributes(kRed);
    field.AppendLine("appended");
    field.Flush();
    ProtocolDocument edited;
    field.ReadLines(edited);
    ASSERT_EQ(edited.LineCount(), 7u);
    EXPECT_EQ(edited.LineText(0), std::string("COM+1 line 0 \xE4\xB6"));
    EXPECT_EQ(edited.RunCount(0), 3u);
    EXPECT_EQ(edited.LineText(6), "appended");
    EXPECT_EQ(edited.Format(edited.Run(6, 0).Format), kRed);
    EXPECT_EQ(edited.Format(edited.Run(1, 0).Format), kGreen);
}

TEST_F(FieldTest, FindSelectReplaceAndDeleteAgreeOnPositions) {
    field.LoadLines(TwoChannels(4));
    const int found = field.Find("line 2", 0, {});
    ASSERT_GT(found, 0);
    field.Select(found, 6);
    EXPECT_EQ(edit.textCursor().selectedText(), QString("line 2"));
    EXPECT_EQ(field.Find("LINE 2", 0, {false, true}), -1);
    EXPECT_EQ(field.Find("line", found + 1, {true, false}), field.Find("line 3", 0, {}));
    field.ReplaceSelection("row 2");
    EXPECT_EQ(field.Find("row 2", 0, {}), found) << "the search text follows a replacement";
    EXPECT_EQ(field.CaretPosition(), found + 5);
    EXPECT_TRUE(field.CanUndo());
    field.Undo();
    EXPECT_EQ(field.Find("line 2", 0, {}), found);
    field.SetCaretPosition(0);
    field.DeleteSelection();
    EXPECT_EQ(field.LineText(0), std::string("OM1 line 0 \xE4\xB6"));
    EXPECT_EQ(field.TextLength(), edit.document()->characterCount() - 1);
}

TEST(FieldReplaceAll, OnePassFindsWhatReplacingOneByOneFinds) {
    struct Case {
        const char* Name;
        std::vector<std::string> Lines;
        std::string Find, Replacement;
        FindOptions Options;
        int From;
    };
    const Case cases[] = {
        {"over line ends, any case", {"COM1: a", "com1: b", "x COM1"}, "com1", "P", {}, 0},
        {"match case", {"COM1: a", "com1: b"}, "com1", "P", {false, true}, 0},
        {"from a position", {"ab ab ab"}, "ab", "x", {}, 3},
        {"replacement holds the text", {"a a a"}, "a", "aa", {}, 0},
        {"whole words only", {"ab abc ab_ (ab)"}, "ab", "X", {true, false}, 0},
        {"a word's end inside the text", {"abab ab"}, "ab", "x", {true, false}, 0},
        {"whole word right behind one replaced by a letter", {". .."}, ".", "y", {true, false}, 0},
        {"whole word right behind one replaced by a blank", {"a.."}, ".", " ", {true, false}, 0},
        {"whole word right behind one removed", {"a ..", "."}, ".", "", {true, false}, 0},
        {"nothing found", {"abc"}, "z", "y", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<std::string> results;
        std::vector<std::pair<int, int>> counts;
        for (const bool oneByOne : {true, false}) {
            ProtocolTextEdit edit;
            QtProtocolField field(edit);
            for (const std::string& line : c.Lines) field.AppendLine(line);
            int last = -7;
            const int count = oneByOne
                                  ? field.ProtocolField::ReplaceAll(c.Find, c.Replacement, c.From, c.Options, last)
                                  : field.ReplaceAll(c.Find, c.Replacement, c.From, c.Options, last);
            std::string text;
            for (int i = 0; i < field.LineCount(); ++i) text += field.LineText(i) + "|";
            results.push_back(text);
            counts.emplace_back(count, last);
        }
        EXPECT_EQ(results[1], results[0]);
        EXPECT_EQ(counts[1], counts[0]);
    }
}

TEST_F(FieldTest, ReplaceAllIsUndoneAtOnce) {
    for (const char* line : {"COM1: one", "COM2: two", "COM1: three"}) field.AppendLine(line);
    int last = -1;
    EXPECT_EQ(field.ReplaceAll("COM1", "X", 0, {}, last), 2);
    EXPECT_EQ(field.LineText(2), "X: three");
    EXPECT_EQ(last, static_cast<int>(std::string("X: one\nCOM2: two\n").size()));
    ASSERT_TRUE(field.CanUndo());
    field.Undo();
    EXPECT_EQ(field.LineText(0), "COM1: one");
    EXPECT_EQ(field.LineText(2), "COM1: three");
}

TEST_F(FieldTest, SelectionReadsAsLinesCutAtItsLineEnds) {
    field.LoadLines(TwoChannels(3));
    const int second = static_cast<int>(edit.document()->findBlockByNumber(1).position());
    field.Select(second - 4, 10);  // end of line 0, its line end, start of line 1
    ProtocolDocument piece;
    field.ReadSelectedLines(piece);
    ASSERT_EQ(piece.LineCount(), 2u);
    EXPECT_EQ(piece.LineText(0), std::string(" \xE4\xB6"));
    EXPECT_EQ(piece.LineText(1), "COM2 l");
    EXPECT_EQ(piece.Format(piece.Run(1, 0).Format), kGreen);
}

TEST_F(FieldTest, LoadBeyondTheCapacityChangesNothing) {
    field.AppendLine("kept");
    field.SetCapacity(1000, 3);
    EXPECT_FALSE(field.LoadLines(TwoChannels(4)));
    EXPECT_EQ(field.LineCount(), 1);
    EXPECT_EQ(field.LineText(0), "kept");
}

TEST(DocumentGui, CopyWithTheKeysOffersTextAndRichText) {
    FormRig rig;
    TFormMain& form = rig.Open();
    form.Field().LoadLines(TwoChannels(5));
    form.RichEdit().setFocus();
    QTest::keyClick(&form.RichEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&form.RichEdit(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), (QStringList{"text/plain", "text/rtf"}));
    const QStringList lines = data->text().split('\n');
    ASSERT_EQ(lines.size(), 6) << "five lines and what follows the last line end";
    EXPECT_EQ(lines[4], QString("COM1 line 4 \u00E4\u00B6"));
    // Pasted through our reader: the same lines in the same fonts and colours.
    const QByteArray rtf = data->data("text/rtf");
    ProtocolDocument pasted;
    ASSERT_TRUE(ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())), pasted).Ok());
    EXPECT_EQ(pasted, TwoChannels(5));

    // Paste with the key: the text at the caret.
    form.Field().SetCaretPosition(0);
    QGuiApplication::clipboard()->setText("new\nlines ");
    QTest::keyClick(&form.RichEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.Field().LineText(0), "new");
    EXPECT_EQ(form.Field().LineText(1), "lines COM1 line 0 \xE4\xB6");
}

TEST(DocumentGui, CopyOfAMillionLinesOffersOnlyTwoFormats) {
    FormRig rig;
    TFormMain& form = rig.Open();
    ASSERT_TRUE(form.Field().LoadLines(TwoChannels(1'000'000)));
    form.RichEdit().setFocus();
    QTest::keyClick(&form.RichEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&form.RichEdit(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), (QStringList{"text/plain", "text/rtf"}));
    EXPECT_TRUE(data->text().endsWith(QString("COM2 line 999999 \u00E4\u00B6\n")));
}

TEST(DocumentGui, SaveAsAndOpenThroughTheFileDialog) {
    FormRig rig;
    TFormMain& form = rig.Open();
    form.Field().LoadLines(TwoChannels(3));
    form.SyncView(true);  // Save as needs lines
    const std::string folder = rig.Folder / "files";
    std::filesystem::create_directories(folder);
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "not the file dialog";
            QMetaObject::invokeMethod(modal, "reject");
            return;
        }
        EXPECT_EQ(dialog->windowTitle(), QString("Save the kestrum_gui_tests protocol to a file"));
        // Typed as a whole path, as a user may: the dialog's own change of
        // folder by selectFile() is not finished when accept() comes at once.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!name) {
            ADD_FAILURE() << "no name field";
            QMetaObject::invokeMethod(dialog, "reject");
            return;
        }
        name->setText(QString::fromStdString(folder + "/saved.rtf"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    Act(form, "MainMenuFileSaveAs").trigger();
    ASSERT_TRUE(std::filesystem::exists(folder + "/saved.rtf"));
    EXPECT_EQ(form.windowTitle(), QString(" kestrum_gui_tests - saved.rtf"));
    EXPECT_EQ(form.Settings().Monitor.ProtocolDirectory, folder);

    // Open lists lower-case files under "*.RTF" and reads the chosen one.
    WriteFileBytes(folder + "/other.txt", "not listed\r\n");
    form.Field().Clear();
    bool listed = false, unlisted = true;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* view = dialog ? dialog->findChild<QAbstractItemView*>("listView") : nullptr;
        if (!view) {
            ADD_FAILURE() << "not the file dialog with its list";
            QMetaObject::invokeMethod(modal, "reject");
            return;
        }
        EXPECT_EQ(dialog->selectedNameFilter(), QString("Rich Text Format (*.RTF)"));
        const auto names = [view] {
            QStringList shown;
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                shown << view->model()->index(row, 0, view->rootIndex()).data().toString();
            return shown;
        };
        listed = QTest::qWaitFor([&] { return names().contains("saved.rtf"); }, 10000);
        unlisted = !names().contains("other.txt");
        // The file saved as "saved.rtf" is proposed by its own name; the
        // dialog must not look for "saved.RTF".
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        EXPECT_TRUE(name && name->text() == "saved.rtf") << (name ? name->text().toStdString() : "no name field");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    Act(form, "MainMenuFileOpen").trigger();
    EXPECT_TRUE(listed);
    EXPECT_TRUE(unlisted);
    ProtocolDocument loaded;
    form.Field().ReadLines(loaded);
    EXPECT_EQ(loaded, TwoChannels(3));
    EXPECT_EQ(form.Capture().Recording.ActivityMarker, ActivityMarker::Idle);
}

TEST(DocumentGui, CommandLineFileIsLoadedAtCreation) {
    FormRig rig;
    const std::string path = rig.Folder / "given.txt";
    WriteFileBytes(path, "first\r\nsecond\r\n");
    TFormMain& form = rig.Open({"kestrum_gui_tests", QString::fromStdString(path)});
    EXPECT_EQ(form.Field().LineCount(), 2);
    EXPECT_EQ(form.windowTitle(), QString(" kestrum_gui_tests - given.txt"));
    EXPECT_TRUE(Act(form, "MainMenuEditFind").isEnabled());
}

TEST(DocumentGui, FindDialogBesideTheWindowFindsAndCloses) {
    FormRig rig;
    TFormMain& form = rig.Open();
    form.Field().LoadLines(TwoChannels(4));
    form.RichEdit().setFocus();
    QTest::keyClick(&form.RichEdit(), Qt::Key_Right);  // the key handler enables Find by the protocol
    QTest::keyClick(&form.RichEdit(), Qt::Key_F, Qt::ControlModifier);
    SearchDialog& dialog = form.SearchDialogs().Dialog(SearchDialogKind::Find);
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.frameGeometry().left(),
              std::min(form.frameGeometry().right() + 2,
                       form.screen()->availableGeometry().right() + 1 - dialog.frameGeometry().width()));
    EXPECT_FALSE(dialog.FindNextButton()->isEnabled()) << "nothing to find yet";
    QTest::keyClicks(dialog.FindEdit(), "line 3");
    ASSERT_TRUE(dialog.FindNextButton()->isEnabled());
    dialog.FindNextButton()->click();
    EXPECT_EQ(form.RichEdit().textCursor().selectedText(), QString("line 3"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace kestrum
