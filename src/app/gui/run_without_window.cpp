#include "app/gui/run_without_window.h"

#include <iostream>
#include <vector>

#include "app/command_line.h"
#include "app/gui/print_to_pdf.h"
#include "app/startup.h"

namespace kestrum {

std::optional<int> RunWithoutWindow(int& argc, char** argv, const std::string& version) {
    const std::vector<std::string> arguments(argv, argv + argc);
    const std::string program = arguments.empty() ? std::string("kestrum") : ProgramBaseName(arguments.front());
    const CommandLineRequest request = ParseCommandLine(arguments);
    switch (request.Action) {
        case CommandLineAction::OpenWindow: return std::nullopt;
        case CommandLineAction::Help: std::cout << UsageText(program) << std::flush; return 0;
        case CommandLineAction::Version: std::cout << VersionText(program, version) << std::flush; return 0;
        case CommandLineAction::PrintToPdf: return RunPrintToPdf(argc, argv, request.Output, request.Input);
        case CommandLineAction::Invalid: break;
    }
    std::cerr << program << ": " << request.Error << "\n"
              << "Try '" << program << " --help'.\n";
    return 1;
}

}  // namespace kestrum
