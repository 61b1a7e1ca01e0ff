#include "document/rtf_error_text.h"

namespace kestrum {

namespace {

struct ErrorTexts {
    RtfError Error;
    const char* English;
    const char* German;
};

// "%1" stands for the byte offset.
constexpr ErrorTexts kTexts[] = {
    {RtfError::NotRtf, "The file is not a Rich Text file: it does not begin with \"{\\rtf\".",
     "Die Datei ist keine Rich-Text-Datei: Sie beginnt nicht mit \"{\\rtf\"."},
    {RtfError::NestingTooDeep, "The file nests its groups more than 1000 levels deep (at byte %1).",
     "Die Datei verschachtelt ihre Gruppen tiefer als 1000 Ebenen (bei Byte %1)."},
    {RtfError::UnexpectedEnd, "The file ends too early, before its last group is closed (at byte %1).",
     "Die Datei endet zu fr\xFCh, bevor ihre letzte Gruppe geschlossen ist (bei Byte %1)."},
    {RtfError::BinaryTooLong, "A binary block is longer than the rest of the file (at byte %1).",
     "Ein Bin\xE4rblock ist l\xE4nger als der Rest der Datei (bei Byte %1)."},
};

}  // namespace

std::string RtfErrorText(const RtfReadResult& result, int language) {
    for (const ErrorTexts& texts : kTexts) {
        if (texts.Error != result.Error) continue;
        std::string text = language == 2 ? texts.German : texts.English;
        const std::size_t mark = text.find("%1");
        if (mark != std::string::npos) text.replace(mark, 2, std::to_string(result.Offset));
        return text;
    }
    return {};
}

}  // namespace kestrum
