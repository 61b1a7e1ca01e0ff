#include "capture/display_mode.h"

namespace kestrum {

void SpeedButtonAscOrHexOnMouseDown(CaptureContext& c, int logMode, bool leftButton) {
    if (!leftButton || (logMode != kLogModeAscii && logMode != kLogModeHex)) return;
    if (c.options.LogMode == logMode) return;
    c.options.LogMode = logMode;
    c.hooks.ConvertLastInputLines(logMode);
}

}  // namespace kestrum
