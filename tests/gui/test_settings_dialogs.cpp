// TFormGetIntValue, the colour dialog and the input box with their real
// widgets, alone and from the window's Settings items.
#include <gtest/gtest.h>
#include <QColorDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <string>

#include "app/gui/main_menus.h"
#include "form_main_rig.h"
#include "modal_dialog.h"
#include "platform/program_file.h"
#include "platform/qt/qt_colours.h"
#include "settings/gui/form_get_int_value.h"
#include "settings/gui/qt_settings_dialogs.h"

namespace kestrum {
namespace {

using test::FormRig;
using test::WhenModal;

QAction& Act(TFormMain& form, const std::string& name) {
    QAction* action = form.Menus().Action(name);
    EXPECT_NE(action, nullptr) << name;
    static QAction none;
    return action ? *action : none;
}

// Triggers a menu item after its menu opened, as the user does.
void Choose(TFormMain& form, const char* menu, const std::string& item) {
    emit form.Menus().Menu(menu)->aboutToShow();
    ASSERT_TRUE(Act(form, item).isEnabled()) << item;
    Act(form, item).trigger();
}

TEST(FormGetIntValue, LaysOutOneLineAroundTheLabel) {
    TFormGetIntValue form;
    form.LabelIntValue()->setText("Length of the hex dump lines in bytes");
    form.SpinEditIntValue()->setRange(1, 255);
    form.SetCancelCaption("Abbrechen");
    QRect label, spin, ok, cancel;
    QSize client;
    bool fixed = false;
    QString cancelText;
    WhenModal<TFormGetIntValue>([&](TFormGetIntValue& shown) {
        label = shown.LabelIntValue()->geometry();
        spin = shown.SpinEditIntValue()->geometry();
        ok = shown.ButtonOk()->geometry();
        cancel = shown.ButtonCancel()->geometry();
        client = shown.size();
        fixed = shown.minimumSize() == shown.maximumSize();
        cancelText = shown.ButtonCancel()->text();
        shown.reject();
    });
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_EQ(label.left(), 4);
    EXPECT_EQ(spin.top(), 4);
    EXPECT_EQ(spin.left(), label.right() + 1 + 8);
    EXPECT_EQ(spin.width(), 65);
    EXPECT_EQ(ok.left(), spin.right() + 1 + 4);
    EXPECT_EQ(cancel.left(), ok.right() + 1 + 4);
    for (const QRect& button : {ok, cancel}) {
        EXPECT_EQ(button.top(), spin.top());
        EXPECT_EQ(button.height(), spin.height());
        EXPECT_GE(button.width(), 65);
    }
    EXPECT_NEAR(label.center().y(), spin.center().y(), 1);
    EXPECT_EQ(client, QSize(cancel.right() + 1 + 4, spin.bottom() + 1 + 4));
    EXPECT_TRUE(fixed);
    EXPECT_EQ(cancelText, "Abbrechen");
    EXPECT_GE(cancel.width(), form.ButtonCancel()->sizeHint().width());  // the caption is not cut off
}

TEST(FormGetIntValue, KeysAndResults) {
    struct Case {
        const char* Name;
        const char* Typed;  // into the emptied spin box
        bool FocusCancel;   // the cancel button has the focus when the last key comes
        Qt::Key Last;       // the key that closes
        QDialog::DialogCode Result;
        int Value, Beeps;
    };
    const Case cases[] = {
        {"digits and Enter", "42", false, Qt::Key_Return, QDialog::Accepted, 42, 0},
        {"a letter beeps and types nothing", "4x2", false, Qt::Key_Enter, QDialog::Accepted, 42, 1},
        {"signs and blanks too", "-1 .", false, Qt::Key_Return, QDialog::Accepted, 1, 3},
        {"a typed 0 is taken as the minimum", "0", false, Qt::Key_Return, QDialog::Accepted, 1, 0},
        {"Escape cancels", "7", false, Qt::Key_Escape, QDialog::Rejected, 7, 0},
        {"Enter on the cancel button still accepts", "9", true, Qt::Key_Return, QDialog::Accepted, 9, 0},
    };
    for (const Case& c : cases) {
        TFormGetIntValue form;
        int beeps = 0;
        form.SetBeep([&] { ++beeps; });
        form.SpinEditIntValue()->setRange(1, 255);
        form.SpinEditIntValue()->setValue(16);
        WhenModal<TFormGetIntValue>([&](TFormGetIntValue& shown) {
            QSpinBox* spin = shown.SpinEditIntValue();
            spin->findChild<QLineEdit*>()->clear();
            QTest::keyClicks(spin, c.Typed);
            QWidget* target = spin;
            if (c.FocusCancel) {
                shown.ButtonCancel()->setFocus();
                target = shown.ButtonCancel();
            }
            QTest::keyClick(target, c.Last);
        });
        EXPECT_EQ(form.exec(), c.Result) << c.Name;
        EXPECT_EQ(form.Value(), c.Value) << c.Name;
        EXPECT_EQ(beeps, c.Beeps) << c.Name;
    }
}

TEST(QtSettingsDialogs, IntValueOkAndCancel) {
    std::string cancel = "Abbrechen";
    ScreenPoint origin;
    QtSettingsDialogs dialogs(nullptr, cancel, origin);
    for (const bool ok : {true, false}) {
        int value = 16;
        WhenModal<TFormGetIntValue>([&](TFormGetIntValue& shown) {
            EXPECT_EQ(shown.windowTitle(), " kestrum:   Bytes pro Hex-Dump-Zeile");
            EXPECT_EQ(shown.LabelIntValue()->text(), QString::fromUtf8("L\u00e4nge"));
            EXPECT_EQ(shown.SpinEditIntValue()->value(), 16);
            EXPECT_EQ(shown.ButtonCancel()->text(), "Abbrechen");
            shown.SpinEditIntValue()->setValue(99);
            (ok ? shown.ButtonOk() : shown.ButtonCancel())->click();
        });
        EXPECT_EQ(dialogs.GetIntValue(" kestrum:   Bytes pro Hex-Dump-Zeile", "L\xE4nge", 1, 255, value), ok);
        EXPECT_EQ(value, ok ? 99 : 16);
    }
}

TEST(SettingsItems, BytesPerHexLineFromTheWindow) {
    FormRig rig;
    TFormMain& form = rig.Open();
    QTest::mouseClick(form.Buttons().Hex(), Qt::LeftButton);
    QString caption;
    WhenModal<TFormGetIntValue>([&](TFormGetIntValue& shown) {
        caption = shown.windowTitle();
        QSpinBox* spin = shown.SpinEditIntValue();
        spin->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(spin, "8");
        QTest::keyClick(spin, Qt::Key_Return);
    });
    Choose(form, "RichEditPopupMenu", "RichEditPopupMenuHexLineByteCount");
    const std::string name = ProgramBaseName(RunningProgramPath());
    EXPECT_EQ(caption.toStdString(), " " + name + ":   Bytes per hex dump line");
    EXPECT_EQ(form.Settings().HexLineByteCount, 8);
    EXPECT_EQ(form.Capture().Layout.HexLineWidth, 26);
}

TEST(SettingsItems, HistoryLengthStopsAtItsLimits) {
    FormRig rig;
    TFormMain& form = rig.Open();
    Act(form, "MainMenuSettingsLanguageGerman").trigger();
    int minimum = 0, maximum = 0;
    QString cancel;
    WhenModal<TFormGetIntValue>([&](TFormGetIntValue& shown) {
        minimum = shown.SpinEditIntValue()->minimum();
        maximum = shown.SpinEditIntValue()->maximum();
        cancel = shown.ButtonCancel()->text();
        shown.SpinEditIntValue()->setValue(100);
        shown.ButtonOk()->click();
    });
    Choose(form, "MainMenuSettings", "MainMenuSettingsInputLineMaxHistoryCount");
    EXPECT_EQ(minimum, 4);
    EXPECT_EQ(maximum, 64);
    EXPECT_EQ(cancel, "Abbrechen");
    EXPECT_EQ(form.Settings().InputLineMaxHistoryCount, 64);
}

TEST(SettingsItems, BackgroundColourCancelKeepsTheSystemColour) {
    FormRig rig;
    TFormMain& form = rig.Open();
    ASSERT_EQ(form.Settings().BackgroundColor, kSystemWindowColour);
    WhenModal<QColorDialog>([](QColorDialog& dialog) {
        dialog.setCurrentColor(QColor(10, 20, 30));
        dialog.reject();
    });
    Choose(form, "MainMenuSettings", "MainMenuSettingsBackgroundColor");
    EXPECT_EQ(form.Settings().BackgroundColor, kSystemWindowColour);

    // OK on the colour as shown keeps the system colour too.
    WhenModal<QColorDialog>([](QColorDialog& dialog) { dialog.accept(); });
    Choose(form, "RichEditPopupMenu", "RichEditPopupMenuBackgroundColor");
    EXPECT_EQ(form.Settings().BackgroundColor, kSystemWindowColour);

    WhenModal<QColorDialog>([](QColorDialog& dialog) {
        dialog.setCurrentColor(QColor(10, 20, 30));
        dialog.accept();
    });
    Choose(form, "MainMenuSettings", "MainMenuSettingsBackgroundColor");
    EXPECT_EQ(form.Settings().BackgroundColor, 0x001E140A);
    EXPECT_EQ(form.RichEdit().palette().color(QPalette::Base), QColor(10, 20, 30));
}

TEST(SettingsItems, CommentDelimiterMayBeEmpty) {
    FormRig rig;
    TFormMain& form = rig.Open();
    form.Settings().MonitorMode = false;
    form.SyncView(true);
    QString title, label, text;
    WhenModal<QInputDialog>([&](QInputDialog& dialog) {
        title = dialog.windowTitle();
        label = dialog.labelText();
        text = dialog.textValue();
        dialog.setTextValue("");
        dialog.accept();
    });
    Choose(form, "MainMenuSettings", "MainMenuSettingsCommentDelimiter");
    EXPECT_EQ(title.toStdString(), " " + ProgramBaseName(RunningProgramPath()));
    EXPECT_EQ(label, "Comment delimiter:");
    EXPECT_EQ(text, "//");
    EXPECT_EQ(form.Settings().CommentDelimiter, "");
    WhenModal<QInputDialog>([](QInputDialog& dialog) {
        dialog.setTextValue("#");
        dialog.reject();
    });
    Choose(form, "RichEditPopupMenu", "RichEditPopupMenuCommentDelimiter");
    EXPECT_EQ(form.Settings().CommentDelimiter, "");
}

}  // namespace
}  // namespace kestrum
