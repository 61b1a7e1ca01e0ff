#pragma once
// The port's own configuration dialog (CommConfigDialogA): modal, owned by
// the main window, edits a port's configuration in place.

#include <string>

#include "platform/serial_port.h"

namespace kestrum {

class PortDialog {
public:
    virtual ~PortDialog() = default;
    // Shows the dialog for `portName` ("COM1"). On OK the dialog's values
    // are in `config` (and, where the platform maps port names to devices,
    // the chosen device in `device`) and the result is true; on Cancel, or
    // when the dialog cannot be shown, both are left unchanged and the
    // result is false.
    virtual bool CommConfigDialog(const std::string& portName, std::string& device,
                                  CommConfig& config) = 0;
};

}  // namespace kestrum
