#pragma once
// kestrum --print-to-pdf OUT.pdf FILE: a protocol file printed into a PDF
// file as File > Print prints the protocol, without a window.

#include <string>

#include "base/channel_table.h"
#include "settings/options.h"

namespace kestrum {

// The user's saved options and channel table (fonts), read from the
// settings file as start-up reads them; nothing is written.
void LoadSavedSettings(Options& options, ChannelTable& channels);

// Reads `input` (Rich Text when its name ends in ".rtf" in any case, plain
// text in the user font otherwise) and prints it into the PDF file `output`
// with the page margins and orientation of `options`; the job is named
// after the file. Throws std::runtime_error with an English UTF-8 text when
// the file cannot be read, is not readable Rich Text, holds no line, or
// cannot be printed.
void PrintProtocolFileToPdf(const std::string& output, const std::string& input, const Options& options,
                            const ChannelTable& channels);

// The whole run: a Qt application (on the offscreen platform when there is
// no display), the saved settings, the printing. Returns the exit status:
// 0, or 1 after writing "<program>: <reason>" to standard error.
int RunPrintToPdf(int& argc, char** argv, const std::string& output, const std::string& input);

}  // namespace kestrum
