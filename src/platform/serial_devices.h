#pragma once
// The serial devices present on the machine, in the order in which channels
// without a device of their own are given one.

#include <memory>
#include <string>
#include <vector>

namespace kestrum {

class SerialDevices {
public:
    virtual ~SerialDevices() = default;
    // Device paths: USB adapters by their stable names first (sorted by
    // name), then the built-in ports that have hardware behind them.
    virtual std::vector<std::string> ListPresentSerialDevices() = 0;
};

// The machine's serial devices.
std::unique_ptr<SerialDevices> CreateSystemSerialDevices();

}  // namespace kestrum
