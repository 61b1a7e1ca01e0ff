#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "document/protocol_document.h"

using namespace kestrum;

namespace {

TextAttributes Attributes(Colour colour, std::uint8_t style = 0) {
    TextAttributes a;
    a.Color = colour;
    a.Style = style;
    return a;
}

std::vector<std::string> Lines(const ProtocolDocument& document) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < document.LineCount(); ++i) lines.emplace_back(document.LineText(i));
    return lines;
}

}  // namespace

TEST(ProtocolDocument, RunsOfOneFormatMergeAndEmptyTextAddsNone) {
    ProtocolDocument document;
    const FormatIndex red = document.AddFormat(Attributes(0x0000FF));
    const FormatIndex blue = document.AddFormat(Attributes(0xFF0000));
    EXPECT_EQ(document.AddFormat(Attributes(0x0000FF)), red);
    EXPECT_EQ(document.FormatCount(), 2u);

    document.AddLine();
    document.AppendText("ab", red);
    document.AppendText("", blue);
    document.AppendText("cd", red);
    document.AppendText("ef", blue);
    document.AddLine();  // an empty line between two lines with runs
    document.AddLine();
    document.AppendText("gh", blue);

    ASSERT_EQ(document.LineCount(), 3u);
    EXPECT_EQ(document.LineText(0), "abcdef");
    ASSERT_EQ(document.RunCount(0), 2u);
    EXPECT_EQ(document.Run(0, 0).Text, "abcd");
    EXPECT_EQ(document.Run(0, 0).Format, red);
    EXPECT_EQ(document.Run(0, 1).Text, "ef");
    EXPECT_EQ(document.Run(0, 1).Format, blue);
    EXPECT_EQ(document.LineText(1), "");
    EXPECT_EQ(document.RunCount(1), 0u);
    // A new line never continues the previous line's run, even in its format.
    ASSERT_EQ(document.RunCount(2), 1u);
    EXPECT_EQ(document.Run(2, 0).Text, "gh");
    EXPECT_EQ(document.TextSize(), 8u);
}

TEST(ProtocolDocument, LineEndsInAppendedTextStartNewLines) {
    struct Case {
        const char* Name;
        std::string Text;
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"no line end", "abc", {"abc"}},
        {"CR LF", "a\r\nb", {"a", "b"}},
        {"LF", "a\nb", {"a", "b"}},
        {"lone CR", "a\rb", {"a", "b"}},
        {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
        {"trailing end opens an empty line", "a\r\n", {"a", ""}},
        {"only line ends", "\r\n\n", {"", "", ""}},
    };
    for (const Case& c : cases) {
        ProtocolDocument document;
        document.AppendText(c.Text, document.AddFormat({}));  // no line yet: one is started
        EXPECT_EQ(Lines(document), c.Lines) << c.Name;
    }
}

TEST(ProtocolDocument, UnknownFormatIndexIsRefused) {
    ProtocolDocument document;
    EXPECT_THROW(document.AppendText("x", 0), std::out_of_range);
    document.AddFormat({});
    EXPECT_THROW(document.AppendText("x", 1), std::out_of_range);
    EXPECT_EQ(document.TextSize(), 0u);
}

TEST(ProtocolDocument, EqualityComparesFormatsByAttributesNotIndices) {
    ProtocolDocument a;
    a.AddFormat(Attributes(0x00FF00));  // shifts the indices of `a`
    a.AddLine("x", Attributes(0x0000FF, 1));
    ProtocolDocument b;
    b.AddLine("x", Attributes(0x0000FF, 1));
    EXPECT_TRUE(a == b);

    ProtocolDocument styled;
    styled.AddLine("x", Attributes(0x0000FF, 2));
    EXPECT_FALSE(a == styled);
    ProtocolDocument split;
    split.AddLine();
    split.AppendText("x", split.AddFormat(Attributes(0x0000FF, 1)));
    split.AddLine();
    EXPECT_FALSE(a == split);

    a.Clear();
    EXPECT_EQ(a.LineCount(), 0u);
    EXPECT_EQ(a.FormatCount(), 0u);
    EXPECT_TRUE(a == ProtocolDocument());
}
