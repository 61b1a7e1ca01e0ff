#include "capture/display_mode.h"

namespace kestrum {

void SpeedButtonAscOrHexOnMouseDown(CaptureContext& c, LogMode logMode, bool leftButton) {
    if (!leftButton || (logMode != LogMode::Ascii && logMode != LogMode::Hex)) return;
    if (c.options.LogMode == logMode) return;
    c.options.LogMode = logMode;
    c.sending.ConvertLastInputLines(logMode);
}

}  // namespace kestrum
