#include "capture/recording_ports.h"

#include "channels/port_operations.h"

namespace kestrum {

void RefreshPortForRecording(CaptureContext& c, int channel) {
    ChannelRecord& record = c.channels.Channel(channel);
    if (record.Handle != kInvalidPortHandle) c.ports.PurgeComm(record.Handle);
    ApplyPortConfiguration(c.channels, channel, c.ports);
}

}  // namespace kestrum
