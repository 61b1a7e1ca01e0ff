#pragma once
// A bare main window: its title names the program file, and closing it ends
// the session (settings written, instance number released).

#include <QMainWindow>

#include "app/gui/app_session.h"

namespace kestrum {

class PlainMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit PlainMainWindow(AppSession& session, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    AppSession& session_;
};

}  // namespace kestrum
