#include "capture/port_reading.h"

namespace kestrum {

void IdleWait(CaptureContext& c) {
    c.pollTimer.SetWaitableTimer(-10, 1);
    c.pollTimer.WaitForSingleObject(1);
}

}  // namespace kestrum
