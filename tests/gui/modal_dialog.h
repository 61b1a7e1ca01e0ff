#pragma once
// Acting on modal dialogs from a GUI test: the dialog runs its own event
// loop, so the test acts from a timer once the dialog is up.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kestrum::test {

// Once a modal dialog of type T is the active modal widget, calls `act`
// with it (which must close it). Gives up after about two seconds.
template <typename T>
void WhenModal(std::function<void(T&)> act, int triesLeft = 400) {
    QTimer::singleShot(5, [act, triesLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(*dialog);
        } else if (triesLeft > 0) {
            WhenModal<T>(act, triesLeft - 1);
        }
    });
}

}  // namespace kestrum::test
