#include <gtest/gtest.h>

#include "document/rtf_error_text.h"

using namespace kestrum;

TEST(RtfErrorText, EveryErrorHasItsTextInBothLanguagesWithTheOffset) {
    for (const RtfError error : {RtfError::NotRtf, RtfError::NestingTooDeep, RtfError::UnexpectedEnd,
                                 RtfError::BinaryTooLong}) {
        const RtfReadResult result{error, 4711};
        const std::string english = RtfErrorText(result, 1);
        const std::string german = RtfErrorText(result, 2);
        SCOPED_TRACE(english);
        EXPECT_FALSE(english.empty());
        EXPECT_FALSE(german.empty());
        EXPECT_NE(english, german);
        EXPECT_EQ(RtfErrorText(result, 7), english);  // unknown languages read English
        if (error != RtfError::NotRtf) {
            EXPECT_NE(english.find("4711"), std::string::npos);
            EXPECT_NE(german.find("4711"), std::string::npos);
        }
        EXPECT_EQ(english.find("%1"), std::string::npos);
        // Single-byte text: no UTF-8 lead bytes.
        EXPECT_EQ(german.find('\xC3'), std::string::npos);
    }
    EXPECT_EQ(RtfErrorText({RtfError::UnexpectedEnd, 9}, 2),
              "Die Datei endet zu fr\xFCh, bevor ihre letzte Gruppe geschlossen ist (bei Byte 9).");
    EXPECT_EQ(RtfErrorText({}, 1), "");
}
