// The main window with real widgets (offscreen): placement, minimum size,
// minimised state across runs, menus and their rules, language, keys.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include "app/gui/main_menus.h"
#include "app/window_geometry.h"
#include "form_main_rig.h"
#include "platform/qt/qt_protocol_field.h"

namespace kestrum {
namespace {

using test::FormRig;

void OpenMenu(TFormMain& form, const char* name) {
    QMenu* menu = form.Menus().Menu(name);
    ASSERT_NE(menu, nullptr) << name;
    emit menu->aboutToShow();
}

QAction& Act(TFormMain& form, const std::string& name) {
    QAction* action = form.Menus().Action(name);
    EXPECT_NE(action, nullptr) << name;
    static QAction none;
    return action ? *action : none;
}

TEST(FormMain, FirstStartWithoutSettings) {
    FormRig rig;
    TFormMain& form = rig.Open();
    EXPECT_EQ(form.pos(), QPoint(0, 0));
    EXPECT_EQ(form.width(), kButtonRowWidth);
    EXPECT_EQ(form.height(), 270);
    EXPECT_EQ(form.windowTitle(), QString(" kestrum_gui_tests - Test.RTF"));
    // The whole row fits, and shrinking the window is refused below its width.
    form.resize(300, 60);
    EXPECT_EQ(form.width(), kButtonRowWidth);
    EXPECT_EQ(form.height(), kDesignMinHeight);
    const QRect last = form.Buttons().Channel(8)->geometry();
    EXPECT_LE(last.right(), form.Buttons().width());
    // The protocol field fills the client area above the row.
    EXPECT_EQ(form.RichEdit().geometry().bottom() + 1 + 2, form.Buttons().geometry().top());
    EXPECT_EQ(form.Buttons().geometry().bottom() + 1, form.centralWidget()->height());
    // Missing ports: disabled, with the not-installed hint.
    EXPECT_FALSE(form.Buttons().Channel(1)->isEnabled());
    EXPECT_EQ(form.Buttons().Channel(1)->toolTip(), QString("Port COM1 not installed"));
    EXPECT_EQ(form.Buttons().Start()->text(), QString("Start"));
}

TEST(FormMain, SecondInstanceCascades) {
    FormRig first;
    first.WriteSettings("[FormMain]\r\nLeft=500\r\nTop=400\r\nWidth=900\r\nHeight=300\r\n");
    TFormMain& master = first.Open();
    EXPECT_EQ(master.pos(), QPoint(500, 400));
    // The second window shares the folders of the first.
    AppSession second = StartSession();
    ASSERT_EQ(second.State.Startup.Instance.Number, 2);
    TFormMain follower(second, {first.Ports, first.Devices, *first.SystemClock, *first.Poll}, {"x"});
    const int c = follower.Geometry().CaptionHeight;
    ASSERT_GT(c, 0);
    EXPECT_EQ(follower.pos(), QPoint(c, c));
    EXPECT_EQ(follower.size(), QSize(900, 300));
    follower.close();
}

TEST(FormMain, ClosedMinimisedStartsMinimisedAndRestoresItsBounds) {
    FormRig rig;
    {
        TFormMain& form = rig.Open();
        form.move(40, 50);
        form.resize(800, 300);
        form.showMinimized();
        QTest::qWait(20);
        rig.Close();
    }
    const std::string saved = rig.ReadSettings();
    EXPECT_NE(saved.find("WindowState=1"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Left=40"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Width=800"), std::string::npos) << saved;

    TFormMain& again = rig.Open();
    EXPECT_TRUE(again.isMinimized());
    EXPECT_TRUE(again.Geometry().Minimised);
    again.showNormal();
    QTest::qWait(20);
    EXPECT_FALSE(again.Geometry().Minimised);
    EXPECT_EQ(again.pos(), QPoint(40, 50));
    EXPECT_EQ(again.size(), QSize(800, 300));
    EXPECT_EQ(again.Settings().WindowState, WindowState::Normal);
}

TEST(FormMain, EnablingRulesInBothMenusFollowModeAndDisplay) {
    FormRig rig;
    TFormMain& form = rig.Open();
    const auto enabled = [&](const std::string& suffix) {
        const bool main = Act(form, "MainMenuSettings" + suffix).isEnabled();
        EXPECT_EQ(main, Act(form, "RichEditPopupMenu" + suffix).isEnabled()) << suffix;
        return main;
    };
    OpenMenu(form, "MainMenuSettings");
    EXPECT_TRUE(enabled("LineWrap"));
    EXPECT_TRUE(enabled("ShowTimeTags"));
    EXPECT_FALSE(enabled("HexLineByteCount"));
    EXPECT_FALSE(enabled("CommentDelimiter"));

    QTest::mouseClick(form.Buttons().Hex(), Qt::LeftButton);
    EXPECT_EQ(form.Settings().LogMode, LogMode::Hex);
    EXPECT_TRUE(form.Buttons().Hex()->isChecked());
    EXPECT_FALSE(form.Buttons().Asc()->isChecked());
    OpenMenu(form, "RichEditPopupMenu");
    EXPECT_TRUE(enabled("ShowTimeTags"));
    EXPECT_FALSE(enabled("LineWrap"));
    EXPECT_FALSE(enabled("SendCrStrAsCrChar"));
    // A right click on Asc changes nothing.
    QTest::mouseClick(form.Buttons().Asc(), Qt::RightButton);
    EXPECT_EQ(form.Settings().LogMode, LogMode::Hex);

    form.Settings().MonitorMode = false;
    QTest::mouseClick(form.Buttons().Asc(), Qt::LeftButton);
    OpenMenu(form, "MainMenuSettings");
    EXPECT_FALSE(enabled("ShowTimeTags"));
    EXPECT_FALSE(enabled("ShowChannelID"));
    EXPECT_TRUE(enabled("SenderModeAutoRepeat"));
    EXPECT_TRUE(enabled("SendCrStrAsCrChar"));
    EXPECT_FALSE(enabled("LineWrap"));
    // Printing into a PDF file needs no printer: the item is always there.
    EXPECT_TRUE(Act(form, "MainMenuSettingsPrinter").isEnabled());
}

TEST(FormMain, PopupToggleShowsInTheMainMenu) {
    FormRig rig;
    TFormMain& form = rig.Open();
    const bool before = form.Settings().ShowTimeTags;
    OpenMenu(form, "RichEditPopupMenu");
    Act(form, "RichEditPopupMenuShowTimeTags").trigger();
    EXPECT_EQ(form.Settings().ShowTimeTags, !before);
    OpenMenu(form, "MainMenuSettings");
    EXPECT_EQ(Act(form, "MainMenuSettingsShowTimeTags").isChecked(), !before);
    // Save settings lives in the main menu only.
    Act(form, "MainMenuSettingsSaveSettings").trigger();
    EXPECT_FALSE(form.Settings().SaveSettings);
}

TEST(FormMain, LanguageSwitchChangesBothMenusAndTheButtons) {
    FormRig rig;
    TFormMain& form = rig.Open();
    Act(form, "MainMenuSettingsLanguageGerman").trigger();
    EXPECT_EQ(form.Settings().Language, 2);
    EXPECT_EQ(Act(form, "MainMenuSettingsDumpOnCrChar").text(),
              QString("Zeile nach Empfang eines CR-Zeichens ausgeben"));
    EXPECT_EQ(Act(form, "RichEditPopupMenuDumpOnCrChar").text(),
              QString("Zeile nach Empfang eines CR-Zeichens ausgeben"));
    EXPECT_EQ(form.Menus().Menu("MainMenuFile")->title(), QString("&Datei"));
    EXPECT_EQ(form.Buttons().Clear()->text(), QString::fromUtf8("L\u00f6schen"));
    EXPECT_EQ(form.Buttons().Start()->toolTip(), QString("Aufzeichnung des Protokolls starten"));
    EXPECT_TRUE(Act(form, "MainMenuSettingsLanguageGerman").isChecked());
    EXPECT_FALSE(Act(form, "MainMenuSettingsLanguageEnglish").isChecked());
    Act(form, "MainMenuSettingsLanguageEnglish").trigger();
    EXPECT_EQ(Act(form, "RichEditPopupMenuDumpOnCrChar").text(),
              QString("Dump protocol line on receiving a CR character"));
    EXPECT_EQ(form.Buttons().Clear()->text(), QString("Clear"));
}

TEST(FormMain, HelpRequestOnTheCommandLineArrivesOnceTheWindowExists) {
    FormRig rig;
    TFormMain& form = rig.Open({"kestrum", "/?"});
    QSignalSpy help(&form, &TFormMain::HelpRequested);  // connected after the constructor
    EXPECT_TRUE(help.wait(2000));
    EXPECT_EQ(help.count(), 1);
    EXPECT_TRUE(form.isVisible());
}

TEST(FormMain, ModeClicksLeaveTheRadioPairShowingTheMode) {
    FormRig rig;
    TFormMain& form = rig.Open();
    ASSERT_TRUE(form.Settings().MonitorMode);
    QTest::mouseClick(form.Buttons().Sender(), Qt::LeftButton, Qt::ControlModifier);  // not a plain click
    EXPECT_TRUE(form.Settings().MonitorMode);
    EXPECT_TRUE(form.Buttons().Monitor()->isChecked());
    EXPECT_FALSE(form.Buttons().Sender()->isChecked());
    QTest::mouseClick(form.Buttons().Sender(), Qt::LeftButton);
    EXPECT_FALSE(form.Settings().MonitorMode);
    EXPECT_FALSE(form.Buttons().Monitor()->isChecked());
    EXPECT_TRUE(form.Buttons().Sender()->isChecked());
    QTest::mouseClick(form.Buttons().Sender(), Qt::LeftButton);  // the mode that is on
    EXPECT_TRUE(form.Buttons().Sender()->isChecked());
}

TEST(FormMain, HintsComeAfter100MsAndStayTwoSeconds) {
    FormRig rig;
    TFormMain& form = rig.Open();
    EXPECT_EQ(form.style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 100);
    EXPECT_EQ(form.Buttons().Start()->toolTipDuration(), 2000);
    EXPECT_EQ(form.Buttons().Channel(8)->toolTipDuration(), 2000);
}

TEST(FormMain, AFreshWindowEnablesWhatNeedsNoProtocolAndExitCloses) {
    FormRig rig;
    TFormMain& form = rig.Open();
    OpenMenu(form, "MainMenuFile");
    OpenMenu(form, "MainMenuEdit");
    for (const char* item : {"MainMenuFileNew", "MainMenuFileOpen", "MainMenuHelp", "MainMenuFileExit"})
        EXPECT_TRUE(Act(form, item).isEnabled()) << item;
    for (const char* item : {"MainMenuFileSave", "MainMenuFileSaveAs", "MainMenuEditUndo", "MainMenuEditCopy"})
        EXPECT_FALSE(Act(form, item).isEnabled()) << item;
    Act(form, "MainMenuFileExit").trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 2000);
}

TEST(FormMain, KeysEnableTheEditSearchCommandsByTheProtocol) {
    FormRig rig;
    TFormMain& form = rig.Open();
    EXPECT_FALSE(form.State().Edit.EditSearchCommandsEnabled);
    form.RichEdit().setFocus();
    QTest::keyClicks(&form.RichEdit(), "abc");
    EXPECT_TRUE(form.State().Edit.EditSearchCommandsEnabled);
    EXPECT_EQ(form.Capture().Recording.LastChannel, 0);  // typed text starts a new line for data
}

}  // namespace
}  // namespace kestrum
