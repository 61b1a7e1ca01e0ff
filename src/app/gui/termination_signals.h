#pragma once
// The system's requests to end the program (TerminationRequests) as a Qt
// signal on the event loop, so that the main window closes the ordinary way
// and the settings are saved.

#include <QObject>

#include <memory>

#include "platform/termination_requests.h"

class QSocketNotifier;

namespace kestrum {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // Whether the requests are caught.
    bool Installed() const { return requests_->Installed(); }

signals:
    void TerminationRequested(int signalNumber);

private:
    void TakeRequests();

    std::unique_ptr<TerminationRequests> requests_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kestrum
