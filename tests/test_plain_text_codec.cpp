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
