#include "capture/dropped_input.h"

#include <string>

#include "capture/channel_line_writer.h"
#include "capture/line_assembly.h"
#include "capture/program_lines.h"
#include "settings/language_texts.h"

namespace kestrum {

void WriteDroppedInputLine(CaptureContext& c, int channel, std::uint64_t bytes) {
    // No later write of an open line may take the note for its own line.
    for (int j = kFirstChannel; j <= kLastChannel; ++j) {
        LineRecord& line = c.state.Lines[static_cast<std::size_t>(j)];
        if (!line.Written) WriteChannelLine(c, j);
        line.LineClosed = true;
        line.LineStarted = false;
    }
    // The count first: an ID may itself contain "%2".
    const std::string text =
        FillPlaceholder(FillPlaceholder(LanguageText(kTextInputDropped, c.options.Language), std::to_string(bytes), "%2"),
                        ChannelIdPrefix(c.channels, channel));
    ApplyFontEntry(c, kMasterEntry);
    AppendProtocolLine(c, text);
    ApplyFontEntry(c, kUserEntry);
    c.state.Recording.LastChannel = -1;
}

}  // namespace kestrum
