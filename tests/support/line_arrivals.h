#pragma once
// Reads the other ends of pseudo-terminals on a thread of its own and notes
// when each line (up to its '\n') arrives, as a receiving device would see
// it. The line's text is kept without its "\r\n".

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrum::test {

class LineArrivals {
public:
    using Time = std::chrono::steady_clock::time_point;
    struct Arrival {
        int Port;  // index into the descriptors given
        std::string Text;
        Time At;
    };

    explicit LineArrivals(std::vector<int> descriptors)
        : fds_(std::move(descriptors)), partial_(fds_.size()), thread_([this] { Run(); }) {}
    ~LineArrivals() {
        stop_ = true;
        thread_.join();
    }
    LineArrivals(const LineArrivals&) = delete;
    LineArrivals& operator=(const LineArrivals&) = delete;

    std::vector<Arrival> Lines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    // The arrivals of one port with that text.
    std::vector<Time> TimesOf(int port, const std::string& text) const {
        std::vector<Time> times;
        for (const Arrival& line : Lines())
            if (line.Port == port && line.Text == text) times.push_back(line.At);
        return times;
    }
    std::size_t CountOf(int port) const {
        std::size_t count = 0;
        for (const Arrival& line : Lines()) count += line.Port == port;
        return count;
    }

private:
    void Run() {
        std::vector<pollfd> polls;
        for (int fd : fds_) polls.push_back({fd, POLLIN, 0});
        while (!stop_) {
            if (poll(polls.data(), polls.size(), 20) <= 0) continue;
            for (std::size_t i = 0; i < polls.size(); ++i) {
                if (!(polls[i].revents & POLLIN)) continue;
                const Time now = std::chrono::steady_clock::now();
                char chunk[4096];
                const ssize_t got = ::read(polls[i].fd, chunk, sizeof chunk);
                if (got <= 0) continue;
                std::string& text = partial_[i];
                text.append(chunk, static_cast<std::size_t>(got));
                std::lock_guard<std::mutex> lock(mutex_);
                for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n')) {
                    std::string line = text.substr(0, end);
                    if (!line.empty() && line.back() == '\r') line.pop_back();
                    lines_.push_back({static_cast<int>(i), line, now});
                    text.erase(0, end + 1);
                }
            }
        }
    }

    std::vector<int> fds_;
    std::vector<std::string> partial_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Arrival> lines_;
    std::thread thread_;
};

}  // namespace kestrum::test
