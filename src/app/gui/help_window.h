#pragma once
// The help window: a small window with the help pages (HTML) in a text
// browser, opened at their contents. One window for the run, brought to
// the front again by every request.

#include <QWidget>

#include <string>

#include "platform/help_viewer.h"

class QTextBrowser;

namespace kestrum {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads the page at `path` (UTF-8 HTML whatever its extension) and
    // shows it at its contents; the title is the page's title. False when
    // the file cannot be read.
    bool ShowContents(const QString& path);
    QTextBrowser& Browser() { return *browser_; }

protected:
    // Escape puts the help away, as it closes the program's dialogs.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* browser_;
};

// The help system over the help window, owned by the main window (the
// window is a top-level window of its own, closed with the main window).
class QtHelpViewer : public HelpViewer {
public:
    explicit QtHelpViewer(QWidget* owner) : owner_(owner) {}
    ~QtHelpViewer() override;
    bool ShowContents(const std::string& path) override;
    // The help window once it was shown; nullptr before.
    HelpWindow* Window() const { return window_; }

private:
    QWidget* owner_;
    HelpWindow* window_ = nullptr;
};

}  // namespace kestrum
