// SIGTERM and SIGINT through a self-pipe: the handler only writes the signal
// number into the pipe, whose read end the event loop watches.

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/termination_requests.h"

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

class LinuxTerminationRequests final : public TerminationRequests {
public:
    LinuxTerminationRequests() {
        if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
            pipe_[0] = pipe_[1] = -1;
            return;
        }
        signalPipeWriteEnd.store(pipe_[1]);
        struct sigaction action {};
        action.sa_handler = OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART | SA_RESETHAND;
        installed_ = sigaction(SIGTERM, &action, &oldTerm_) == 0;
        installed_ = sigaction(SIGINT, &action, &oldInt_) == 0 && installed_;
    }

    ~LinuxTerminationRequests() override {
        if (pipe_[1] < 0) return;
        sigaction(SIGTERM, &oldTerm_, nullptr);
        sigaction(SIGINT, &oldInt_, nullptr);
        int expected = pipe_[1];
        signalPipeWriteEnd.compare_exchange_strong(expected, -1);
        close(pipe_[0]);
        close(pipe_[1]);
    }

    LinuxTerminationRequests(const LinuxTerminationRequests&) = delete;
    LinuxTerminationRequests& operator=(const LinuxTerminationRequests&) = delete;

    bool Installed() const override { return installed_; }
    std::intptr_t NotifyHandle() const override { return pipe_[0]; }

    std::vector<int> TakeRequests() override {
        std::vector<int> requests;
        if (pipe_[0] < 0) return requests;
        unsigned char bytes[16];
        ssize_t count;
        while ((count = read(pipe_[0], bytes, sizeof bytes)) > 0)
            requests.insert(requests.end(), bytes, bytes + count);
        return requests;
    }

private:
    int pipe_[2] = {-1, -1};
    bool installed_ = false;
    struct sigaction oldTerm_ {};
    struct sigaction oldInt_ {};
};

}  // namespace

std::unique_ptr<TerminationRequests> CreateSystemTerminationRequests() {
    return std::make_unique<LinuxTerminationRequests>();
}

}  // namespace kestrum
