#include "platform/qt/qt_message_boxes.h"
#include "app/gui/qt_translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace kestrum {
namespace {

struct SeenBox {
    QString Title;
    QString Text;
    QPoint Position;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    int ButtonCount = 0;
};

// Once the box is up, records it and lets `answer` end it.
void WhenBoxShows(SeenBox& seen, std::function<void(QMessageBox&)> answer) {
    QTimer::singleShot(0, [&seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            WhenBoxShows(seen, answer);  // not shown yet
            return;
        }
        seen.Title = box->windowTitle();
        seen.Text = box->text();
        seen.Position = box->pos();
        seen.Icon = box->icon();
        seen.ButtonCount = static_cast<int>(box->buttons().size());
        answer(*box);
    });
}

TEST(QtMessageBoxes, ShowsSingleByteTextAtTheOrigin) {
    QtMessageBoxes boxes;
    SeenBox seen;
    WhenBoxShows(seen, [](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); });
    const MessageResult result = boxes.Show(MessageKind::Error, "kestrum",
                                            "Fehler beim \xD6" "ffnen\rder Datei", {40, 50});
    EXPECT_EQ(result, MessageResult::Ok);
    EXPECT_EQ(seen.Title, "kestrum");
    EXPECT_EQ(seen.Text, QString::fromUtf8("Fehler beim \xC3\x96" "ffnen\nder Datei"));
    EXPECT_EQ(seen.Position, QPoint(40, 50));
    EXPECT_EQ(seen.Icon, QMessageBox::Critical);
    EXPECT_EQ(seen.ButtonCount, 1);
}

TEST(QtMessageBoxes, AnswersByTheButtonPressed) {
    struct Case {
        MessageButtons Buttons;
        QMessageBox::StandardButton Press;  // NoButton: close with Escape
        MessageResult Expected;
        int ButtonCount;
    };
    const Case cases[] = {
        {MessageButtons::YesNo, QMessageBox::Yes, MessageResult::Yes, 2},
        {MessageButtons::YesNo, QMessageBox::No, MessageResult::No, 2},
        {MessageButtons::YesNo, QMessageBox::NoButton, MessageResult::No, 2},
        {MessageButtons::OkCancel, QMessageBox::Cancel, MessageResult::Cancel, 2},
        {MessageButtons::YesNoCancel, QMessageBox::NoButton, MessageResult::Cancel, 3},
    };
    for (const Case& c : cases) {
        QtMessageBoxes boxes;
        SeenBox seen;
        WhenBoxShows(seen, [press = c.Press](QMessageBox& box) {
            if (press == QMessageBox::NoButton) box.reject();
            else box.button(press)->click();
        });
        EXPECT_EQ(boxes.Show(MessageKind::Question, "q", "?", {0, 0}, c.Buttons), c.Expected);
        EXPECT_EQ(seen.Icon, QMessageBox::Question);
        EXPECT_EQ(seen.ButtonCount, c.ButtonCount);
    }
}

TEST(QtTranslations, ButtonsFollowTheSystemLanguageWhenQtsCatalogueIsThere) {
    EXPECT_FALSE(InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::Zulu)));
    if (!InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::German, QLocale::Germany)))
        GTEST_SKIP() << "Qt's translations are not installed";
    QtMessageBoxes boxes;
    QString yes;
    SeenBox seen;
    WhenBoxShows(seen, [&yes](QMessageBox& box) {
        yes = box.button(QMessageBox::Yes)->text();
        box.reject();
    });
    boxes.Show(MessageKind::Question, "q", "?", {0, 0}, MessageButtons::YesNo);
    EXPECT_EQ(yes, QString("&Ja"));
}

}  // namespace
}  // namespace kestrum
