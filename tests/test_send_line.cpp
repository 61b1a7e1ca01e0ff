// Turning protocol lines into what sender mode sends.
#include <gtest/gtest.h>

#include "sender/send_line.h"
#include "sender/tx_intervals.h"

namespace kestrum {
namespace {

TEST(SendLine, CommentsAreCutAtTheFirstDelimiter) {
    struct Case {
        const char* name;
        std::string line;
        std::string delimiter;
        std::string text;
        bool cut;
    } cases[] = {
        {"the blank before the delimiter stays", "ABC // note", "//", "ABC ", true},
        {"a whole-line comment", "// note", "//", "", true},
        {"no comment", "ABC", "//", "ABC", false},
        {"first occurrence", "A;B;C", ";", "A", true},
        {"case-sensitive", "A REM x", "rem", "A REM x", false},
        {"an empty delimiter never occurs", "A // x", "", "A // x", false},
    };
    for (const Case& c : cases) {
        bool cut = false;
        EXPECT_EQ(StripComment(c.line, c.delimiter, cut), c.text) << c.name;
        EXPECT_EQ(cut, c.cut) << c.name;
    }
}

TEST(SendLine, AsciiTokensAndAppendedLineEnd) {
    struct Case {
        const char* name;
        std::string line;
        bool sendCr, sendLf, appendCr, appendLf;
        std::string bytes;
    } cases[] = {
        {"both tokens become bytes", "A<CR>B<LF>", true, true, false, false, "A\rB\n"},
        {"only the CR token", "A<CR>B<LF>", true, false, false, false, "A\rB<LF>"},
        {"only the LF token", "A<CR>B<LF>", false, true, false, false, "A<CR>B\n"},
        {"neither: line-end tokens removed", "AB<CR><LF>", false, false, false, false, "AB"},
        {"neither: tokens inside stay", "A<CR>B", false, false, false, false, "A<CR>B"},
        {"neither: a run at the end", "A<LF><CR><LF>", false, false, false, false, "A"},
        {"tokens are case-sensitive", "A<cr>", true, true, false, false, "A<cr>"},
        {"CR then LF appended", "X", false, false, true, true, "X\r\n"},
        {"only LF appended", "X", false, false, false, true, "X\n"},
        {"an empty line sends the line end", "", true, true, true, true, "\r\n"},
    };
    for (const Case& c : cases) {
        Options options;
        options.SendCrStrAsCrChar = c.sendCr;
        options.SendLfStrAsLfChar = c.sendLf;
        options.AppendCrChar = c.appendCr;
        options.AppendLfChar = c.appendLf;
        EXPECT_EQ(AsciiSendBytes(c.line, options), c.bytes) << c.name;
    }
}

TEST(SendLine, HexLinesAreCleanedUpBeforeConversion) {
    struct Case {
        const char* name;
        std::string line;
        std::string text;
    } cases[] = {
        {"a dump line: prefix and characters go", "COM1: 41 42 43  ABC", "41 42 43"},
        {"dashes stay for the conversion", "41-42-43", "41-42-43"},
        {"only up to the first colon goes", "t: COM1: 41", "COM1: 41"},
        {"blanks and controls trimmed", "\t 41 42 \r", "41 42"},
        {"cut at the first double blank", "41  42  43", "41"},
        {"nothing left", "COM1:   ", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(HexSendText(c.line), c.text) << c.name;
}

TEST(SendLine, IntervalStepsAndTheEditsText) {
    struct Step {
        std::uint32_t ms;
        int index;
    } steps[] = {{0, 0}, {9, 0}, {10, 0}, {19, 0}, {20, 1}, {999, 5}, {1000, 6}, {10000, 9}, {4000000000u, 9}};
    for (const Step& s : steps) EXPECT_EQ(IntervalStepIndex(s.ms), s.index) << s.ms;

    struct Text {
        const char* text;
        std::optional<std::uint32_t> value;
    } texts[] = {{"500", 500u}, {"0", 0u}, {"0050", 50u}, {"", std::nullopt}, {"5a", std::nullopt},
                 {"-5", std::nullopt}, {"2147483647", 2147483647u}, {"2147483648", std::nullopt},
                 {"99999999999999999999", std::nullopt}};
    for (const Text& t : texts) EXPECT_EQ(ParseTxTimeInterval(t.text), t.value) << t.text;

    for (char key : std::string("0123456789\b")) EXPECT_TRUE(TxTimeIntervalKeyAccepted(key)) << int(key);
    for (char key : std::string("a -+.\r\x16")) EXPECT_FALSE(TxTimeIntervalKeyAccepted(key)) << int(key);
}

}  // namespace
}  // namespace kestrum
