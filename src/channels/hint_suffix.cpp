#include "channels/hint_suffix.h"

#include "settings/line_settings_text.h"

namespace kestrum {

std::string HintSuffixOf(const ChannelRecord& record) {
    if (!record.Installed) return {};
    return "\r(" + std::to_string(record.BaudRate) + "," +
           std::to_string(static_cast<unsigned>(record.ByteSize)) + "," +
           ParityToText(record.Parity) + "," + StopBitsToText(record.StopBits) + ")";
}

void RebuildHintSuffix(ChannelRecord& record) { record.HintSuffix = HintSuffixOf(record); }

}  // namespace kestrum
