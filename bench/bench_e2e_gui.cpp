// End-to-end throughput of monitor mode through the real window (offscreen):
// pseudo-terminals mapped as COM1..COM8, a second process writing 62-byte
// lines ending CR LF, the recording engine running inside the Start click.
// Prints bytes/s, lines/s, bytes lost, process CPU, RSS per 100k lines, the
// longest time without event processing and the lag from the last byte sent
// to its line in the protocol; for the cases with an order, the lines that
// are not whole and those out of the order they were sent in. "Not
// recorded" counts the bytes that were not in the protocol 5 s after the
// last byte was sent (or at the end of a run).
// (b0) writes each line as soon as the previous one is written, on the next
// port: lines written microseconds apart on different ports may reach the
// reading thread together, and then their order between ports is not known
// (one read takes all a port holds). (b) is a bus of requests and replies as
// fast as the writer can: each port sends its line once the previous port's
// line has arrived (taken by the serial layer's reading thread), not
// waiting for the window; the figure includes the time the window takes to
// catch up. (b2) waits for the
// recording's reads instead, as a bus whose devices answer the program does.
// (f) is the time-tag error of lines paced on two ports while a third floods,
// against the true send times; (g) reads the capture file of (e) back with
// tshark.
//   bench_e2e_gui [lines for one port, default 200000]
//   BENCH_PLAIN_TIMER=1: the plain 1 ms idle wait instead of the one ports end
#include <QApplication>
#include <QTimer>

#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/gui/main_menus.h"
#include "gui/form_main_rig.h"
#include "platform/linux/port_wait_poll_timer.h"
#include "platform/qt/qt_message_pump.h"
#include "platform/qt/qt_protocol_field.h"
#include "support/child_process.h"
#include "bench_measure.h"

namespace kestrum {
namespace {

using kestrum::bench::CpuSeconds;
using kestrum::bench::Now;

using test::FormRig;
using test::PseudoTerminal;

constexpr int kPorts = 8;
constexpr int kLineBytes = 62;  // 60 characters, CR, LF

long RssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(256, '\n');
    }
    return 0;
}

std::string Line(long number) {
    char text[96];
    std::snprintf(text, sizeof text, "%09ld abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXY", number);
    std::string line(text, 60);
    return line + "\r\n";
}

// Where "COMn: " begins in a protocol line (after a time tag), or npos.
std::size_t IdAt(const std::string& line) {
    const std::size_t at = line.find("COM");
    return at != std::string::npos && at + 6 <= line.size() && line[at + 4] == ':' ? at : std::string::npos;
}

// Bytes a protocol line stands for: the text after "COMn: " with <CR> and
// <LF> counted as one byte each.
long LineBytes(const std::string& line) {
    const std::size_t at = IdAt(line);
    if (at == std::string::npos) return 0;
    long bytes = 0;
    for (std::size_t i = at + 6; i < line.size(); ++i) {
        if (line[i] == '<' && (line.compare(i, 4, "<CR>") == 0 || line.compare(i, 4, "<LF>") == 0)) i += 3;
        ++bytes;
    }
    return bytes;
}

// The number a whole line of Line() was sent with; -1 for a piece of a line.
long WholeLineNumber(const std::string& line, int* port = nullptr) {
    const std::size_t at = IdAt(line);
    if (at == std::string::npos || line.size() != at + 6 + 60 + 8) return -1;
    if (line.compare(line.size() - 8, 8, "<CR><LF>") != 0) return -1;
    if (port) *port = line[at + 3] - '1';
    return std::atol(line.c_str() + at + 6);
}

// Bytes the recording has read from each port up to its last line end, in
// memory shared with the writing process.
struct ReadCounts {
    std::atomic<long> Bytes[kPorts];
};

// The system's serial ports, counting the bytes read from COM1..COM8.
class CountingSerialPorts final : public SerialPorts {
public:
    CountingSerialPorts(LinuxSerialPorts& ports, ReadCounts& counts) : ports_(ports), counts_(counts) {}
    void MapPortName(const std::string& portName, const std::string& device) override {
        ports_.MapPortName(portName, device);
    }
    bool GetDefaultCommConfig(const std::string& portName, CommConfig& config) override {
        return ports_.GetDefaultCommConfig(portName, config);
    }
    PortHandle CreateFile(const std::string& portName, OpenFailure& failure) override {
        const PortHandle handle = ports_.CreateFile(portName, failure);
        if (handle >= 0 && portName.size() == 4 && portName.compare(0, 3, "COM") == 0) {
            if (static_cast<std::size_t>(handle) >= index_.size()) index_.resize(static_cast<std::size_t>(handle) + 1, -1);
            index_[static_cast<std::size_t>(handle)] = portName[3] - '1';
        }
        return handle;
    }
    bool GetCommConfig(PortHandle port, CommConfig& config) override { return ports_.GetCommConfig(port, config); }
    bool SetCommConfig(PortHandle port, const CommConfig& config) override {
        return ports_.SetCommConfig(port, config);
    }
    bool GetCommTimeouts(PortHandle port, CommTimeouts& timeouts) override {
        return ports_.GetCommTimeouts(port, timeouts);
    }
    bool SetCommTimeouts(PortHandle port, const CommTimeouts& timeouts) override {
        return ports_.SetCommTimeouts(port, timeouts);
    }
    bool PurgeComm(PortHandle port) override { return ports_.PurgeComm(port); }
    bool ReadFile(PortHandle port, std::uint8_t* buffer, std::uint32_t size, std::uint32_t& bytesRead) override {
        const bool ok = ports_.ReadFile(port, buffer, size, bytesRead);
        if (bytesRead > 0 && port >= 0 && static_cast<std::size_t>(port) < index_.size()) {
            const int p = index_[static_cast<std::size_t>(port)];
            // Published at line ends only, so that the writer polling the
            // count does not slow down every read.
            if (p >= 0 && p < kPorts) {
                local_[p] += bytesRead;
                if (buffer[bytesRead - 1] == '\n') counts_.Bytes[p].store(local_[p], std::memory_order_release);
            }
        }
        return ok;
    }
    bool WriteFile(PortHandle port, const std::uint8_t* data, std::uint32_t size,
                   std::uint32_t& bytesWritten) override {
        return ports_.WriteFile(port, data, size, bytesWritten);
    }
    bool CloseHandle(PortHandle port) override {
        if (port >= 0 && static_cast<std::size_t>(port) < index_.size()) index_[static_cast<std::size_t>(port)] = -1;
        return ports_.CloseHandle(port);
    }
    std::uint64_t ArrivalLimit() override { return ports_.ArrivalLimit(); }
    bool NextArrival(PortHandle port, InputArrival& arrival) override { return ports_.NextArrival(port, arrival); }
    std::uint64_t TakeDroppedInput(PortHandle port) override { return ports_.TakeDroppedInput(port); }
    void SetTrafficRecorder(PortTrafficRecorder* recorder) override { ports_.SetTrafficRecorder(recorder); }

private:
    LinuxSerialPorts& ports_;
    ReadCounts& counts_;
    std::vector<int> index_;  // port number - 1 by handle
    long local_[kPorts] = {};
};

enum class Pattern { OnePortFast, TakingTurnsNoWait, TakingTurns, TakingTurnsRecorded, AllPortsPaced, AllPorts921600, Quiet, TimeTags };

constexpr int kTimeTagLines = 600;  // (f): lines of the two paced ports

// Memory shared with the writing process: what the recording has read (b2),
// what the serial layer's reading thread has taken (b), and when each paced
// line of (f) was sent.
struct Shared {
    ReadCounts Consumed;
    ReadCounts Arrived;
    std::atomic<std::int64_t> SentAt[kTimeTagLines];  // CLOCK_MONOTONIC ns
};

std::int64_t MonotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// The writing process: writes its lines and reports when its last byte went out.
void WriteLines(const std::vector<PseudoTerminal*>& ptys, Pattern pattern, long lines, int reportFd,
                Shared* shared) {
    const ReadCounts* consumed = &shared->Consumed;
    auto writeAll = [](int fd, const std::string& data) {
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
            if (n > 0) done += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EINTR && errno != EAGAIN) return;
            else usleep(50);
        }
    };
    if (pattern == Pattern::OnePortFast) {
        std::string chunk;
        for (long i = 0; i < lines; ++i) {
            chunk += Line(i);
            if (chunk.size() >= 62 * 64 || i + 1 == lines) {
                writeAll(ptys[0]->Master, chunk);
                chunk.clear();
            }
        }
    } else if (pattern == Pattern::TakingTurnsNoWait) {
        // Each line as soon as the previous one is written, on the next port.
        for (long i = 0; i < lines; ++i) writeAll(ptys[static_cast<std::size_t>(i % kPorts)]->Master, Line(i));
    } else if (pattern == Pattern::TakingTurns) {
        // As on a bus of requests and replies at full speed: a port sends its
        // line once the previous port's line has arrived, that is, once the
        // serial layer's reading thread has taken it (counted by a traffic
        // recorder), whatever the window is doing. (An empty tty does not
        // tell: written bytes reach it a moment later.)
        long target[kPorts];
        for (int p = 0; p < kPorts; ++p) target[p] = shared->Arrived.Bytes[p].load(std::memory_order_acquire);
        for (long i = 0; i < lines; ++i) {
            const std::size_t port = static_cast<std::size_t>(i % kPorts);
            writeAll(ptys[port]->Master, Line(i));
            target[port] += kLineBytes;
            // Each look gives the processor away: the reading thread needs it.
            while (shared->Arrived.Bytes[port].load(std::memory_order_acquire) < target[port]) sched_yield();
        }
    } else if (pattern == Pattern::TakingTurnsRecorded) {
        // A port sends its line only once the recording has read the
        // previous port's line (counted through a layer over the ports).
        long target[kPorts];
        for (int p = 0; p < kPorts; ++p) target[p] = consumed->Bytes[p].load(std::memory_order_acquire);
        for (long i = 0; i < lines; ++i) {
            const std::size_t port = static_cast<std::size_t>(i % kPorts);
            writeAll(ptys[port]->Master, Line(i));
            target[port] += kLineBytes;
            // Spins politely, and now and then gives the processor away (a
            // system call on every check would slow the reading side).
            for (int spins = 1; consumed->Bytes[port].load(std::memory_order_acquire) < target[port]; ++spins) {
                if (spins % 1000 == 0) sched_yield();
                else __builtin_ia32_pause();
            }
        }
    } else if (pattern == Pattern::TimeTags) {
        // Ports 1 and 2 send a line each 5 ms in turn; port 3 floods with
        // 64 lines in each of those 5 ms (0.8 MB/s, more than the window
        // shows beside the others).
        std::string flood;
        for (int i = 0; i < 64; ++i) flood += Line(1'000'000 + i);
        const double start = Now();
        for (long i = 0; i < kTimeTagLines; ++i) {
            writeAll(ptys[2]->Master, flood);
            const double due = start + static_cast<double>(i) * 0.005;
            while (Now() < due) usleep(100);
            shared->SentAt[i].store(MonotonicNs());
            writeAll(ptys[static_cast<std::size_t>(i % 2)]->Master, Line(i));
        }
    } else if (pattern == Pattern::AllPortsPaced || pattern == Pattern::AllPorts921600) {
        // 10 bits a byte: one 62-byte line every 5.38 ms per port at
        // 115200 baud, every 0.67 ms at 921600 baud.
        const double baud = pattern == Pattern::AllPortsPaced ? 115200.0 : 921600.0;
        const double interval = kLineBytes * 10.0 / baud;
        const double start = Now();
        for (long i = 0; i < lines; ++i) {
            const double due = start + static_cast<double>(i) * interval;
            while (Now() < due) usleep(200);
            for (int p = 0; p < kPorts; ++p) writeAll(ptys[static_cast<std::size_t>(p)]->Master, Line(i * kPorts + p));
        }
    }
    const double sent = Now();
    (void)!::write(reportFd, &sent, sizeof sent);
}

LinuxSerialPorts* g_serial = nullptr;

// Counts the bytes the serial layer's reading thread takes from COM1..COM8.
class ArrivalCounter final : public PortTrafficRecorder {
public:
    explicit ArrivalCounter(ReadCounts& counts) : counts_(counts) {}
    void Record(const PortTraffic& traffic) override {
        if (traffic.Kind != PortTrafficKind::Received || traffic.PortName.size() != 4) return;
        const int p = traffic.PortName[3] - '1';
        if (p >= 0 && p < kPorts)
            counts_.Bytes[p].store(counts_.Bytes[p].load(std::memory_order_relaxed) + static_cast<long>(traffic.Size),
                                   std::memory_order_release);
    }
    void Tick(std::int64_t) override {}

private:
    ReadCounts& counts_;
};

// No open port has bytes the recording has not read.
bool Drained(TFormMain& form) {
    for (int p = 1; p <= kPorts; ++p) {
        const ChannelRecord& record = form.Channels().Channel(p);
        if (record.Open && g_serial->BufferedBytes(record.Handle) > 0) return false;
    }
    return true;
}

struct Result {
    const char* Name;
    long Expected = 0;
    long Recorded = 0;
    long Lines = 0;
    long Broken = -1;      // lines that are not whole (-1: not counted)
    long OutOfOrder = -1;  // whole lines before one sent earlier (in their port's order for paced cases)
    double Seconds = 0;
    double Cpu = 0;
    long RssGrowthKb = 0;
    double GapMs = 0;
    double LagMs = 0;
};

Result Run(TFormMain& form, std::vector<PseudoTerminal*> ptys, Shared* consumed, Pattern pattern,
           long lines, const char* name, double quietSeconds = 0) {
    Result result{name};
    long totalLines = pattern == Pattern::AllPortsPaced || pattern == Pattern::AllPorts921600 ? lines * kPorts : lines;
    if (pattern == Pattern::Quiet) totalLines = 0;
    result.Expected = totalLines * kLineBytes;
    form.Field().Clear();
    int report[2];
    if (pipe(report) != 0) return result;
    const long rss0 = RssKb();
    double cpu0 = 0, t0 = 0, sent = 0, done = 0;
    pid_t child = -1;
    long counted = 0, countedBytes = 0;
    bool finished = false;
    QTimer timer;
    timer.setInterval(20);  // reading the field flushes it: not more often than it flushes itself
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!form.Capture().Recording.Running || finished) return;
        if (child < 0) {
            form.Pump().ResetStatistics();
            cpu0 = CpuSeconds();
            t0 = Now();
            if (pattern != Pattern::Quiet) {
                child = fork();
                if (child == 0) {
                    WriteLines(ptys, pattern, lines, report[1], consumed);
                    _exit(0);
                }
            } else {
                child = 0;
            }
            return;
        }
        if (pattern == Pattern::Quiet) {
            if (Now() - t0 >= quietSeconds) {
                done = Now();
                finished = true;
            }
        } else {
            if (sent == 0) {
                pollfd p{report[0], POLLIN, 0};
                if (poll(&p, 1, 0) == 1) (void)!::read(report[0], &sent, sizeof sent);
            }
            QtProtocolField& field = form.Field();
            const int count = field.LineCount();
            for (; counted < count - 1; ++counted) countedBytes += LineBytes(field.LineText(static_cast<int>(counted)));
            const long last = count > 0 ? LineBytes(field.LineText(count - 1)) : 0;
            if (pattern == Pattern::TimeTags) {
                // The flood makes the count useless: done once every port's
                // queue is empty after the last line was sent.
                if (sent != 0 && Drained(form)) {
                    done = Now();
                    finished = true;
                }
            } else if (countedBytes + last >= result.Expected) {
                done = Now();
                finished = true;
            } else if (sent != 0 && Now() - sent > 5.0) {
                done = Now();  // gave up waiting: what is missing is lost
                finished = true;
            }
        }
        if (finished && form.Buttons().Start()->isChecked()) form.Buttons().Start()->click();
    });
    timer.start();
    form.Buttons().Start()->click();  // the recording runs in here
    timer.stop();
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    close(report[0]);
    close(report[1]);
    result.Cpu = CpuSeconds() - cpu0;
    result.Seconds = done - t0;
    result.GapMs = std::chrono::duration<double, std::milli>(form.Pump().LongestGap()).count();
    result.LagMs = sent > 0 ? (done - sent) * 1000.0 : 0;
    QtProtocolField& field = form.Field();
    const int count = field.LineCount();
    const bool global = pattern == Pattern::OnePortFast || pattern == Pattern::TakingTurns ||
                        pattern == Pattern::TakingTurnsNoWait || pattern == Pattern::TakingTurnsRecorded;
    const bool perPort = pattern == Pattern::AllPortsPaced || pattern == Pattern::AllPorts921600;
    if (global || perPort) result.Broken = result.OutOfOrder = 0;
    long lastNumber[kPorts + 1];
    std::fill(std::begin(lastNumber), std::end(lastNumber), -1);
    for (int i = 0; i < count; ++i) {
        const std::string text = field.LineText(i);
        const long bytes = LineBytes(text);
        result.Recorded += bytes;
        if (bytes <= 0) continue;
        ++result.Lines;
        if (!global && !perPort) continue;
        int port = 0;
        const long number = WholeLineNumber(text, &port);
        if (number < 0) {
            ++result.Broken;
            continue;
        }
        long& last = lastNumber[global ? kPorts : port];
        if (number < last) ++result.OutOfOrder;
        last = number;
    }
    result.RssGrowthKb = RssKb() - rss0;
    if (std::getenv("BENCH_PEEK"))
        for (int i = 0; i < std::min(count, 12); ++i) std::printf("  [%s]\n", field.LineText(i).c_str());
    return result;
}

void Print(const Result& r) {
    const double mb = static_cast<double>(r.Recorded) / 1e6;
    std::printf("%-44s %6.2f MB/s %7.0f lines/s  not recorded %ld B  CPU %5.1f %%  RSS +%ld kB (%.0f MB/100k lines)"
                "  gap %.1f ms  lag %.0f ms",
                r.Name, r.Seconds > 0 ? mb / r.Seconds : 0,
                r.Seconds > 0 ? static_cast<double>(r.Lines) / r.Seconds : 0, r.Expected - r.Recorded,
                r.Seconds > 0 ? 100.0 * r.Cpu / r.Seconds : 0, r.RssGrowthKb,
                r.Lines > 0 ? static_cast<double>(r.RssGrowthKb) / 1024.0 * 100000.0 / static_cast<double>(r.Lines) : 0,
                r.GapMs, r.LagMs);
    if (r.Broken >= 0) std::printf("  not whole %ld  out of order %ld", r.Broken, r.OutOfOrder);
    std::printf("\n");
    std::fflush(stdout);
}

// (f): the time tags of the paced lines against the times they were sent.
void TimeTagError(TFormMain& form, const std::vector<PseudoTerminal*>& ptys, Shared* shared) {
    for (auto& at : shared->SentAt) at.store(0);
    form.Settings().ShowTimeTags = true;
    const Result run = Run(form, ptys, shared, Pattern::TimeTags, kTimeTagLines, "(f) time tags, 2 ports paced, 1 floods");
    form.Settings().ShowTimeTags = false;
    const double origin = static_cast<double>(form.Capture().ProtocolTime.CounterOrigin);
    std::vector<double> errors;
    QtProtocolField& field = form.Field();
    for (int i = 0; i < field.LineCount(); ++i) {
        const std::string line = field.LineText(i);
        int port = -1;
        const long number = WholeLineNumber(line, &port);
        if (number < 0 || number >= kTimeTagLines || port > 1) continue;
        std::string tag = line.substr(0, line.find(' '));
        tag.erase(std::remove(tag.begin(), tag.end(), ','), tag.end());
        const double sent = (static_cast<double>(shared->SentAt[number].load()) - origin) / 1e9;
        errors.push_back(std::fabs(std::atof(tag.c_str()) - sent) * 1000.0);
    }
    std::sort(errors.begin(), errors.end());
    const auto at = [&](double q) { return errors.empty() ? 0.0 : errors[static_cast<std::size_t>(q * static_cast<double>(errors.size() - 1))]; };
    const auto within = std::count_if(errors.begin(), errors.end(), [](double e) { return e <= 2.0; });
    std::printf("%-44s %zu of %d paced lines tagged; error median %.3f ms, 95 %% %.3f ms, max %.3f ms; "
                "%.1f %% within 2 ms (flood: %.2f MB/s shown, lag %.0f ms)\n",
                "(f) time-tag error against the send times", errors.size(), kTimeTagLines, at(0.5), at(0.95),
                errors.empty() ? 0.0 : errors.back(),
                errors.empty() ? 0.0 : 100.0 * static_cast<double>(within) / static_cast<double>(errors.size()),
                run.Seconds > 0 ? static_cast<double>(run.Recorded) / 1e6 / run.Seconds : 0.0, run.LagMs);
    std::fflush(stdout);
}

// (g): the capture file read back by tshark: bytes per channel and whether
// the frame times of each channel never go back.
void ReadCaptureBack(const std::string& path, long expectedPerPort) {
    const std::vector<std::string> argv = {"/usr/bin/tshark", "-n", "-r", path, "-T", "fields", "-E", "separator=/t",
                                           "-e", "frame.interface_name", "-e", "frame.time_epoch", "-e",
                                           "rtacser.eventtype", "-e", "data.len"};
    if (access(argv[0].c_str(), X_OK) != 0) {
        std::printf("(g) capture file: tshark is not installed\n");
        return;
    }
    const double start = Now();
    test::ChildProcess tshark(argv);
    std::map<std::string, long> bytes;
    std::map<std::string, std::string> lastTime;
    long backwards = 0, frames = 0;
    for (const std::string& row : tshark.ReadAllLines(std::chrono::seconds(600))) {
        std::stringstream cells(row);
        std::string port, time, event, length;
        std::getline(cells, port, '\t');
        std::getline(cells, time, '\t');
        std::getline(cells, event, '\t');
        std::getline(cells, length, '\t');
        ++frames;
        if (event != "0x02") continue;
        bytes[port] += std::atol(length.c_str());
        if (std::atof(time.c_str()) < std::atof(lastTime[port].c_str())) ++backwards;
        lastTime[port] = time;
    }
    const int status = tshark.Wait();
    long missing = 0;
    for (int p = 1; p <= kPorts; ++p) missing += expectedPerPort - bytes["COM" + std::to_string(p)];
    std::printf("%-44s %.1f MB, %ld frames read by tshark in %.1f s (exit %d); bytes missing %ld; "
                "times going back %ld\n",
                "(g) capture file of (e) read back", static_cast<double>(std::filesystem::file_size(path)) / 1e6, frames,
                Now() - start, status, missing, backwards);
    std::fflush(stdout);
}

}  // namespace
}  // namespace kestrum

int main(int argc, char** argv) {
    using namespace kestrum;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const long lines = argc > 1 ? std::atol(argv[1]) : 200000;
    // BENCH_OPEN_PORTS=1 opens COM1 only (for (a) without the seven idle ports).
    const int openPorts = std::getenv("BENCH_OPEN_PORTS") ? std::atoi(std::getenv("BENCH_OPEN_PORTS")) : kPorts;
    std::vector<std::unique_ptr<PseudoTerminal>> owned;
    std::vector<PseudoTerminal*> ptys;
    std::string settings = "[General]\r\nShowTimeTags=0\r\nShowLfChar=1\r\nShowStartStopTime=0\r\n";
    for (int p = 1; p <= kPorts; ++p) {
        owned.push_back(std::make_unique<PseudoTerminal>(true));
        ptys.push_back(owned.back().get());
        settings += "[COM" + std::to_string(p) + "]\r\nDevice=" + ptys.back()->Path + "\r\nMonitorChannel=" +
                    (p <= openPorts ? "1" : "0") + "\r\n";
    }
    FormRig rig;
    rig.WriteSettings(settings);
    // The window gets the ports through the counting layer and the idle wait
    // that input on a port ends.
    void* memory = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return 1;
    auto* shared = new (memory) Shared{};
    CountingSerialPorts ports(rig.Ports, shared->Consumed);
    g_serial = &rig.Ports;
    // BENCH_PLAIN_TIMER=1: the plain idle wait of 1 ms instead.
    if (!std::getenv("BENCH_PLAIN_TIMER")) rig.Poll = std::make_unique<PortWaitPollTimer>(rig.Ports);
    rig.Session = StartSession();
    rig.SystemClock = CreateSystemClock();
    rig.Form = std::make_unique<TFormMain>(
        rig.Session, FormMainServices{ports, rig.Devices, *rig.SystemClock, *rig.Poll}, QStringList{"bench_e2e_gui"});
    TFormMain& form = *rig.Form;
    std::printf("End to end through the window, %d-byte lines, %d ports mapped to pseudo-terminals\n", kLineBytes,
                kPorts);
    const auto setOthers = [&](bool down) {
        for (int p = 2; p <= openPorts; ++p)
            if (form.Buttons().Channel(p)->isChecked() != down) form.Buttons().Channel(p)->click();
    };
    setOthers(false);
    Print(Run(form, ptys, shared, Pattern::OnePortFast, lines, "(a) one port open, as fast as it takes"));
    setOthers(true);
    Print(Run(form, ptys, shared, Pattern::OnePortFast, lines, "(a8) same, seven more ports open, idle"));
    Print(Run(form, ptys, shared, Pattern::TakingTurnsNoWait, lines, "(b0) eight ports taking turns, back to back"));
    ArrivalCounter arrivals(shared->Arrived);
    rig.Ports.SetTrafficRecorder(&arrivals);
    Print(Run(form, ptys, shared, Pattern::TakingTurns, lines, "(b) eight ports taking turns, not waiting"));
    rig.Ports.SetTrafficRecorder(nullptr);
    Print(Run(form, ptys, shared, Pattern::TakingTurnsRecorded, lines, "(b2) same, each waiting for the recording"));
    const long paced = static_cast<long>(5.0 / (kLineBytes * 10.0 / 115200.0));  // five seconds
    Print(Run(form, ptys, shared, Pattern::AllPortsPaced, paced, "(c) eight ports at 115200 baud each"));
    Print(Run(form, ptys, shared, Pattern::Quiet, 0, "(d) eight open quiet ports, 3 s", 3.0));
    // (e) with its capture file, read back in (g).
    const std::string capture = rig.Folder / "e.pcapng";
    CaptureFileState& captureFile = form.Capture().CaptureFile;
    captureFile.CommandLinePath = capture;
    const long fast = static_cast<long>(5.0 / (kLineBytes * 10.0 / 921600.0));  // five seconds
    Print(Run(form, ptys, shared, Pattern::AllPorts921600, fast, "(e) eight ports at 921600 baud each"));
    captureFile.CommandLinePath.clear();
    setOthers(false);
    for (int p = 2; p <= 3; ++p) form.Buttons().Channel(p)->click();
    TimeTagError(form, ptys, shared);
    ReadCaptureBack(capture, fast * kLineBytes);
    rig.Close();
    return 0;
}
