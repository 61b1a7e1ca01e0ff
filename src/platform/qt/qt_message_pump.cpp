#include "platform/qt/qt_message_pump.h"

#include <QCoreApplication>

namespace kestrum {

QtMessagePump::QtMessagePump(std::function<void()> beforeEvents) : beforeEvents_(std::move(beforeEvents)) {}

void QtMessagePump::ProcessMessages() { ProcessIfDue(QEventLoop::AllEvents); }

void QtMessagePump::ProcessMessagesNow() { Process(QEventLoop::AllEvents); }

void QtMessagePump::ProcessMessagesExceptInput() { ProcessIfDue(QEventLoop::ExcludeUserInputEvents); }

void QtMessagePump::ProcessIfDue(QEventLoop::ProcessEventsFlags flags) {
    if (std::chrono::steady_clock::now() - last_ >= kMinimumInterval) Process(flags);
}

void QtMessagePump::Process(QEventLoop::ProcessEventsFlags flags) {
    const auto now = std::chrono::steady_clock::now();
    const auto gap = now - last_;
    if (gap < std::chrono::seconds(1) && gap > longestGap_) longestGap_ = gap;
    if (beforeEvents_) beforeEvents_();
    QCoreApplication::processEvents(flags);
    last_ = std::chrono::steady_clock::now();
}

void QtMessagePump::ResetStatistics() {
    longestGap_ = std::chrono::nanoseconds(0);
    last_ = {};
}

}  // namespace kestrum
