#pragma once
// A second process for tests: started with extra environment variables,
// its stdin and stdout connected by pipes, read line by line with a
// time-out, and always reaped.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kestrum::test {

class ChildProcess {
public:
    // `environment` entries are "NAME=value" set on top of this process's.
    ChildProcess(const std::vector<std::string>& argv,
                 const std::vector<std::string>& environment = {}) {
        int toChild[2];
        int fromChild[2];
        if (pipe2(toChild, O_CLOEXEC) != 0) return;
        if (pipe2(fromChild, O_CLOEXEC) != 0) {
            close(toChild[0]);
            close(toChild[1]);
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toChild[0], STDIN_FILENO);
            dup2(fromChild[1], STDOUT_FILENO);
            for (const std::string& entry : environment) {
                const std::size_t equals = entry.find('=');
                setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
            }
            std::vector<char*> args;
            for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        stdin_ = toChild[1];
        stdout_ = fromChild[0];
        if (pid_ < 0) {
            close(stdin_);
            close(stdout_);
            stdin_ = stdout_ = -1;
        }
    }
    ~ChildProcess() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            Wait();
        }
        if (stdin_ >= 0) close(stdin_);
        if (stdout_ >= 0) close(stdout_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }

    // The next line of output without its '\n'; empty on end of output or
    // when nothing came within `timeout`.
    std::string ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (true) {
            const std::size_t newline = buffer_.find('\n');
            if (newline != std::string::npos) {
                std::string line = buffer_.substr(0, newline);
                buffer_.erase(0, newline + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (stdout_ < 0 || eof_ || left.count() <= 0) return std::exchange(buffer_, {});
            pollfd fd{stdout_, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
            char chunk[256];
            const ssize_t got = read(stdout_, chunk, sizeof chunk);
            if (got <= 0) {
                eof_ = true;
                return std::exchange(buffer_, {});
            }
            buffer_.append(chunk, static_cast<std::size_t>(got));
        }
    }

    // Every remaining line until the process closes its output or nothing
    // more comes within `timeout`; stops at an empty line.
    std::vector<std::string> ReadAllLines(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        std::vector<std::string> lines;
        for (std::string line = ReadLine(timeout); !line.empty(); line = ReadLine(timeout))
            lines.push_back(std::move(line));
        return lines;
    }

    // Writes `line` and a '\n' to the process's input.
    bool WriteLine(const std::string& line) {
        const std::string text = line + "\n";
        return stdin_ >= 0 && write(stdin_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }

    void CloseStdin() {
        if (stdin_ >= 0) close(stdin_);
        stdin_ = -1;
    }

    void Signal(int signal) {
        if (pid_ > 0 && !reaped_) kill(pid_, signal);
    }

    // Waits for the end of the process; its wait status.
    int Wait() {
        if (pid_ <= 0) return -1;
        if (!reaped_) {
            while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
            }
            reaped_ = true;
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    bool reaped_ = false;
    bool eof_ = false;
    int status_ = 0;
    std::string buffer_;
};

// A temporary folder removed with everything in it at the end of scope.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = "/tmp/kestrum-test-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace kestrum::test
