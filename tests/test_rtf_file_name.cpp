#include <gtest/gtest.h>

#include "document/rtf_file_name.h"

using namespace kestrum;

TEST(IsRtfFileName, ExtensionComparedWithoutCase) {
    struct Case {
        const char* Path;
        bool Rtf;
    };
    const Case cases[] = {
        {"log.RTF", true},
        {"log.rtf", true},
        {"log.RtF", true},
        {"/home/u/dir.x/log.rtf", true},
        {"C:\\Prot\\Test.Rtf", true},
        {"log.txt", false},
        {"log", false},
        {"", false},
        {"log.rtf.txt", false},
        {"log.txt.rtf", true},
        {"log.rtfx", false},
        {"log.rt", false},
        {"logrtf", false},
        {"dir.rtf/log", false},
        {"dir.rtf\\log", false},
        {"log.", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsRtfFileName(c.Path), c.Rtf) << c.Path;
}
