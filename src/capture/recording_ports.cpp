#include "capture/recording_ports.h"

namespace kestrum {

void RefreshPortForRecording(CaptureContext& c, int channel) {
    ChannelRecord& record = c.channels.Channels[static_cast<std::size_t>(channel)];
    if (record.Handle == kInvalidPortHandle) return;
    c.ports.PurgeComm(record.Handle);
    c.ports.SetCommConfig(record.Handle, record.Config);
}

}  // namespace kestrum
