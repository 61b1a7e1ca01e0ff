#include "channels/trigger_word_dialog.h"

#include <algorithm>

#include "channels/channel_button_look.h"
#include "channels/trigger_fields.h"
#include "settings/hex_text_messages.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

constexpr int kLimit = static_cast<int>(kMaxTriggerLength);

void SayTooLong(ChannelCommandContext& c, int row) {
    c.messages.Beep(MessageKind::Error);
    c.messages.Show(MessageKind::Error, c.exeBaseName, LanguageText(row, c.options.Language, std::to_string(kLimit)),
                    c.dialogOrigin);
}

}  // namespace

bool NeedsHexForm(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) < 32; });
}

void TriggerWordDialog(ChannelCommandContext& c, int n) {
    if (!IsChannel(n) || c.inputBox == nullptr) return;
    ChannelRecord& record = c.channels.Channel(n);
    if (!record.Installed || !record.Available) return;
    const int language = c.options.Language;
    const bool hex = c.options.LogMode == LogMode::Hex || NeedsHexForm(record.TriggerBytes);
    const std::string caption = " " + c.exeBaseName;
    const std::string prompt =
        LanguageText(hex ? kTextTriggerWordHex : kTextTriggerWordAscii, language) + record.ChannelID + ":";
    std::string text = hex ? BytesToHexText(record.TriggerBytes, kLimit, false, language) : record.TriggerBytes;
    std::string bytes;
    for (;;) {
        if (!c.inputBox->InputQuery(caption, prompt, text, c.dialogOrigin)) return;
        if (hex) {
            const HexTextMessages messages{&c.messages, c.dialogOrigin, language, c.exeBaseName};
            if (!HexTextToBytes(text, bytes, messages)) return;
            if (bytes.size() <= kMaxTriggerLength) break;
            SayTooLong(c, kTextTriggerTooManyBytes);
        } else {
            if (text.size() <= kMaxTriggerLength) {
                bytes = text;
                break;
            }
            SayTooLong(c, kTextTriggerTooManyChars);
        }
    }
    SetTriggerBytes(record, bytes);
    // An empty word has switched the trigger off: the underline follows.
    c.view.ChannelButton(n).Underline = c.options.MonitorMode && ChannelButtonLookOf(c.channels, n).Underline;
    c.view.Changed();
}

}  // namespace kestrum
