#include "app/command_line.h"

namespace kestrum {

CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineRequest request;
    if (arguments.size() < 2) return request;
    const std::string& first = arguments[1];
    if (first == "--help" || first == "-h") {
        request.Action = CommandLineAction::Help;
    } else if (first == "--version") {
        request.Action = CommandLineAction::Version;
    } else if (first == "--print-to-pdf") {
        if (arguments.size() < 4 || arguments[2].empty() || arguments[3].empty()) {
            request.Action = CommandLineAction::Invalid;
            request.Error = "--print-to-pdf needs the PDF file to write and the protocol file to print";
        } else {
            request.Action = CommandLineAction::PrintToPdf;
            request.Output = arguments[2];
            request.Input = arguments[3];
        }
    }
    return request;
}

std::string UsageText(const std::string& programName) {
    // clang-format off
    return "Usage: " + programName + " [--capture CAPTURE.pcapng] [FILE]\n"
           "       " + programName + " /?\n"
           "       " + programName + " --print-to-pdf OUT.pdf FILE\n"
           "       " + programName + " --help | --version\n"
           "\n"
           "Records, shows and sends the traffic of RS-232 serial lines.\n"
           "\n"
           "  FILE                        load the protocol file FILE (RTF when its name ends\n"
           "                              in .rtf, plain text otherwise) into the current mode\n"
           "  /?                          show the help along with the window\n"
           "  --capture CAPTURE.pcapng    write every recording of this run into the capture\n"
           "                              file CAPTURE.pcapng as well (Wireshark, tshark)\n"
           "  --print-to-pdf OUT.pdf FILE print FILE as File > Print would, with the saved\n"
           "                              page margins and orientation, into OUT.pdf;\n"
           "                              exit status 0, or 1 with the reason on standard error\n"
           "  -h, --help                  show this text and exit\n"
           "  --version                   show the version and exit\n"
           "\n"
           "Channels COM1..COM8 are mapped to serial devices by the key Device= in the\n"
           "settings file, ~/.config/Tannbrook/" + programName + "/" + programName + ".ini.\n";
    // clang-format on
}

std::string VersionText(const std::string& programName, const std::string& version) {
    return programName + " " + version + "\n";
}

}  // namespace kestrum
