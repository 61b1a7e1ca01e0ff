#include "sender/manual_send.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "base/hex_text.h"
#include "capture/channel_line_writer.h"
#include "capture/deferred_lines.h"
#include "capture/line_assembly.h"
#include "capture/protocol_clock.h"
#include "sender/input_line_history.h"
#include "sender/send_line.h"
#include "settings/hex_text_messages.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

struct ModeTexts {
    const char* English;
    const char* German;
};

constexpr ModeTexts kCaptionAscii{": Send character string from ", ": Zeichenfolge senden von "};
constexpr ModeTexts kCaptionHex{": Send byte sequence from ", ": Bytefolge senden von "};
constexpr ModeTexts kPromptAscii{"String to be sent:", "Zu sendende Zeichenfolge:"};
constexpr ModeTexts kPromptHex{"Hex codes of the bytes to be sent (separated by blanks):",
                               "Hex-Codes der zu sendenden Bytefolge (durch Leerzeichen trennen):"};

std::string TextOf(const ModeTexts& texts, int language) {
    return language == kLanguageGerman ? texts.German : texts.English;
}

bool IsNullString(std::string_view text) {
    return text.size() == kNullString.size() &&
           std::equal(text.begin(), text.end(), kNullString.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

HexTextMessages MessagesOf(SenderContext& c) {
    return {&c.capture.messages, c.capture.dialogOrigin, c.capture.options.Language, c.capture.exeBaseName};
}

// The channel's history texts as 64 slots.
std::vector<std::string>& HistorySlots(ChannelRecord& record) {
    if (record.InputHistory.size() < static_cast<std::size_t>(kMaxHistoryCount))
        record.InputHistory.resize(static_cast<std::size_t>(kMaxHistoryCount));
    return record.InputHistory;
}

// The dialog's list from the saved history: every entry that converts, in
// ASCII by its bytes, in hex by its text.
void BuildList(ChannelRecord& record, ManualSendChannel& channel, bool ascii, int maxCount,
               std::vector<std::string>& list, int& count) {
    std::vector<std::string>& history = HistorySlots(record);
    list.assign(static_cast<std::size_t>(kMaxHistoryCount), std::string());
    count = 0;
    for (int i = 0; i < maxCount; ++i) {
        const std::string& text = history[static_cast<std::size_t>(i)];
        if (text.empty()) continue;
        std::string bytes;
        if (IsNullString(text))
            bytes = kNullString;
        else if (!HexTextToBytes(text, bytes))
            continue;
        const auto slot = static_cast<std::size_t>(count);
        channel.InputHistoryBytes[slot] = bytes;
        list[slot] = ascii || IsNullString(text) ? bytes : text;
        ++count;
    }
    for (std::size_t i = static_cast<std::size_t>(count); i < channel.InputHistoryBytes.size(); ++i)
        channel.InputHistoryBytes[i].clear();
    channel.InputHistoryCount = count;
}

// The dialog's list back into the history. False when a hex entry is not
// hex text (its message has been shown).
bool StoreList(SenderContext& c, ChannelRecord& record, ManualSendChannel& channel, bool ascii, int maxCount,
               const std::vector<std::string>& list, int count) {
    std::vector<std::string>& history = HistorySlots(record);
    const int language = c.capture.options.Language;
    bool allConverted = true;
    for (int i = 0; i < count; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        std::string& text = history[slot];
        std::string& bytes = channel.InputHistoryBytes[slot];
        if (ascii) {
            bytes = list[slot].substr(0, kMaxInputLineLength);
            text = bytes == kNullString ? std::string(kNullString)
                                        : BytesToHexText(bytes, kMaxInputLineLength, false, language);
        } else {
            text = TrimBlanksAndControls(list[slot]);
            if (text == kNullString)
                bytes = kNullString;
            else if (!HexTextToBytes(text, bytes, MessagesOf(c)))
                allConverted = false;
        }
    }
    for (int i = count; i < std::max(maxCount, count); ++i) {
        history[static_cast<std::size_t>(i)].clear();
        channel.InputHistoryBytes[static_cast<std::size_t>(i)].clear();
    }
    channel.InputHistoryCount = count;
    return allConverted;
}

bool WriteToPort(SenderContext& c, const ChannelRecord& record, const std::string& bytes) {
    CaptureContext& capture = c.capture;
    if (WriteWhole(capture.ports, record.Handle, bytes)) return true;
    std::string text = LanguageText(kTextManualSendFailed, capture.options.Language, record.PortName);
    const std::string reason = capture.ports.LastErrorText();
    if (!reason.empty()) text += "\r" + reason;
    capture.messages.Beep(MessageKind::Error);
    capture.messages.Show(MessageKind::Error, capture.exeBaseName, text, capture.dialogOrigin);
    return false;
}

void WriteAsciiUserLine(SenderContext& c, const std::string& text, double seconds) {
    CaptureContext& capture = c.capture;
    const Options& options = capture.options;
    LineRecord& line = capture.state.Lines[static_cast<std::size_t>(kUserEntry)];
    line.Mode = LogMode::Ascii;
    line.LineText.clear();
    AppendLinePrefix(line.LineText, capture, kUserEntry, seconds);
    line.LineText.append(text);
    if (options.AppendCrChar && options.ShowCrChar) line.LineText.append("<CR>");
    if (options.AppendLfChar && options.ShowLfChar) line.LineText.append("<LF>");
    line.LineClosed = true;
    WriteChannelLine(capture, kUserEntry);
}

void WriteHexUserLines(SenderContext& c, std::string_view bytes, double seconds) {
    CaptureContext& capture = c.capture;
    const int perLine = std::max(capture.options.HexLineByteCount, 1);
    LineRecord& line = capture.state.Lines[static_cast<std::size_t>(kUserEntry)];
    FixedText<kLineTextCapacity> prefix;
    AppendLinePrefix(prefix, capture, kUserEntry, seconds);
    for (std::size_t at = 0; at < bytes.size(); at += static_cast<std::size_t>(perLine)) {
        const std::string_view chunk = bytes.substr(at, static_cast<std::size_t>(perLine));
        line.LineClosed = true;
        line.Mode = LogMode::Hex;
        line.HexPrefix.assign(prefix.view());
        line.HexColumn.assign(FormatHexText(chunk, perLine, true).value_or(std::string()));
        line.CharColumn.clear();
        for (const char byte : chunk) line.CharColumn.push_back(static_cast<unsigned char>(byte) < 32 ? '\x01' : byte);
        line.HexByteCount = static_cast<int>(chunk.size());
        WriteChannelLine(capture, kUserEntry);
    }
}

}  // namespace

void ManualSendFromChannel(SenderContext& c, int channel) {
    CaptureContext& capture = c.capture;
    const Options& options = capture.options;
    if (!IsChannel(channel) || !options.MonitorMode || !capture.state.Recording.Running) return;
    ChannelRecord& record = capture.channels.Channel(channel);
    if (!record.Active) return;

    const int language = options.Language;
    const bool ascii = options.LogMode != LogMode::Hex;
    InputLineRequest request;
    request.Caption = " " + capture.exeBaseName + TextOf(ascii ? kCaptionAscii : kCaptionHex, language) +
                      capture.channels.EntryId(channel);
    request.Prompt = TextOf(ascii ? kPromptAscii : kPromptHex, language);
    request.Language = language;
    request.MaxLength = ascii ? kMaxInputLineLength : 0;

    for (int j = kFirstChannel; j <= kLastChannel; ++j)
        if (!capture.state.Lines[static_cast<std::size_t>(j)].Written) WriteChannelLine(capture, j);

    ManualSendChannel& sent = c.state.Channel(channel);
    const int maxCount = std::clamp(options.InputLineMaxHistoryCount, 0, kMaxHistoryCount);
    bool retry = false;
    std::string keptText;
    do {
        std::vector<std::string> list;
        int count = 0;
        BuildList(record, sent, ascii, maxCount, list, count);
        if (!ascii && retry) sent.LastInputLine = keptText;
        request.Highlight = options.HighlightInputLine;
        request.KeepText = retry;
        const InputLineOutcome outcome = c.inputLine.GetInputLine(request, sent.LastInputLine, list, count, maxCount);
        if (outcome.Cancelled) return;
        if (ascii && sent.LastInputLine.size() > static_cast<std::size_t>(kMaxInputLineLength))
            sent.LastInputLine.resize(static_cast<std::size_t>(kMaxInputLineLength));
        retry = !StoreList(c, record, sent, ascii, maxCount, list, count);
        if (retry) keptText = sent.LastInputLine;
        if (outcome.Cleared) continue;

        if (!ascii) sent.LastInputLine = TrimBlanksAndControls(sent.LastInputLine);
        const bool appendsLineEnd = ascii && (options.AppendCrChar || options.AppendLfChar);
        if (sent.InputHistoryCount <= 0 || (sent.LastInputLine.empty() && !appendsLineEnd)) continue;
        std::string bytes;
        if (ascii) {
            bytes = sent.LastInputLine;
            if (options.AppendCrChar) bytes.push_back('\r');
            if (options.AppendLfChar) bytes.push_back('\n');
        } else {
            if (retry) continue;
            HexTextToBytes(sent.LastInputLine, bytes);
            if (bytes.empty()) {
                retry = true;
                keptText = sent.LastInputLine;
                continue;
            }
        }
        const double seconds = ElapsedSeconds(capture.state.ProtocolTime, capture.clock);
        // Input that arrived while the dialog was open is shown above the line.
        const std::uint64_t mark = capture.ports.ArrivalMark();
        if (!WriteToPort(c, record, bytes)) continue;
        if (ascii)
            WriteAfterEarlierInput(capture, mark, [&c, text = sent.LastInputLine, seconds] {
                WriteAsciiUserLine(c, text, seconds);
            });
        else
            WriteAfterEarlierInput(capture, mark, [&c, bytes, seconds] { WriteHexUserLines(c, bytes, seconds); });
    } while (retry);
}

void ConvertLastInputLines(SenderContext& c, LogMode logMode) {
    const Options& options = c.capture.options;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        std::string& text = c.state.Channel(n).LastInputLine;
        if (logMode == LogMode::Ascii) {
            std::string bytes;
            HexTextToBytes(text, bytes);
            text = bytes;
        } else if (logMode == LogMode::Hex) {
            text = BytesToHexText(text, options.HexLineByteCount, false, options.Language);
        }
    }
}

}  // namespace kestrum
