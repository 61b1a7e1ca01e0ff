#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "document/rtf_reader.h"
#include "support/scratch_folder.h"

using namespace kestrum;
using kestrum::test::ReadFileBytes;
using kestrum::test::ScratchFolder;
using kestrum::test::WriteFileBytes;

namespace {

std::vector<std::string> Lines(const ProtocolDocument& document) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < document.LineCount(); ++i) lines.emplace_back(document.LineText(i));
    return lines;
}

const char* ErrorName(RtfError error) {
    switch (error) {
        case RtfError::None: return "None";
        case RtfError::NotRtf: return "NotRtf";
        case RtfError::NestingTooDeep: return "NestingTooDeep";
        case RtfError::UnexpectedEnd: return "UnexpectedEnd";
        case RtfError::BinaryTooLong: return "BinaryTooLong";
    }
    return "?";
}

// The attributes of the run of `line` that holds `text`.
TextAttributes FormatOf(const ProtocolDocument& document, std::size_t line, std::string_view text) {
    for (std::size_t run = 0; run < document.RunCount(line); ++run) {
        if (document.Run(line, run).Text == text) return document.Format(document.Run(line, run).Format);
    }
    ADD_FAILURE() << "no run \"" << text << "\" in line " << line;
    return {};
}

}  // namespace

TEST(RtfReader, TextOfForeignFiles) {
    struct Case {
        const char* Name;
        std::string Rtf;
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"no text", "{\\rtf1}", {}},
        {"text without a final par", "{\\rtf1 abc}", {"abc"}},
        {"final par ends the last line", "{\\rtf1 a\\par b\\par}", {"a", "b"}},
        {"empty lines", "{\\rtf1 \\par\\par x\\par}", {"", "", "x"}},
        {"line and row end lines", "{\\rtf1 a\\line b\\row c}", {"a", "b", "c"}},
        {"backslash CR is a par", "{\\rtf1 a\\\r\nb}", {"a", "b"}},
        {"CR and LF in the file are not text", "{\\rtf1 a\r\nb\rc\nd}", {"abcd"}},
        {"delimiting blank is not text", "{\\rtf1\\b  two\\b0 x}", {" twox"}},
        {"hex escapes", "{\\rtf1 \\'e4\\'DF\\'80\\'00}", {std::string("\xE4\xDF\x80\x00", 4)}},
        {"hex CR LF end lines", "{\\rtf1 a\\'0db\\'0ac}", {"a", "b", "c"}},
        {"bad hex escape ignored", "{\\rtf1 a\\'zzb}", {"azzb"}},
        {"escaped specials", "{\\rtf1 \\\\ \\{ \\}}", {"\\ { }"}},
        {"special symbols", "{\\rtf1 a\\~b\\-c\\_d}", {"a\xA0" "b\xAD" "c-d"}},
        {"tab and cell", "{\\rtf1 a\\tab b\\cell c}", {"a\tb\tc"}},
        {"typographic words", "{\\rtf1 \\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash}",
         {"\x91\x92\x93\x94\x95\x96\x97"}},
        {"unicode with default fallback of one", "{\\rtf1 \\u8364?x}", {"\x80x"}},
        {"unicode outside the code page", "{\\rtf1 \\u20013?x}", {"?x"}},
        {"negative unicode", "{\\rtf1 \\u-3913?x}", {"?x"}},
        {"latin-1 unicode", "{\\rtf1 \\u252?}", {"\xFC"}},
        {"surrogate pair gives one character", "{\\rtf1 \\u-10179?\\u-8704?x}", {"?x"}},
        {"uc0 skips nothing", "{\\rtf1\\uc0 \\u8364x}", {"\x80x"}},
        {"uc2 skips two escapes", "{\\rtf1\\uc2 \\u8364\\'80\\'81x}", {"\x80x"}},
        {"fallback skipping stops at a group end", "{\\rtf1\\uc3 {\\u8364?}xy}", {"\x80xy"}},
        {"uc is restored at a group end", "{\\rtf1 {\\uc0 \\u8364}\\u8364?x}", {"\x80\x80x"}},
        {"unicode without a number is ignored", "{\\rtf1 \\u x}", {"x"}},
        {"huge unicode value", "{\\rtf1 \\u99999999999999999999?x}", {"?x"}},
        {"ignorable destination", "{\\rtf1 a{\\*\\unknown b{c}}d}", {"ad"}},
        {"font table, colour table, style sheet, info",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{\\s0 Normal;}}"
         "{\\info{\\title T}{\\author A}}text}",
         {"text"}},
        {"headers and footers", "{\\rtf1{\\header h}{\\footerl f}{\\headerf g}body}", {"body"}},
        {"field result kept, instruction skipped",
         "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt here}} now}", {"see here now"}},
        {"picture with binary data", "{\\rtf1 a{\\pict\\bin4 }{\\}}b}", {"ab"}},
        {"binary data outside a picture is not text", "{\\rtf1 a\\bin3 xyzb}", {"ab"}},
        {"unknown control words ignored", "{\\rtf1\\viewkind4\\pard\\sa200\\sl276\\slmult1 x\\foo-12 y}", {"xy"}},
        {"long control word and parameter", "{\\rtf1 " "\\" + std::string(100, 'q') + std::string(50, '7') + " x}",
         {"x"}},
        {"minus without digits is text", "{\\rtf1 \\foo-x}", {"-x"}},
        {"text after the outer group ignored", "{\\rtf1 a}b\\par c{", {"a"}},
    };
    for (const Case& c : cases) {
        ProtocolDocument document;
        const RtfReadResult result = ReadRtf(c.Rtf, document);
        EXPECT_EQ(ErrorName(result.Error), std::string("None")) << c.Name;
        EXPECT_EQ(Lines(document), c.Lines) << c.Name;
    }
}

TEST(RtfReader, FormatsComeFromTheTablesAndFollowGroups) {
    const std::string rtf =
        "{\\rtf1\\ansi\\deff1"
        "{\\fonttbl{\\f0\\froman\\fcharset0{\\*\\panose 02020603050405020304}Times New Roman;}"
        "{\\f1\\fmodern Courier New;}\\f2\\fnil Lucida\\'3b Console ;}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
        "\\f0\\fs20\\cf1\\b bold "
        "{\\i\\cf2\\fs23 inner}"
        " back\\b0\\ul under\\ulnone\\strike st\\striked0 \\f9 unknownfont\\par "
        "\\plain plain\\f2\\cf7\\i farcolour\\cf0\\i0 auto\\fs0 tiny\\b\\fs-40 neg\\b0\\fs99999999 huge}";
    ProtocolDocument document;
    ASSERT_TRUE(ReadRtf(rtf, document).Ok());
    ASSERT_EQ(document.LineCount(), 2u);

    struct Expected {
        std::size_t Line;
        const char* Run;
        const char* Font;
        int Size;
        Colour Color;
        int Style;
    };
    const Expected expected[] = {
        {0, "bold ", "Times New Roman", 10, 0x0000FF, 1},
        {0, "inner", "Times New Roman", 12, 0x008000, 3},  // 11.5 points round up
        {0, " back", "Times New Roman", 10, 0x0000FF, 1},
        {0, "under", "Times New Roman", 10, 0x0000FF, 4},
        {0, "st", "Times New Roman", 10, 0x0000FF, 8},
        {0, "unknownfont", "Courier New", 10, 0x0000FF, 0},  // \deff1
        {1, "plain", "Courier New", 12, 0x000000, 0},
        {1, "farcolour", "Lucida; Console", 12, 0x000000, 2},  // beyond the table
        {1, "auto", "Lucida; Console", 12, 0x000000, 0},
        {1, "tiny", "Lucida; Console", 1, 0x000000, 0},
        {1, "neg", "Lucida; Console", 1, 0x000000, 1},
        {1, "huge", "Lucida; Console", 1638, 0x000000, 0},
    };
    for (const Expected& e : expected) {
        const TextAttributes a = FormatOf(document, e.Line, e.Run);
        EXPECT_EQ(a.FontName, e.Font) << e.Run;
        EXPECT_EQ(a.FontSize, e.Size) << e.Run;
        EXPECT_EQ(a.Color, e.Color) << e.Run;
        EXPECT_EQ(a.Style, e.Style) << e.Run;
    }
}

TEST(RtfReader, ErrorsAndTheirOffsets) {
    struct Case {
        const char* Name;
        std::string Rtf;
        RtfError Error;
        std::size_t Offset;
    };
    // Inside the outermost group: 999 more levels make 1000, one more is too deep.
    const std::string deepest = std::string(kMaxRtfGroupDepth - 1, '{') + std::string(kMaxRtfGroupDepth - 1, '}');
    const std::string deeper = std::string(kMaxRtfGroupDepth, '{') + std::string(kMaxRtfGroupDepth, '}');
    const Case cases[] = {
        {"empty file", "", RtfError::NotRtf, 0},
        {"plain text", "hello", RtfError::NotRtf, 0},
        {"leading blank", " {\\rtf1 x}", RtfError::NotRtf, 0},
        {"no closing brace", "{\\rtf1 abc\\par", RtfError::UnexpectedEnd, 14},
        {"ends in a backslash", "{\\rtf1 abc\\", RtfError::UnexpectedEnd, 10},
        {"ends in a hex escape", "{\\rtf1 abc\\'4", RtfError::UnexpectedEnd, 10},
        {"binary longer than the file", "{\\rtf1 {\\pict\\bin100 abc}}", RtfError::BinaryTooLong, 13},
        {"binary up to the end", "{\\rtf1 \\bin3 }}}", RtfError::UnexpectedEnd, 16},
        {"huge binary", "{\\rtf1 \\bin99999999999999999999 x}", RtfError::BinaryTooLong, 7},
        {"depth at the limit", "{\\rtf1 " + deepest + "}", RtfError::None, 0},
        {"one level deeper", "{\\rtf1 " + deeper + "}", RtfError::NestingTooDeep, 7 + kMaxRtfGroupDepth - 1},
    };
    for (const Case& c : cases) {
        ProtocolDocument document;
        const RtfReadResult result = ReadRtf(c.Rtf, document);
        EXPECT_EQ(ErrorName(result.Error), std::string(ErrorName(c.Error))) << c.Name;
        if (c.Error != RtfError::None) {
            EXPECT_EQ(result.Offset, c.Offset) << c.Name;
        }
    }
}

TEST(RtfReader, LinesBeforeAnErrorAreKept) {
    ProtocolDocument document;
    EXPECT_EQ(ReadRtf("{\\rtf1 one\\par two", document).Error, RtfError::UnexpectedEnd);
    EXPECT_EQ(Lines(document), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(ReadRtf("no rtf", document).Error, RtfError::NotRtf);
    EXPECT_EQ(document.LineCount(), 0u);
}

// Hostile files end with a result or an error; none crashes or hangs.
TEST(RtfReader, HostileInput) {
    std::string random(200000, '\0');
    std::mt19937 generator(12345);
    for (char& c : random) c = static_cast<char>(generator());
    std::string randomTokens = "{\\rtf1";
    const char* tokens[] = {"{", "}", "\\", "\\'", "\\u", "\\bin", "\\*", "\\par", "\\f", "\\fonttbl", "\\colortbl",
                            "\\uc", "-", "9", "99999999999", ";", " ", "a", "\\pict", "\\cf"};
    for (int i = 0; i < 200000; ++i) randomTokens += tokens[generator() % std::size(tokens)];

    struct Case {
        const char* Name;
        std::string Rtf;
    };
    const Case cases[] = {
        {"random bytes", random},
        {"random bytes after the header", "{\\rtf1 " + random},
        {"random tokens", randomTokens},
        {"100k nested groups", "{\\rtf1 " + std::string(100000, '{') + std::string(100001, '}')},
        {"100k nested ignorable groups", "{\\rtf1 " + [] {
             std::string s;
             for (int i = 0; i < 100000; ++i) s += "{\\*\\x";
             return s + std::string(100001, '}');
         }()},
        {"100k unclosed groups", "{\\rtf1 " + std::string(100000, '{')},
        {"huge uc", "{\\rtf1\\uc2147483647 \\u65 " + std::string(100000, 'x') + "}"},
        {"many fonts", "{\\rtf1{\\fonttbl" + [] {
             std::string s;
             for (int i = 0; i < 50000; ++i) s += "\\f" + std::to_string(i) + " F" + std::to_string(i) + ";";
             return s;
         }() + "}x}"},
        {"very long font name", "{\\rtf1{\\fonttbl{\\f0 " + std::string(1000000, 'n') + ";}}x}"},
        {"alternating formats", "{\\rtf1 " + [] {
             std::string s;
             for (int i = 0; i < 50000; ++i) s += "\\fs" + std::to_string(i) + " x\\b y\\b0 ";
             return s;
         }() + "}"},
    };
    for (const Case& c : cases) {
        ProtocolDocument document;
        const RtfReadResult result = ReadRtf(c.Rtf, document);
        EXPECT_LE(result.Offset, c.Rtf.size()) << c.Name;
        for (std::size_t line = 0; line < document.LineCount(); ++line) {
            ASSERT_EQ(document.LineText(line).find_first_of("\r\n"), std::string_view::npos) << c.Name;
        }
    }
    ProtocolDocument fonts;
    ReadRtf("{\\rtf1{\\fonttbl{\\f0 " + std::string(1000000, 'n') + ";}}x}", fonts);
    ASSERT_EQ(fonts.LineCount(), 1u);
    EXPECT_EQ(fonts.Format(fonts.Run(0, 0).Format).FontName.size(), 255u);
}

// An independent writer: enscript's Rich Text output of a text file.
TEST(RtfReader, ReadsEnscriptOutput) {
    FILE* probe = popen("command -v enscript", "r");
    char found[256] = {};
    const bool present = probe != nullptr && fgets(found, sizeof found, probe) != nullptr;
    if (probe != nullptr) pclose(probe);
    ASSERT_TRUE(present) << "install the Debian package enscript (scripts/install-deps.sh)";

    ScratchFolder folder;
    const std::vector<std::string> lines = {
        "int main(void) {", "  /* {braces} and caf\xE9 */", "", "  return 0;", "}",
    };
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    WriteFileBytes(folder / "in.c", text);
    const std::string command = "enscript --quiet --language=rtf --highlight=c --color -o '" + (folder / "out.rtf") +
                                "' '" + (folder / "in.c") + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    ProtocolDocument document;
    const RtfReadResult result = ReadRtf(ReadFileBytes(folder / "out.rtf"), document);
    ASSERT_TRUE(result.Ok()) << ErrorName(result.Error) << " at " << result.Offset;
    EXPECT_EQ(Lines(document), lines);
    // Keywords are bold and coloured through the colour table, comments italic.
    const TextAttributes keyword = FormatOf(document, 0, "int");
    EXPECT_EQ(keyword.Style, 1);
    EXPECT_NE(keyword.Color, 0);
    EXPECT_EQ(keyword.FontName, "Courier New");
    EXPECT_EQ(FormatOf(document, 0, " ").Style, 0);
    EXPECT_EQ(FormatOf(document, 1, "/* {braces} and caf\xE9 */").Style, 2);
}
