#include "app/gui/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>

namespace kestrum {
namespace {

// The one value a signal handler can reach: the pipe's write end.
std::atomic<int> signalPipeWriteEnd{-1};

extern "C" void OnTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const int fd = signalPipeWriteEnd.load();
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_[0] = pipe_[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);
    signalPipeWriteEnd.store(pipe_[1]);

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    installed_ = sigaction(SIGTERM, &action, &oldTerm_) == 0;
    installed_ = sigaction(SIGINT, &action, &oldInt_) == 0 && installed_;
}

TerminationSignals::~TerminationSignals() {
    if (pipe_[1] >= 0) {
        sigaction(SIGTERM, &oldTerm_, nullptr);
        sigaction(SIGINT, &oldInt_, nullptr);
        int expected = pipe_[1];
        signalPipeWriteEnd.compare_exchange_strong(expected, -1);
        delete notifier_;
        close(pipe_[0]);
        close(pipe_[1]);
    }
}

void TerminationSignals::ReadPipe() {
    unsigned char bytes[16];
    ssize_t count;
    while ((count = read(pipe_[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i) emit TerminationRequested(bytes[i]);
    }
}

}  // namespace kestrum
