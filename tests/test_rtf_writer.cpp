#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "support/scratch_folder.h"

using namespace kestrum;
using kestrum::test::ScratchFolder;
using kestrum::test::WriteFileBytes;

namespace {

TextAttributes Format(std::string font, int size, Colour colour, std::uint8_t style) {
    TextAttributes a;
    a.FontName = std::move(font);
    a.FontSize = size;
    a.Color = colour;
    a.Style = style;
    return a;
}

ProtocolDocument ReadBack(const std::string& rtf) {
    ProtocolDocument document;
    const RtfReadResult result = ReadRtf(rtf, document);
    EXPECT_TRUE(result.Ok()) << "error " << static_cast<int>(result.Error) << " at " << result.Offset;
    return document;
}

// Standard output of a shell command.
std::string CommandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    std::size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
    pclose(pipe);
    return output;
}

bool HaveProgram(const std::string& name) { return CommandOutput("command -v " + name).find(name) != std::string::npos; }

std::string CollapseBlanks(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += c;
    }
    return out;
}

}  // namespace

TEST(RtfWriter, EveryAttributeReadsBack) {
    const TextAttributes formats[] = {
        Format("FixedSys", 11, 0x000000, 0),
        Format("Courier New", 10, 0x0000FF, 1),
        Format("Courier New", 10, 0x0000FF, 2),
        Format("Courier New", 10, 0x0000FF, 4),
        Format("Courier New", 10, 0x0000FF, 8),
        Format("Courier New", 10, 0x0000FF, 15),
        Format("Arial", 1, 0xFFFFFF, 5),
        Format("Arial", 1638, 0x123456, 10),
        Format("Arial", 72, 0x800080, 3),
        Format("Odd;{Name}\\ \xE4\xDF", 9, 0x008080, 12),
        Format("", 8, 0xFF0000, 0),
    };
    ProtocolDocument document;
    for (std::size_t i = 0; i < std::size(formats); ++i) {
        document.AddLine();
        // Each format next to each other one, so every change from one to the
        // next is written, including switching a style off.
        for (std::size_t j = 0; j < std::size(formats); ++j) {
            document.AppendText("r" + std::to_string(j), document.AddFormat(formats[(i + j) % std::size(formats)]));
        }
    }
    document.AddLine("", formats[0]);
    document.AddLine("after an empty line", formats[3]);

    const ProtocolDocument read = ReadBack(WriteRtf(document));
    EXPECT_TRUE(read == document);
    ASSERT_EQ(read.LineCount(), document.LineCount());
    EXPECT_EQ(read.RunCount(0), std::size(formats));
}

TEST(RtfWriter, SystemColoursAreWrittenAsAutomaticAndReadAsBlack) {
    ProtocolDocument document;
    document.AddLine("x", Format("Arial", 10, static_cast<Colour>(0xFF000005u), 0));
    const ProtocolDocument read = ReadBack(WriteRtf(document));
    ASSERT_EQ(read.LineCount(), 1u);
    EXPECT_EQ(read.Format(read.Run(0, 0).Format).Color, 0x000000);
}

TEST(RtfWriter, EveryByteValueReadsBack) {
    // 0x0D and 0x0A never stand inside a line.
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n') allBytes += static_cast<char>(b);
    }
    ProtocolDocument document;
    document.AddLine(allBytes, {});
    // Every byte also as the first byte of a run that follows control words.
    const TextAttributes plain = Format("A", 10, 0, 0);
    const TextAttributes bold = Format("A", 10, 0, 1);
    document.AddLine();
    for (const char c : allBytes) {
        document.AppendText(std::string(1, c) + "-", document.AddFormat(plain));
        document.AppendText(std::string(1, c) + "0", document.AddFormat(bold));
    }
    document.AddLine(" leading blank after a line end", plain);
    document.AddLine("0 leading digit after a line end", plain);

    const ProtocolDocument read = ReadBack(WriteRtf(document));
    EXPECT_TRUE(read == document);
    ASSERT_EQ(read.LineCount(), 4u);
    EXPECT_EQ(read.LineText(0), allBytes);
}

TEST(RtfWriter, HeaderAndEmptyDocument) {
    const std::string rtf = WriteRtf(ProtocolDocument());
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl", 0), 0u) << rtf;
    EXPECT_EQ(ReadBack(rtf).LineCount(), 0u);

    ProtocolDocument oneEmptyLine;
    oneEmptyLine.AddLine();
    EXPECT_EQ(ReadBack(WriteRtf(oneEmptyLine)).LineCount(), 1u);
}

// An independent reader sees the same lines, characters and attributes.
TEST(RtfWriter, UnrtfReadsTheOutput) {
    ASSERT_TRUE(HaveProgram("unrtf")) << "install the Debian package unrtf (scripts/install-deps.sh)";
    ScratchFolder folder;
    ProtocolDocument document;
    document.AddLine("COM1: 12.345678  plain {braces} back\\slash", Format("Courier New", 10, 0x0000FF, 1));
    document.AddLine("", Format("Courier New", 10, 0x0000FF, 1));
    document.AddLine("Gr\xFC\xDF" "e \xE9t\xE9 \x80 \x93quoted\x94", Format("Arial", 9, 0x000000, 6));
    document.AddLine("12 digits after control words", Format("Courier New", 10, 0x0000FF, 8));
    const std::string path = folder / "out.rtf";
    WriteFileBytes(path, WriteRtf(document));

    // Text: the lines after the "-----" rule; unrtf turns runs of blanks into one.
    const std::string text = CommandOutput("unrtf --text '" + path + "' 2>/dev/null");
    const std::size_t body = text.find("-----------------\n");
    ASSERT_NE(body, std::string::npos) << text;
    EXPECT_EQ(text.substr(body + 18),
              CollapseBlanks("COM1: 12.345678  plain {braces} back\\slash\n\nGr\xFC\xDF" "e \xE9t\xE9 ") +
                  std::string("\xAC \x1Cquoted\x1D\n12 digits after control words\n"))
        << "(unrtf writes the low byte of the Unicode character in text mode)";

    const std::string html = CommandOutput("unrtf --html '" + path + "' 2>/dev/null");
    for (const char* expected : {"<font color=\"#ff0000\"><b>COM1: 12.345678 plain {braces} back\\slash",
                                 "<font face=\"Arial\">", "font-size:9pt", "<i><u>Gr&uuml;&szlig;e &eacute;t&eacute; &euro; &ldquo;quoted&rdquo;",
                                 "<s>12 digits after control words"}) {
        EXPECT_NE(html.find(expected), std::string::npos) << expected << "\n" << html;
    }
}
