#pragma once
// SIGTERM and SIGINT as a Qt signal on the event loop, so that a request to
// end the program (a desktop session ending, kill, Ctrl+C) closes the main
// window the ordinary way and the settings are saved.
//
// The handler only writes the signal number into a pipe; a socket notifier
// reads it on the user-interface thread. Each handler fires once: a second
// signal of the same kind ends the program at once (the system default).
// One object at a time; its destruction puts the previous handlers back.

#include <QObject>

#include <signal.h>

class QSocketNotifier;

namespace kestrum {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // Whether the handlers are in place.
    bool Installed() const { return installed_; }

signals:
    void TerminationRequested(int signalNumber);

private:
    void ReadPipe();

    int pipe_[2] = {-1, -1};
    bool installed_ = false;
    struct sigaction oldTerm_ {};
    struct sigaction oldInt_ {};
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kestrum
