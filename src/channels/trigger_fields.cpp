#include "channels/trigger_fields.h"

#include "settings/hex_text_messages.h"

namespace kestrum {

std::string TriggerDisplayTextOf(std::string_view bytes) {
    std::string text(bytes);
    for (std::size_t i = text.size(); i > 0; --i) {
        char& c = text[i - 1];
        if (c == '\r') {
            c = static_cast<char>(0xB6);
        } else if (c == '\n') {
            c = static_cast<char>(0xA4);
        } else {
            break;
        }
    }
    return text;
}

std::string TriggerHexColumnTextOf(std::string_view bytes) {
    std::string text(bytes);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 32) c = '\x01';
    }
    return text;
}

void SetTriggerBytes(ChannelRecord& record, std::string_view bytes) {
    if (bytes.size() > kMaxTriggerLength) bytes = bytes.substr(0, kMaxTriggerLength);
    record.TriggerBytes = std::string(bytes);
    record.TriggerLength = static_cast<int>(bytes.size());
    record.TriggerDisplayText = TriggerDisplayTextOf(bytes);
    record.TriggerHexColumnText = TriggerHexColumnTextOf(bytes);
    record.TriggerWord = BytesToHexText(bytes, static_cast<int>(kMaxTriggerLength), false);
    if (record.TriggerLength == 0) record.TriggerEnabled = false;
}

void LoadTriggerWord(ChannelRecord& record) {
    std::string bytes;
    HexTextToBytes(record.TriggerWord, bytes);  // messages off; failure leaves it empty
    SetTriggerBytes(record, bytes);
}

bool SetTriggerEnabled(ChannelRecord& record, bool enabled) {
    record.TriggerEnabled = enabled && record.TriggerLength > 0;
    return record.TriggerEnabled;
}

bool TriggerUnderline(const ChannelRecord& record) {
    return record.TriggerEnabled && record.Active;
}

}  // namespace kestrum
