#pragma once
// The trigger word dialog of a channel: the word entered as characters in
// the ASCII display and as hex text in the hex display, at most 16 bytes.

#include <string_view>

#include "channels/channel_commands.h"

namespace kestrum {

// A word that a one-line text box cannot hold as characters: it has a byte
// below 32 (CR, LF, NUL, ...).
bool NeedsHexForm(std::string_view bytes);

// MainMenuSettingsChannelTriggerWordOnClick: nothing unless the channel is
// Installed and Available. The input box titled " " + ExeBaseName shows the
// word and asks "Trigger word  (sequence of ASCII characters)\rfor <ID>:"
// in the ASCII display, or "... (sequence of hex numbers) ..." with the hex
// text in the hex display and for a word that NeedsHexForm (so accepting it
// unchanged keeps its bytes). A text over 16 characters or a hex text over
// 16 bytes beeps, says so and asks again with the text as typed; hex text
// that does not convert is reported by HexTextToBytes and ends the dialog.
// Accepting stores the word (an empty one switches the trigger off and the
// underline follows); Cancel and bad hex text leave everything as it was.
void TriggerWordDialog(ChannelCommandContext& context, int channel);

}  // namespace kestrum
