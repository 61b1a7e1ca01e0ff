#pragma once
// A pseudo-terminal whose terminal side stands in for a serial device: the
// program under test opens `Path`, the test plays the device on `Master`.
// `Slave` stays open so that the line's state and input queue can be read.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace kestrum::test {

struct PseudoTerminal {
    int Master = -1;
    int Slave = -1;
    std::string Path;

    // With `raw`, the terminal side starts in raw mode.
    explicit PseudoTerminal(bool raw = false) {
        char name[256] = {};
        if (openpty(&Master, &Slave, name, nullptr, nullptr) != 0) return;
        if (raw) {
            termios state{};
            tcgetattr(Slave, &state);
            cfmakeraw(&state);
            tcsetattr(Slave, TCSANOW, &state);
        }
        Path = name;
    }
    ~PseudoTerminal() {
        CloseMaster();
        if (Slave >= 0) close(Slave);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    void CloseMaster() {
        if (Master >= 0) close(Master);
        Master = -1;
    }
    // Writes to the line, as the device on the other end would.
    bool Send(const std::string& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t put = ::write(Master, bytes.data() + done, bytes.size() - done);
            if (put <= 0) return false;
            done += static_cast<std::size_t>(put);
        }
        return true;
    }
    // Waits (up to 3 s) until at least `count` bytes wait in the tty's input.
    bool WaitForInput(int count) const {
        using namespace std::chrono_literals;
        const auto deadline = std::chrono::steady_clock::now() + 3s;
        while (std::chrono::steady_clock::now() < deadline) {
            int waiting = 0;
            if (ioctl(Slave, FIONREAD, &waiting) == 0 && waiting >= count) return true;
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }
    // What the program wrote to the line, read on the other end (up to 3 s).
    std::string Receive(std::size_t count) const {
        using namespace std::chrono_literals;
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + 3s;
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd wait{Master, POLLIN, 0};
            if (poll(&wait, 1, 100) <= 0) continue;
            char chunk[512];
            const ssize_t n = ::read(Master, chunk, std::min(sizeof chunk, count - got.size()));
            if (n <= 0) break;
            got.append(chunk, static_cast<std::size_t>(n));
        }
        return got;
    }
};

}  // namespace kestrum::test
