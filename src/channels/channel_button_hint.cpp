#include "channels/channel_button_hint.h"

#include "settings/language_texts.h"

namespace kestrum {

std::string ChannelButtonHint(const ChannelRecord& record, int language) {
    std::string hint;
    if (!record.Installed) hint = LanguageText(kTextPortNotInstalled, language, record.PortName);
    else if (!record.Available) hint = LanguageText(kTextPortNotAvailable, language, record.PortName);
    else if (record.Active) hint = LanguageText(kTextDeactivatePort, language, record.ChannelID);
    else hint = LanguageText(kTextActivatePort, language, record.ChannelID);
    return hint + record.HintSuffix;
}

std::string ChannelClickHint(const ChannelRecord& record, int language) {
    const int row = record.Active ? kTextDeactivatePort : kTextActivatePort;
    return LanguageText(row, language, record.ChannelID) + record.HintSuffix;
}

void RebuildAllChannelHints(MainView& view, const ChannelTable& channels, int language) {
    bool changed = false;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        std::string hint = ChannelButtonHint(channels.Channel(n), language);
        std::string& shown = view.ChannelButton(n).Hint;
        if (shown == hint) continue;
        shown = std::move(hint);
        changed = true;
    }
    if (changed) view.Changed();
}

}  // namespace kestrum
