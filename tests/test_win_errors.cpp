// The system's error texts and the box of a failed file operation.
#include "document/win_errors.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "fakes/recording_message_boxes.h"

namespace kestrum {
namespace {

TEST(WinErrors, TextOfAnErrorCode) {
    EXPECT_FALSE(WinErrorText(ENOENT, false).empty());
    EXPECT_LE(WinErrorText(ENOENT, false).size(), 255u);
    const std::string oneLine = WinErrorText(EACCES, true);
    EXPECT_FALSE(oneLine.empty());
    EXPECT_EQ(oneLine.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(oneLine.front(), ' ');
    EXPECT_NE(oneLine.back(), ' ');
}

TEST(WinErrors, ShowWinErrorNamesTheCodeAndItsText) {
    RecordingMessageBoxes messages;
    ShowWinError(messages, {30, 40}, "kestrum", "Error on openeing the file  x.RTF\r", ENOENT);
    ASSERT_EQ(messages.Boxes.size(), 1u);
    const RecordingMessageBoxes::Box& box = messages.Boxes[0];
    EXPECT_EQ(box.Caption, " kestrum");
    EXPECT_EQ(box.Text, "Error on openeing the file  x.RTF\r\rWinErrorCode=" + std::to_string(ENOENT) + "\r" +
                            WinErrorText(ENOENT, false));
    EXPECT_EQ(box.Origin.X, 30);
    EXPECT_EQ(box.Buttons, MessageButtons::Ok);
}

}  // namespace
}  // namespace kestrum
