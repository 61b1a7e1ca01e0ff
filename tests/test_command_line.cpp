// The command line before the window: --help, --version, --print-to-pdf,
// and everything the window reads itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace kestrum {
namespace {

TEST(CommandLine, TheFirstArgumentDecides) {
    using Action = CommandLineAction;
    const struct {
        const char* Name;
        std::vector<std::string> Arguments;
        Action Expected;
        std::string Output, Input;
    } cases[] = {
        {"nothing", {"kestrum"}, Action::OpenWindow, "", ""},
        {"no program name either", {}, Action::OpenWindow, "", ""},
        {"help contents", {"kestrum", "/?"}, Action::OpenWindow, "", ""},
        {"a protocol file", {"kestrum", "log.rtf"}, Action::OpenWindow, "", ""},
        {"options after a file are not ours", {"kestrum", "log.rtf", "--help"}, Action::OpenWindow, "", ""},
        {"--help", {"kestrum", "--help"}, Action::Help, "", ""},
        {"-h", {"kestrum", "-h", "x"}, Action::Help, "", ""},
        {"--version", {"kestrum", "--version"}, Action::Version, "", ""},
        {"print", {"kestrum", "--print-to-pdf", "out.pdf", "in.txt"}, Action::PrintToPdf, "out.pdf", "in.txt"},
        {"print ignores further arguments",
         {"kestrum", "--print-to-pdf", "o.pdf", "i.rtf", "x"},
         Action::PrintToPdf,
         "o.pdf",
         "i.rtf"},
        {"print without the file", {"kestrum", "--print-to-pdf", "out.pdf"}, Action::Invalid, "", ""},
        {"print with nothing", {"kestrum", "--print-to-pdf"}, Action::Invalid, "", ""},
        {"print with an empty name", {"kestrum", "--print-to-pdf", "", "in.txt"}, Action::Invalid, "", ""},
    };
    for (const auto& c : cases) {
        const CommandLineRequest request = ParseCommandLine(c.Arguments);
        EXPECT_EQ(request.Action, c.Expected) << c.Name;
        EXPECT_EQ(request.Output, c.Output) << c.Name;
        EXPECT_EQ(request.Input, c.Input) << c.Name;
        EXPECT_EQ(request.Error.empty(), c.Expected != Action::Invalid) << c.Name;
    }
}

TEST(CommandLine, UsageAndVersionNameTheProgram) {
    const std::string usage = UsageText("kestrum");
    EXPECT_EQ(usage.rfind("Usage: kestrum [--capture CAPTURE.pcapng] [FILE]\n", 0), 0u);
    for (const char* option : {"--print-to-pdf OUT.pdf FILE", "--help", "--version", "/?"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    EXPECT_EQ(usage.back(), '\n');
    EXPECT_EQ(VersionText("kestrum", "0.1"), "kestrum 0.1\n");
}

}  // namespace
}  // namespace kestrum
