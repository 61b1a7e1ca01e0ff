// End-to-end throughput of monitor mode through the real window (offscreen):
// pseudo-terminals mapped as COM1..COM8, a second process writing 62-byte
// lines ending CR LF, the recording engine running inside the Start click.
// Prints bytes/s, lines/s, bytes lost, process CPU, RSS per 100k lines, the
// longest time without event processing and the lag from the last byte sent
// to its line in the protocol. "Not recorded" counts the bytes that were not
// in the protocol 5 s after the last byte was sent (or at the end of a run).
// Case (b) is a bus of requests and replies: each line is read by the
// recording before the next port sends its own.
//   bench_e2e_gui [lines for one port, default 200000]
//   BENCH_PLAIN_TIMER=1: the plain 1 ms idle wait instead of the one ports end
#include <QApplication>
#include <QTimer>

#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/gui/main_menus.h"
#include "gui/form_main_rig.h"
#include "platform/linux/port_wait_poll_timer.h"
#include "platform/qt/qt_message_pump.h"
#include "platform/qt/qt_protocol_field.h"

namespace kestrum {
namespace {

using test::FormRig;
using test::PseudoTerminal;

constexpr int kPorts = 8;
constexpr int kLineBytes = 62;  // 60 characters, CR, LF

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

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

// Bytes a protocol line stands for: the text after "COMn: " with <CR> and
// <LF> counted as one byte each.
long LineBytes(const std::string& line) {
    if (line.size() < 6 || line.compare(0, 3, "COM") != 0) return 0;
    long bytes = 0;
    for (std::size_t i = 6; i < line.size(); ++i) {
        if (line[i] == '<' && (line.compare(i, 4, "<CR>") == 0 || line.compare(i, 4, "<LF>") == 0)) i += 3;
        ++bytes;
    }
    return bytes;
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

private:
    LinuxSerialPorts& ports_;
    ReadCounts& counts_;
    std::vector<int> index_;  // port number - 1 by handle
    long local_[kPorts] = {};
};

enum class Pattern { OnePortFast, TakingTurns, AllPortsPaced, Quiet };

// The writing process: writes its lines and reports when its last byte went out.
void WriteLines(const std::vector<PseudoTerminal*>& ptys, Pattern pattern, long lines, int reportFd,
                const ReadCounts* consumed) {
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
    } else if (pattern == Pattern::TakingTurns) {
        // As on a bus of requests and replies: a port sends its line only
        // once the recording has read the previous port's line. The tty's
        // own count (FIONREAD) cannot tell: the serial layer takes all a tty
        // holds into its buffer at once, long before the recording has read
        // the line byte by byte, so the next port's line would arrive in the
        // middle of it. The recording's reads are counted instead.
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
    } else if (pattern == Pattern::AllPortsPaced) {
        // 115200 baud, 10 bits a byte: one 62-byte line every 5.38 ms per port.
        const double interval = kLineBytes * 10.0 / 115200.0;
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

struct Result {
    const char* Name;
    long Expected = 0;
    long Recorded = 0;
    long Lines = 0;
    double Seconds = 0;
    double Cpu = 0;
    long RssGrowthKb = 0;
    double GapMs = 0;
    double LagMs = 0;
};

Result Run(TFormMain& form, std::vector<PseudoTerminal*> ptys, const ReadCounts* consumed, Pattern pattern,
           long lines, const char* name, double quietSeconds = 0) {
    Result result{name};
    long totalLines = pattern == Pattern::AllPortsPaced ? lines * kPorts : lines;
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
            if (countedBytes + last >= result.Expected) {
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
    for (int i = 0; i < count; ++i) {
        const long bytes = LineBytes(field.LineText(i));
        result.Recorded += bytes;
        if (bytes > 0) ++result.Lines;
    }
    result.RssGrowthKb = RssKb() - rss0;
    if (std::getenv("BENCH_PEEK"))
        for (int i = 0; i < std::min(count, 12); ++i) std::printf("  [%s]\n", field.LineText(i).c_str());
    return result;
}

void Print(const Result& r) {
    const double mb = static_cast<double>(r.Recorded) / 1e6;
    std::printf("%-40s %6.2f MB/s %7.0f lines/s  not recorded %ld B  CPU %5.1f %%  RSS +%ld kB (%.0f MB/100k lines)"
                "  gap %.1f ms  lag %.0f ms\n",
                r.Name, r.Seconds > 0 ? mb / r.Seconds : 0,
                r.Seconds > 0 ? static_cast<double>(r.Lines) / r.Seconds : 0, r.Expected - r.Recorded,
                r.Seconds > 0 ? 100.0 * r.Cpu / r.Seconds : 0, r.RssGrowthKb,
                r.Lines > 0 ? static_cast<double>(r.RssGrowthKb) / 1024.0 * 100000.0 / static_cast<double>(r.Lines) : 0,
                r.GapMs, r.LagMs);
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
    void* shared = mmap(nullptr, sizeof(ReadCounts), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) return 1;
    auto* consumed = new (shared) ReadCounts{};
    CountingSerialPorts ports(rig.Ports, *consumed);
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
    Print(Run(form, ptys, consumed, Pattern::OnePortFast, lines, "(a) one port open, as fast as it takes"));
    setOthers(true);
    Print(Run(form, ptys, consumed, Pattern::OnePortFast, lines, "(a8) same, seven more ports open, idle"));
    Print(Run(form, ptys, consumed, Pattern::TakingTurns, lines, "(b) eight ports taking turns, line by line"));
    const long paced = static_cast<long>(5.0 / (kLineBytes * 10.0 / 115200.0));  // five seconds
    Print(Run(form, ptys, consumed, Pattern::AllPortsPaced, paced, "(c) eight ports at 115200 baud each"));
    Print(Run(form, ptys, consumed, Pattern::Quiet, 0, "(d) eight open quiet ports, 3 s", 3.0));
    rig.Close();
    return 0;
}
