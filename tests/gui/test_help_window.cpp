// The help window: F1 and "/?" show the help pages of the current language
// at their contents; Escape puts it away.
#include <gtest/gtest.h>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include "app/gui/help_window.h"
#include "app/gui/main_menus.h"
#include "form_main_rig.h"

namespace kestrum {
namespace {

using test::FormRig;

TEST(HelpWindow, F1ShowsTheHelpOfTheLanguage) {
    FormRig rig;
    TFormMain& form = rig.Open();
    QAction* help = form.Menus().Action("MainMenuHelp");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    ASSERT_TRUE(help->isEnabled());
    const struct {
        const char* Name;
        const char* LanguageItem;
        QString Title, Heading;
    } languages[] = {
        {"English", "MainMenuSettingsLanguageEnglish", "Kestrum Help", "Getting started"},
        {"German", "MainMenuSettingsLanguageGerman", "Kestrum Hilfe", "Erste Schritte"},
    };
    for (const auto& l : languages) {
        form.Menus().Action(l.LanguageItem)->trigger();
        if (HelpWindow* before = form.Help().Window()) {  // read down to the end
            QScrollBar* bar = before->Browser().verticalScrollBar();
            bar->setValue(bar->maximum());
        }
        help->trigger();
        HelpWindow* window = form.Help().Window();
        ASSERT_NE(window, nullptr) << l.Name;
        EXPECT_TRUE(window->isVisible()) << l.Name;
        EXPECT_EQ(window->windowTitle(), l.Title) << l.Name;
        EXPECT_TRUE(window->Browser().toPlainText().contains(l.Heading)) << l.Name;
        EXPECT_TRUE(window->Browser().source().toLocalFile().endsWith(l.Name + QString(".HLP"))) << l.Name;
        EXPECT_LE(window->Browser().verticalScrollBar()->value(), 10) << l.Name;  // back at the contents
    }
    HelpWindow* window = form.Help().Window();
    QTest::keyClick(&window->Browser(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << "Escape puts the help away";
}

TEST(HelpWindow, ShownForTheHelpArgumentAlongWithTheWindow) {
    FormRig rig;
    TFormMain& form = rig.Open({"kestrum", "/?"});
    QTRY_VERIFY_WITH_TIMEOUT(form.Help().Window() != nullptr && form.Help().Window()->isVisible(), 2000);
    EXPECT_TRUE(form.isVisible());
}

}  // namespace
}  // namespace kestrum
