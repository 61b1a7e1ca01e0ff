// The channel commands through the real window: the channel pop-up at the
// button, the mouse chords, the shortcuts of the channel and font items, the
// font dialog, the channel ID and trigger word input boxes, and the Trigger
// button.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/gui/main_menus.h"
#include "channels/gui/font_dialog.h"
#include "channels/gui/port_dialog.h"
#include "form_main_rig.h"
#include "platform/qt/qt_protocol_field.h"

namespace kestrum {
namespace {

using test::FormRig;
using test::PseudoTerminal;

// Once a modal dialog of type T is up, lets `act` work on it (once).
template <typename T>
void WhenModal(std::function<void(T&)> act) {
    QTimer::singleShot(1, [act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) {
            WhenModal<T>(act);
            return;
        }
        act(*dialog);
    });
}

// COM1 and COM2 on pseudo-terminals; COM1 recorded. `extra` goes into the file.
std::string Settings(const PseudoTerminal& one, const PseudoTerminal& two, const std::string& extra = {}) {
    return "[General]\r\nShowTimeTags=0\r\n" + extra + "[COM1]\r\nDevice=" + one.Path +
           "\r\nMonitorChannel=1\r\nTriggerWord=41 42\r\n[COM2]\r\nDevice=" + two.Path +
           "\r\nTriggerWord=0D 0A\r\nTriggerOneShot=1\r\n";
}

struct ChannelCommandsGui : ::testing::Test {
    PseudoTerminal one{true};
    PseudoTerminal two{true};
    FormRig rig;
    TFormMain* form = nullptr;

    void Open(const std::string& extra = {}) {
        rig.WriteSettings(Settings(one, two, extra));
        form = &rig.Open();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
    SpeedButton* Button(int n) { return form->Buttons().Channel(n); }
    // A key on the window, as the user types it (a closed dialog may have
    // left no window active).
    void Key(Qt::Key key, Qt::KeyboardModifiers keys) {
        if (QApplication::activeWindow() != form) {
            form->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        }
        QTest::keyClick(form, key, keys);
    }
    QAction* Action(const char* name) { return form->Menus().Action(name); }
    ChannelRecord& Channel(int n) { return form->Channels().Channel(n); }
};

TEST_F(ChannelCommandsGui, RightClickShowsThePopUpOfThatChannelAtTheMouse) {
    Open();
    const QPoint at(12, 9);
    QTest::mouseClick(Button(2), Qt::RightButton, {}, at);
    QMenu* popup = form->Menus().ChannelPopupMenu();
    ASSERT_TRUE(popup->isVisible());
    // At the mouse (moved only as far as it must to fit on the screen).
    EXPECT_TRUE(popup->geometry().adjusted(-1, -1, 1, 1).contains(Button(2)->mapToGlobal(at)));
    EXPECT_EQ(2, form->State().ChannelMenus.PopupChannel);
    EXPECT_EQ(QString("&Send character string                       Ctrl+RMB"),
              Action("ChannelPopupMenuSendFromChannel")->text());
    EXPECT_FALSE(Action("ChannelPopupMenuSendFromChannel")->isEnabled()) << "not recording";
    EXPECT_TRUE(Action("ChannelPopupMenuTriggerOneShot")->isChecked());
    EXPECT_FALSE(Action("ChannelPopupMenuTrigger")->isChecked());
    popup->hide();

    Action("ChannelPopupMenuTriggerOneShot")->trigger();
    EXPECT_FALSE(Channel(2).TriggerOneShot);
    EXPECT_TRUE(Channel(1).TriggerOneShot == false);
    Action("ChannelPopupMenuTrigger")->trigger();
    EXPECT_TRUE(Channel(2).TriggerEnabled);
    EXPECT_FALSE(Button(2)->font().underline()) << "not active: no underline";

    // The same button in hex display, in German.
    Action("MainMenuSettingsLanguageGerman")->trigger();
    QTest::mouseClick(form->Buttons().Hex(), Qt::LeftButton);
    QTest::mouseClick(Button(1), Qt::RightButton, {}, at);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(QString("Bytefolge &senden                             Strg+RMT"),
              Action("ChannelPopupMenuSendFromChannel")->text());
    EXPECT_FALSE(Action("ChannelPopupMenuTriggerOneShot")->isChecked());
    popup->hide();
}

TEST_F(ChannelCommandsGui, ChordsToggleTheTriggerOfTheButton) {
    Open();
    QTest::mouseClick(Button(1), Qt::RightButton, Qt::AltModifier, QPoint(5, 5));
    EXPECT_TRUE(Channel(1).TriggerEnabled);
    EXPECT_TRUE(Button(1)->font().underline()) << "active with its trigger on";
    EXPECT_TRUE(Action("MainMenuSettingsChannel1TriggerEnabled")->isChecked());
    QTest::mouseClick(Button(1), Qt::RightButton, Qt::ShiftModifier, QPoint(5, 5));
    EXPECT_TRUE(Channel(1).TriggerOneShot);
    EXPECT_FALSE(form->Menus().ChannelPopupMenu()->isVisible());
    EXPECT_TRUE(Button(1)->isChecked()) << "a right click does not toggle the button";
}

TEST_F(ChannelCommandsGui, FontDialogOfAChannelAndOfTheMaster) {
    Open();
    bool effectsShown = false;
    QString family;
    WhenModal<FontEntryDialog>([&](FontEntryDialog& dialog) {
        effectsShown = !dialog.findChild<QGroupBox*>("EffectsBox")->isHidden();
        family = dialog.findChild<QFontComboBox*>("FontNameBox")->currentFont().family();
        dialog.findChild<QComboBox*>("FontSizeBox")->setEditText("14");
        dialog.findChild<QCheckBox*>("BoldBox")->setChecked(true);
        auto* colours = dialog.findChild<QComboBox*>("ColourBox");
        colours->setCurrentIndex(colours->findText("Blue"));
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    QTest::mouseClick(Button(1), Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, QPoint(5, 5));
    EXPECT_TRUE(effectsShown);
    EXPECT_EQ(QFontDatabase::systemFont(QFontDatabase::FixedFont).family(), family)
        << "FixedSys shows as the fixed font";
    const FontEntry& font = form->Channels().Font(1);
    EXPECT_EQ("FixedSys", font.FontName) << "the name is kept while the font is not changed";
    EXPECT_EQ(14, font.FontSize);
    EXPECT_TRUE(font.FontBold);
    EXPECT_EQ(0xFF0000, font.FontColor);
    EXPECT_EQ(QColor(0, 0, 255), Button(1)->palette().color(QPalette::Active, QPalette::ButtonText));

    WhenModal<FontEntryDialog>([&](FontEntryDialog& dialog) {
        effectsShown = !dialog.findChild<QGroupBox*>("EffectsBox")->isHidden();
        dialog.findChild<QCheckBox*>("ItalicBox")->setChecked(true);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Action("MainMenuSettingsAllFonts")->trigger();
    EXPECT_FALSE(effectsShown) << "no effects for the master font";
    EXPECT_TRUE(form->Channels().Font(9).FontItalic);
    EXPECT_TRUE(form->Channels().Font(1).FontItalic) << "every entry takes the master's style";
    EXPECT_EQ(0xFF0000, form->Channels().Font(1).FontColor) << "colours stay";
    EXPECT_TRUE(form->RichEdit().document()->defaultFont().italic());
    EXPECT_EQ(QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
              form->RichEdit().document()->defaultFont().family());

    WhenModal<FontEntryDialog>([](FontEntryDialog& dialog) { dialog.reject(); });
    Action("RichEditPopupMenuUserFont")->trigger();
    EXPECT_EQ(11, form->Channels().Font(0).FontSize) << "Cancel changes nothing";
}

TEST_F(ChannelCommandsGui, ChannelIdFromItsShortcut) {
    Open("ShowChannelId=0\r\n");
    QString prompt;
    WhenModal<QInputDialog>([&](QInputDialog& box) {
        prompt = box.labelText();
        box.setTextValue("Meter");
        box.accept();
    });
    Key(Qt::Key_1, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(QString("Channel ID for COM1:"), prompt);
    EXPECT_EQ("Meter", Channel(1).ChannelID);
    EXPECT_EQ(QString("Deactivate Meter port\n(9600,8,N,1)"), Button(1)->toolTip());
    EXPECT_TRUE(form->Settings().ShowChannelId);
    EXPECT_TRUE(Action("MainMenuSettingsShowChannelID")->isChecked());
}

TEST_F(ChannelCommandsGui, TriggerWordTooLongIsRefusedAndAskedAgain) {
    Open();
    QString message, askedAgain;
    WhenModal<QInputDialog>([&](QInputDialog& box) {
        box.setTextValue("ABCDEFGHIJKLMNOPQ");
        WhenModal<QMessageBox>([&](QMessageBox& error) {
            message = error.text();
            WhenModal<QInputDialog>([&](QInputDialog& again) {
                askedAgain = again.textValue();
                again.reject();
            });
            error.accept();
        });
        box.accept();
    });
    QTest::mouseClick(Button(1), Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier, QPoint(5, 5));
    EXPECT_EQ(QString("The trigger word must not be longer than 16 characters."), message);
    EXPECT_EQ(QString("ABCDEFGHIJKLMNOPQ"), askedAgain);
    EXPECT_EQ("AB", Channel(1).TriggerBytes);

    // A word with CR LF is shown in hex form even in the ASCII display, so
    // OK keeps it.
    QString prompt, shown;
    WhenModal<QInputDialog>([&](QInputDialog& box) {
        prompt = box.labelText();
        shown = box.textValue();
        box.accept();
    });
    Key(Qt::Key_2, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ("Trigger word  (sequence of hex numbers)\nfor COM2:", prompt.toStdString());
    EXPECT_EQ("0D 0A", shown.toStdString());
    EXPECT_EQ("\r\n", Channel(2).TriggerBytes);
}

TEST_F(ChannelCommandsGui, ShortcutsReachTheirItems) {
    Open();
    struct Case {
        const char* Name;
        Qt::Key Key;
        Qt::KeyboardModifiers Keys;
        const char* Dialog;  // the modal dialog it opens, or none
    };
    const Case cases[] = {
        {"Shift+Ctrl+1: port dialog", Qt::Key_1, Qt::ShiftModifier | Qt::ControlModifier, "PortSettingsDialog"},
        {"Shift+Ctrl+Alt+2: channel ID", Qt::Key_2, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
         "QInputDialog"},
        {"Shift+Alt+1: trigger word", Qt::Key_1, Qt::ShiftModifier | Qt::AltModifier, "QInputDialog"},
        {"Shift+Ctrl+Alt+0: user font", Qt::Key_0, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
         "FontEntryDialog"},
        {"Shift+Ctrl+Alt+9: master font", Qt::Key_9, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
         "FontEntryDialog"},
    };
    for (const Case& c : cases) {
        QString opened;
        WhenModal<QDialog>([&](QDialog& dialog) {
            opened = QString(dialog.metaObject()->className()).section("::", -1);
            dialog.reject();
        });
        Key(c.Key, c.Keys);
        EXPECT_EQ(c.Dialog, opened.toStdString()) << c.Name;
        if (opened.isEmpty()) QTest::qWait(50);  // let the pending look end
    }
    Key(Qt::Key_1, Qt::AltModifier);
    EXPECT_TRUE(Channel(1).TriggerEnabled) << "Alt+1";
    Key(Qt::Key_1, Qt::AltModifier);
    EXPECT_FALSE(Channel(1).TriggerEnabled);
    Key(Qt::Key_5, Qt::AltModifier);  // COM5 is not installed: its items are off
    EXPECT_FALSE(Channel(5).TriggerEnabled);
}

TEST_F(ChannelCommandsGui, TriggerButtonSwitchesTheTriggerWithItsHint) {
    Open();
    SpeedButton* trigger = form->Buttons().Trigger();
    EXPECT_EQ(QString("Activate trigger"), trigger->toolTip());
    trigger->click();
    EXPECT_TRUE(form->Settings().TriggerOn);
    EXPECT_TRUE(trigger->isChecked());
    EXPECT_EQ(QString("Deactivate trigger"), trigger->toolTip());
    Action("MainMenuSettingsLanguageGerman")->trigger();
    EXPECT_EQ(QString("Trigger deaktivieren"), trigger->toolTip());
    trigger->click();
    EXPECT_FALSE(form->Settings().TriggerOn);
    EXPECT_FALSE(trigger->isChecked());
    EXPECT_EQ(QString("Trigger aktivieren"), trigger->toolTip());
}

}  // namespace
}  // namespace kestrum
