#pragma once
// Present serial devices on Linux: the links in <dev>/serial/by-id that lead
// to a character device, sorted by name, then the <dev>/ttyS<n> ports that
// have a UART behind them (the port type in <sys>/class/tty/ttyS<n>/type,
// else TIOCGSERIAL, is not "unknown"), in numeric order. The two roots are
// "/dev" and "/sys" normally; tests point them at temporary folders.

#include <string>

#include "platform/serial_devices.h"

namespace kestrum {

class LinuxSerialDevices : public SerialDevices {
public:
    explicit LinuxSerialDevices(std::string devRoot = "/dev", std::string sysRoot = "/sys");
    std::vector<std::string> ListPresentSerialDevices() override;

private:
    bool HasUart(const std::string& name) const;
    std::string devRoot_;
    std::string sysRoot_;
};

}  // namespace kestrum
