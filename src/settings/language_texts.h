#pragma once
// The English and German texts of the user interface: the message table
// `LanguageTexts`, the menu captions `MenuCaptions`, and the start language
// taken from the user's locale.
//
// Texts are single-byte strings in Windows-1252 (umlauts as 0xE4, 0xF6, ...);
// '\r' breaks the line in hints and message boxes, "%1" is filled in by the
// caller (FillPlaceholder).

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

constexpr int kLanguageEnglish = 1;
constexpr int kLanguageGerman = 2;

// Rows of `LanguageTexts`.
enum LanguageTextRow : int {
    kTextCancel = 0,
    kTextRecordingDisabled = 1,
    kTextSendingDisabled = 2,
    kTextStart = 3,
    kTextStop = 4,
    kTextStartRecording = 5,
    kTextStopRecording = 6,
    kTextStartSending = 7,
    kTextStopSending = 8,
    kTextClear = 9,
    kTextClearProtocol = 10,
    kTextMonitorMode = 11,
    kTextSenderMode = 12,
    kTextAsciiProtocol = 13,
    kTextHexDumpProtocol = 14,
    kTextActivateTrigger = 15,
    kTextDeactivateTrigger = 16,
    kTextActivateSync = 17,
    kTextDeactivateSync = 18,
    kTextSyncDisabledMaster = 19,
    kTextTxTimeInterval = 20,
    kTextSelectTxTimeInterval = 21,
    kTextActivatePort = 22,      // %1 = channel ID
    kTextDeactivatePort = 23,    // %1 = channel ID
    kTextPortNotAvailable = 24,  // %1 = port name
    kTextPortNotInstalled = 25,  // %1 = port name
    kTextOnlyOneInstanceOf = 26,
    kTextIsAllowedToRun = 27,
    kTextTriggerWordAscii = 28,
    kTextTriggerWordHex = 29,
    kTextTriggerTooManyChars = 30,  // %1 = maximum
    kTextTriggerTooManyBytes = 31,  // %1 = maximum
    kTextCommentDelimiter = 32,
    kTextChannelIdFor = 33,
    kTextAsciiStringTooLong = 34,   // %1 = maximum
    kTextInvalidHexCipher = 35,
    kTextHexNumberAboveFF = 36,
    kTextProtocolCapacityExhausted = 37,
    kTextLoadProtocolFile = 38,
    kTextErrorOpeningFile = 39,
    kTextSaveProtocolToFile = 40,   // %1 = mode
    kTextFindTextNotFound = 41,     // %1 = search text
    kTextContinueFromBeginning = 42,
    kTextReplacementOf = 43,
    kTextReplacementsOf = 44,
    kTextPortOpenedByOther = 45,    // %1 = port name
    kTextProtocolCapacityLimits = 46,  // %1 = lines, %2 = characters
    kTextProtocolCapacityAdvice = 47,
    kTextHexLineCountCaption = 48,   // after " " + ExeBaseName
    kTextHexLineCountLabel = 49,
    kTextHistoryCountCaption = 50,   // after " " + ExeBaseName
    kTextHelpFileNotFound = 51,      // %1 = file name, %2 = the folders looked in
    kTextNoRoomToPrint = 52,
    kTextPrintNotStarted = 53,       // %1 = printer or file
    kTextPrintFailed = 54,           // %1 = printer or file
    kTextInputDropped = 55,          // %1 = channel ID prefix, %2 = byte count
    kTextCaptureFileFailed = 56,     // %1 = file, %2 = the system's text
    kTextSendingPortGone = 57,       // %1 = port name
    kTextManualSendFailed = 58,      // %1 = port name
    kTextFileTooLarge = 59,
    kTextFileNotWritten = 60,        // %1 = file name
    kTextFindWhat = 61,
    kTextReplaceWith = 62,
    kTextMatchWholeWord = 63,
    kTextMatchCase = 64,
    kTextFindNext = 65,
    kTextReplaceAll = 66,
};

constexpr int kLanguageTextCount = 67;

// The text of `row` in `language` (1 English, 2 German). A language other
// than 2 gives English; a row outside 0..kLanguageTextCount-1 gives an empty text.
const std::string& LanguageText(int row, int language);

// `text` with every `placeholder` ("%1" unless given) replaced by `value`.
std::string FillPlaceholder(std::string_view text, std::string_view value, std::string_view placeholder = "%1");

// LanguageText(row, language) with "%1" filled in.
std::string LanguageText(int row, int language, std::string_view value);

// One row of `MenuCaptions`: a menu item by its control name and its
// captions; '&' marks the access key.
struct MenuCaptionRow {
    std::string Item;
    std::string English;
    std::string German;
};

// Every caption that changes with the language, in menu order.
const std::vector<MenuCaptionRow>& MenuCaptions();

// The caption of menu item `item` (e.g. "MainMenuFileOpen") in `language`
// (2 German, anything else English); empty for an unknown item.
const std::string& MenuCaption(std::string_view item, int language);

// Captions that are the same in both languages and never change, by item
// name (e.g. "MainMenuSettingsUserFont" -> "&User-Font"); empty if unknown.
const std::string& FixedCaption(std::string_view item);

// "English" or "German": names the help file of a language (2 German,
// anything else English).
const std::string& LanguageName(int language);

// The language the program starts in for a Windows language identifier:
// 2 for the German locales 0x0407, 0x0807, 0x0C07, 0x1007, 0x1407, else 1.
int LocaleLanguage(unsigned languageId);

}  // namespace kestrum
