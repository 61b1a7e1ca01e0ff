#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/plain_text_codec.h"

using namespace kestrum;

namespace {

std::vector<std::string> Lines(const ProtocolDocument& document) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < document.LineCount(); ++i) lines.emplace_back(document.LineText(i));
    return lines;
}

}  // namespace

TEST(PlainTextCodec, LineEnds) {
    struct Case {
        const char* Name;
        std::string Bytes;
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"LF", "a\nb\n", {"a", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"last line without end", "a\r\nlast", {"a", "last"}},
        {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
        {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
        {"only one line end", "\r\n", {""}},
        {"blank lines kept", "\r\n\r\nx\r\n\r\n", {"", "", "x", ""}},
        {"NUL and high bytes kept", std::string("\0\x80\xFF\t", 4), {std::string("\0\x80\xFF\t", 4)}},
    };
    for (const Case& c : cases) {
        ProtocolDocument document;
        document.AddLine("stale", {});
        ReadPlainText(c.Bytes, {}, document);
        EXPECT_EQ(Lines(document), c.Lines) << c.Name;
    }
}

TEST(PlainTextCodec, EveryLineTakesTheGivenFormat) {
    TextAttributes attributes;
    attributes.FontName = "Courier New";
    attributes.Color = 0x008000;
    ProtocolDocument document;
    ReadPlainText("one\r\n\r\ntwo", attributes, document);
    ASSERT_EQ(document.LineCount(), 3u);
    EXPECT_EQ(document.RunCount(1), 0u);
    for (const std::size_t line : {0u, 2u}) {
        ASSERT_EQ(document.RunCount(line), 1u);
        EXPECT_EQ(document.Format(document.Run(line, 0).Format), attributes);
    }
}

TEST(PlainTextCodec, SaveEndsEveryLineWithCrLfAndReadsBack) {
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n') allBytes += static_cast<char>(b);
    }
    ProtocolDocument document;
    document.AddLine(allBytes, {});
    document.AddLine("", {});
    document.AddLine("last", {});
    const std::string saved = WritePlainText(document);
    EXPECT_EQ(saved, allBytes + "\r\n\r\nlast\r\n");

    ProtocolDocument loaded;
    ReadPlainText(saved, {}, loaded);
    EXPECT_EQ(Lines(loaded), Lines(document));
    EXPECT_EQ(WritePlainText(ProtocolDocument()), "");
}

TEST(PlainTextCodec, TextWithAByteOrderMarkIsConvertedToTheCodePage) {
    struct Case {
        const char* Name;
        std::string Bytes;
        std::string Text;
    };
    const Case cases[] = {
        {"no mark: bytes kept even where they read as UTF-8", "\xC3\xA4\r\n", "\xC3\xA4\r\n"},
        {"UTF-8 mark: a, Euro, a character the code page lacks", "\xEF\xBB\xBF" "a\xC3\xA4\xE2\x82\xAC\xE4\xB8\xAD", "a\xE4\x80?"},
        {"UTF-8 mark, four-byte character", "\xEF\xBB\xBF\xF0\x9F\x98\x80!", "?!"},
        {"UTF-8 mark but stray byte: all kept", "\xEF\xBB\xBF\xE4x", "\xEF\xBB\xBF\xE4x"},
        {"UTF-8 mark but cut sequence: all kept", "\xEF\xBB\xBFx\xC3", "\xEF\xBB\xBFx\xC3"},
        {"UTF-8 mark but overlong slash: all kept", "\xEF\xBB\xBF\xC0\xAF", "\xEF\xBB\xBF\xC0\xAF"},
        {"UTF-8 mark but surrogate: all kept", "\xEF\xBB\xBF\xED\xA0\x80", "\xEF\xBB\xBF\xED\xA0\x80"},
        {"UTF-16 LE", std::string("\xFF\xFE" "a\0\xE4\0\xAC\x20\r\0\n\0", 12), "a\xE4\x80\r\n"},
        {"UTF-16 BE", std::string("\xFE\xFF\0a\0\xE4", 6), "a\xE4"},
        {"UTF-16 LE surrogate pair, lone surrogate, odd byte", std::string("\xFF\xFE\x3D\xD8\x00\xDE\x00\xD8x", 9), "???"},
        {"only a mark", "\xEF\xBB\xBF", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PlainTextBytes(c.Bytes), c.Text);
    }
    ProtocolDocument document;
    ReadPlainText("\xEF\xBB\xBFline \xC3\xA4\r\nnext", TextAttributes{}, document);
    EXPECT_EQ(Lines(document), (std::vector<std::string>{"line \xE4", "next"}));
}
