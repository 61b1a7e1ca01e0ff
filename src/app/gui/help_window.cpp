#include "app/gui/help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kestrum {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName("HelpWindow");
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) close();
    else QWidget::keyPressEvent(event);
}

bool HelpWindow::ShowContents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    file.close();
    // Read as HTML: the pages' extension says nothing to the browser.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setFragment("contents");
    browser_->setSource(url, QTextDocument::HtmlResource);
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QFileInfo(path).fileName() : title);
    browser_->scrollToAnchor("contents");
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    return true;
}

QtHelpViewer::~QtHelpViewer() {
    // A window without an owner is ours.
    if (owner_ == nullptr) delete window_;
}

bool QtHelpViewer::ShowContents(const std::string& path) {
    if (window_ == nullptr) {
        window_ = new HelpWindow(owner_);
        if (owner_) window_->move(owner_->window()->frameGeometry().topLeft() + QPoint(40, 40));
    }
    return window_->ShowContents(QString::fromStdString(path));
}

}  // namespace kestrum
