// Cost of a storm of device events during a recording, through the real
// window (offscreen): two pseudo-terminals behind links in a folder that the
// device watcher follows (as a channel's Device folder), each sending a
// steady stream of numbered 62-byte lines at 115200 baud, while a second
// process creates and removes unrelated files in that folder. Every file
// event is a device-change message: the window scans the ports each time.
// Prints, without and with the storm: the lines recorded and lost per port,
// the events the watcher read, and the window process's CPU time.
//   bench_device_storm_gui [seconds per phase, default 5] [files per second, default 1000]
#include <QApplication>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "gui/form_main_rig.h"
#include "platform/linux/device_watcher_linux.h"
#include "platform/qt/qt_protocol_field.h"
#include "bench_measure.h"

namespace kestrum {
namespace {

using kestrum::bench::CpuSeconds;
using kestrum::bench::Now;

using test::FormRig;
using test::PseudoTerminal;

constexpr int kLineBytes = 62;  // "COMn line <9 digits> ..." 60 characters, CR, LF

std::string Line(long number) {
    char text[96];
    std::snprintf(text, sizeof text, "%09ld abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXY", number);
    return std::string(text, 60) + "\r\n";
}

void WriteAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            return;
        else
            usleep(50);
    }
}

void WaitUntil(double due) {
    while (Now() < due) usleep(200);
}

// Both ports at 115200 baud (10 bits a byte): one line every 5.38 ms each,
// the second port half a line after the first (lines that arrive at the same
// moment on two ports would share the passes byte by byte).
void SendLines(int a, int b, long lines) {
    const double interval = kLineBytes * 10.0 / 115200.0;
    const double start = Now();
    for (long i = 0; i < lines; ++i) {
        const double due = start + static_cast<double>(i) * interval;
        WaitUntil(due);
        WriteAll(a, Line(i));
        WaitUntil(due + interval / 2);
        WriteAll(b, Line(i));
    }
}

// The bytes a protocol line body stands for: <CR> and <LF> back to CR and LF.
std::string BytesOf(const std::string& body) {
    std::string bytes;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body.compare(i, 4, "<CR>") == 0) {
            bytes += '\r';
            i += 3;
        } else if (body.compare(i, 4, "<LF>") == 0) {
            bytes += '\n';
            i += 3;
        } else {
            bytes += body[i];
        }
    }
    return bytes;
}

void MakeAndRemoveFiles(const std::string& folder, int rate, double seconds) {
    const double period = 1.0 / rate;
    const double start = Now();
    for (long n = 0;; ++n) {
        const double due = start + static_cast<double>(n) * period;
        if (due - start >= seconds) break;
        while (Now() < due) usleep(100);
        const std::string path = folder + "/data-" + std::to_string(n);
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) close(fd);
        unlink(path.c_str());
    }
}

struct Result {
    long Lines = 0;         // sent per port
    long Recorded[2] = {};  // distinct whole lines in the protocol per port
    long Extra[2] = {};     // lines that are not one of those (broken or repeated)
    bool Exact[2] = {};     // the port's bytes in the protocol are exactly the bytes sent
    double Seconds = 0;
    double Cpu = 0;
    std::uint64_t Events = 0;
};

Result RunPhase(TFormMain& form, PseudoTerminal& a, PseudoTerminal& b, LinuxDeviceWatcher& watcher,
                const std::string& folder, bool storm, double seconds, int rate) {
    Result result;
    result.Lines = static_cast<long>(seconds / (kLineBytes * 10.0 / 115200.0));
    form.Field().Clear();
    pid_t writer = -1, stormer = -1;
    double t0 = 0, cpu0 = 0, sendingEnded = 0;
    std::uint64_t events0 = 0;
    bool finished = false;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!form.Capture().Recording.Running || finished) return;
        if (writer < 0) {
            t0 = Now();
            cpu0 = CpuSeconds();
            events0 = watcher.EventsRead();
            writer = fork();
            if (writer == 0) {
                SendLines(a.Master, b.Master, result.Lines);
                _exit(0);
            }
            if (storm) {
                stormer = fork();
                if (stormer == 0) {
                    MakeAndRemoveFiles(folder, rate, seconds);
                    _exit(0);
                }
            }
            return;
        }
        if (sendingEnded == 0) {
            if (waitpid(writer, nullptr, WNOHANG) != writer) return;
            if (stormer > 0) waitpid(stormer, nullptr, 0);
            sendingEnded = Now();
            result.Seconds = sendingEnded - t0;
            result.Cpu = CpuSeconds() - cpu0;
            result.Events = watcher.EventsRead() - events0;
        }
        // The last lines are let in, then the recording stops.
        if (Now() - sendingEnded > 0.5) {
            finished = true;
            form.Buttons().Start()->click();
        }
    });
    timer.start();
    form.Buttons().Start()->click();  // the recording runs in here
    timer.stop();

    std::set<long> seen[2];
    std::string received[2];
    QtProtocolField& field = form.Field();
    for (int i = 0; i < field.LineCount(); ++i) {
        const std::string line = field.LineText(i);
        if (line.size() < 6 || line.compare(0, 3, "COM") != 0) continue;
        const int port = line[3] - '1';
        if (port < 0 || port > 1) continue;
        const std::string body = line.substr(6);
        received[port] += BytesOf(body);
        const long number = std::atol(body.c_str());
        if (body == Line(number).substr(0, 60) + "<CR><LF>" && seen[port].insert(number).second) continue;
        ++result.Extra[port];
    }
    std::string sent;
    for (long i = 0; i < result.Lines; ++i) sent += Line(i);
    for (int p = 0; p < 2; ++p) {
        result.Recorded[p] = static_cast<long>(seen[p].size());
        result.Exact[p] = received[p] == sent;
    }
    return result;
}

void Print(const char* name, const Result& r) {
    std::printf(
        "%-16s lines sent %ld per port; whole lines %ld / %ld (missing %ld / %ld), broken up by the other port %ld / "
        "%ld;"
        " every byte in order: %s / %s; watcher events %llu (%.0f/s); window CPU %.1f %% of one core\n",
        name, r.Lines, r.Recorded[0], r.Recorded[1], r.Lines - r.Recorded[0], r.Lines - r.Recorded[1], r.Extra[0],
        r.Extra[1], r.Exact[0] ? "yes" : "NO", r.Exact[1] ? "yes" : "NO", static_cast<unsigned long long>(r.Events),
        r.Seconds > 0 ? static_cast<double>(r.Events) / r.Seconds : 0, r.Seconds > 0 ? 100 * r.Cpu / r.Seconds : 0);
    std::fflush(stdout);
}

}  // namespace
}  // namespace kestrum

int main(int argc, char** argv) {
    using namespace kestrum;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const int rate = argc > 2 ? std::atoi(argv[2]) : 1000;
    if (seconds <= 0 || rate <= 0 || rate > 100000) {
        std::fprintf(stderr, "usage: bench_device_storm_gui [seconds > 0] [files per second, 1..100000]\n");
        return 2;
    }
    PseudoTerminal a(true), b(true);
    FormRig rig;
    const std::string links = rig.Folder / "links";
    std::filesystem::create_directories(links);
    std::filesystem::create_directories(rig.Folder / "dev");
    std::filesystem::create_symlink(a.Path, links + "/usb-Alpha-if00");
    std::filesystem::create_symlink(b.Path, links + "/usb-Beta-if00");
    rig.WriteSettings(
        "[General]\r\nShowTimeTags=0\r\nShowLfChar=1\r\nShowStartStopTime=0\r\n[COM1]\r\nDevice=" + links +
        "/usb-Alpha-if00\r\nMonitorChannel=1\r\n[COM2]\r\nDevice=" + links + "/usb-Beta-if00\r\nMonitorChannel=1\r\n");
    LinuxDeviceWatcher watcher(rig.Folder / "dev", "");
    rig.Watcher = &watcher;
    TFormMain& form = rig.Open({"bench_device_storm_gui"});
    std::printf(
        "Two ports recording 62-byte lines at 115200 baud each for %.1f s; storm: %d files per second"
        " created and removed beside the ports' links\n",
        seconds, rate);
    const Result quiet = RunPhase(form, a, b, watcher, links, false, seconds, rate);
    Print("(a) no storm", quiet);
    const Result stormy = RunPhase(form, a, b, watcher, links, true, seconds, rate);
    Print("(b) file storm", stormy);
    std::printf("CPU cost of the storm: %.1f %% of one core (%.1f us per watcher event)\n",
                100 * (stormy.Cpu / stormy.Seconds - quiet.Cpu / quiet.Seconds),
                stormy.Events > 0 ? (stormy.Cpu - quiet.Cpu * stormy.Seconds / quiet.Seconds) /
                                        static_cast<double>(stormy.Events) * 1e6
                                  : 0.0);
    rig.Close();
    return 0;
}
