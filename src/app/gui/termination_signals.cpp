#include "app/gui/termination_signals.h"

#include <QSocketNotifier>

namespace kestrum {

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent), requests_(CreateSystemTerminationRequests()) {
    const std::intptr_t handle = requests_->NotifyHandle();
    if (handle < 0) return;
    notifier_ = new QSocketNotifier(static_cast<qintptr>(handle), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::TakeRequests);
}

TerminationSignals::~TerminationSignals() {
    delete notifier_;  // before the handle it watches goes
    notifier_ = nullptr;
}

void TerminationSignals::TakeRequests() {
    for (int request : requests_->TakeRequests()) emit TerminationRequested(request);
}

}  // namespace kestrum
