#include "app/gui/plain_main_window.h"

#include <QCloseEvent>
#include <QStyle>

#include "platform/qt/qt_text.h"

namespace kestrum {

PlainMainWindow::PlainMainWindow(AppSession& session, QWidget* parent)
    : QMainWindow(parent), session_(session) {
    setWindowTitle(Cp1252ToQString(" " + session.State.Files.ExeBaseName + " - "));
    resize(480, 270);
}

void PlainMainWindow::closeEvent(QCloseEvent* event) {
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QPoint corner = frameGeometry().topLeft();
    FinishSession(session_, this, {corner.x() + caption, corner.y() + caption});
    event->accept();
}

}  // namespace kestrum
