#include "platform/linux/serial_devices_linux.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <utility>

namespace kestrum {

namespace fs = std::filesystem;

namespace {

bool IsCharacterDevice(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

// "ttyS12" -> 12; -1 for anything else.
long TtySNumber(const std::string& name) {
    if (name.size() <= 4 || name.compare(0, 4, "ttyS") != 0) return -1;
    long number = 0;
    for (std::size_t i = 4; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])) || number > 1000000) return -1;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

}  // namespace

std::unique_ptr<SerialDevices> CreateSystemSerialDevices() { return std::make_unique<LinuxSerialDevices>(); }

LinuxSerialDevices::LinuxSerialDevices(std::string devRoot, std::string sysRoot)
    : devRoot_(std::move(devRoot)), sysRoot_(std::move(sysRoot)) {}

bool LinuxSerialDevices::HasUart(const std::string& name) const {
    std::ifstream typeFile(sysRoot_ + "/class/tty/" + name + "/type");
    int type = 0;
    if (typeFile >> type) return type != PORT_UNKNOWN;
    // No sysfs entry: ask the driver.
    const int fd = open((devRoot_ + "/" + name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    serial_struct info{};
    const bool known = ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    close(fd);
    return known;
}

std::vector<std::string> LinuxSerialDevices::ListPresentSerialDevices() {
    std::vector<std::string> devices;
    std::error_code error;

    std::vector<std::string> adapters;
    for (fs::directory_iterator it(devRoot_ + "/serial/by-id", error), end; !error && it != end;
         it.increment(error)) {
        const std::string path = it->path().string();
        if (IsCharacterDevice(path)) adapters.push_back(path);
    }
    std::sort(adapters.begin(), adapters.end());
    devices.insert(devices.end(), adapters.begin(), adapters.end());

    std::vector<std::pair<long, std::string>> builtIn;
    error.clear();
    for (fs::directory_iterator it(devRoot_, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const long number = TtySNumber(name);
        if (number < 0) continue;
        const std::string path = it->path().string();
        if (IsCharacterDevice(path) && HasUart(name)) builtIn.emplace_back(number, path);
    }
    std::sort(builtIn.begin(), builtIn.end());
    for (auto& [number, path] : builtIn) devices.push_back(std::move(path));
    return devices;
}

}  // namespace kestrum
