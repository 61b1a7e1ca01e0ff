#include "capture/protocol_full.h"

#include "capture/time_tag.h"
#include "settings/language_texts.h"

namespace kestrum {

std::string ProtocolFullText(const ProtocolField::Limits& limits, int language, const LocaleInfo& locale) {
    std::string text = LanguageText(kTextProtocolCapacityExhausted, language) + "\r(";
    if (limits.Lines > 0 && limits.Characters > 0) {
        const auto grouped = [&](std::int64_t value) {
            return FormatGroupedNumber(static_cast<double>(value), 18, 0, locale);
        };
        text += FillPlaceholder(LanguageText(kTextProtocolCapacityLimits, language, grouped(limits.Lines)),
                                grouped(limits.Characters), "%2");
        text += ' ';
    }
    return text + LanguageText(kTextProtocolCapacityAdvice, language) + ")";
}

void ProtocolCapacityExhausted(CaptureContext& c) {
    RecordingState& state = c.state.Recording;
    const bool first = !state.ProtocolFull;
    state.ProtocolFull = true;
    state.Running = false;
    EnableStartButton(c.state.StartButton, false, c.options.MonitorMode);
    if (!first) return;
    c.messages.Beep(MessageKind::Error);
    c.messages.Show(MessageKind::Error, c.exeBaseName, ProtocolFullText(c.field.CapacityLimits(), c.options.Language, c.locale),
                    c.dialogOrigin, MessageButtons::Ok);
}

}  // namespace kestrum
