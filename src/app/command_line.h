#pragma once
// The command line: what the program is asked to do before any window
// exists. "--help" and "--version" print and end, "--print-to-pdf OUT IN"
// prints a protocol file into a PDF file and ends; anything else ("/?", a
// protocol file, nothing) opens the main window, which reads the first
// argument itself.

#include <string>
#include <vector>

namespace kestrum {

enum class CommandLineAction {
    OpenWindow,  // the main window, with the arguments as they are
    Help,        // usage to standard output, status 0
    Version,     // version to standard output, status 0
    PrintToPdf,  // Input printed into Output, status 0 or 1
    Invalid,     // Error to standard error, status 1
};

struct CommandLineRequest {
    CommandLineAction Action = CommandLineAction::OpenWindow;
    std::string Output;  // PrintToPdf: the PDF file
    std::string Input;   // PrintToPdf: the protocol file (RTF or text)
    std::string Error;   // Invalid: what is wrong
};

// Only the first argument after the program decides, as the window reads
// it: "--help" or "-h", "--version", or "--print-to-pdf" followed by the
// PDF file and the protocol file (further arguments are ignored; missing
// ones make the request invalid).
CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments);

// The usage text for `programName` (the program's base name), lines ending
// in '\n'.
std::string UsageText(const std::string& programName);

// "<programName> <version>\n".
std::string VersionText(const std::string& programName, const std::string& version);

}  // namespace kestrum
