// Commands run guarded: an exception becomes the standard error box and the
// program goes on.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/command_guard.h"
#include "fakes/recording_message_boxes.h"

namespace kestrum {
namespace {

TEST(CommandGuard, AnExceptionIsShownWithItsTextAndTheNextCommandRuns) {
    RecordingMessageBoxes messages;
    EXPECT_FALSE(RunGuarded(messages, {7, 8}, [] { throw std::out_of_range("entry 12 is not in 0..9"); }));
    ASSERT_EQ(messages.Calls, (std::vector<std::string>{"beep", "box"}));
    EXPECT_EQ(messages.Beeps[0], MessageKind::Error);
    EXPECT_EQ(messages.Boxes[0].Kind, MessageKind::Error);
    EXPECT_EQ(messages.Boxes[0].Caption, "Kestrum");
    EXPECT_EQ(messages.Boxes[0].Text, "entry 12 is not in 0..9");
    EXPECT_EQ(messages.Boxes[0].Origin, (ScreenPoint{7, 8}));

    bool ran = false;
    EXPECT_TRUE(RunGuarded(messages, {}, [&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(messages.Boxes.size(), 1u);
    EXPECT_FALSE(RunGuarded(messages, {}, [] { throw 42; }));  // not even an exception class
    EXPECT_EQ(messages.Boxes.size(), 2u);
}

}  // namespace
}  // namespace kestrum
