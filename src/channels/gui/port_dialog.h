#pragma once
// The port configuration dialog: device, baud rate, data bits, parity and
// stop bits of one port, modal, with OK and Cancel.

#include <QDialog>

#include <string>
#include <vector>

#include "platform/port_dialog.h"
#include "platform/serial_devices.h"
#include "settings/options.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;

namespace kestrum {

// The widgets carry object names for tests: "DeviceBox", "BaudRateBox",
// "DataBitsBox", "ParityBox", "StopBitsBox", "DeviceState".
class PortSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // `language` 1 English, 2 German. `devices` fill the device list; any
    // other path can be typed.
    PortSettingsDialog(const std::string& portName, const std::vector<std::string>& devices,
                       int language, QWidget* parent = nullptr);

    // Shows the values; a data-bit count outside 5..8 is offered as it is.
    void SetValues(const std::string& device, const Dcb& dcb);
    // Copies the shown values into device and the line-setting fields of
    // dcb (other fields stay); false, with nothing changed, while they are
    // not acceptable (see Acceptable).
    bool GetValues(std::string& device, Dcb& dcb) const;
    // A baud rate of 1..4294967295 and a device path that exists.
    bool Acceptable() const;

private:
    void Refresh();

    int language_;
    QComboBox* device_;
    QComboBox* baudRate_;
    QComboBox* dataBits_;
    QComboBox* parity_;
    QComboBox* stopBits_;
    QLabel* deviceState_;
    QDialogButtonBox* buttons_;
};

// The dialog behind the port-dialog interface, owned by the main window.
class QtPortDialog : public PortDialog {
public:
    QtPortDialog(QWidget* owner, SerialDevices& devices, const Options& options)
        : owner_(owner), devices_(devices), options_(options) {}

    bool CommConfigDialog(const std::string& portName, std::string& device,
                          CommConfig& config) override;

private:
    QWidget* owner_;
    SerialDevices& devices_;
    const Options& options_;
};

}  // namespace kestrum
