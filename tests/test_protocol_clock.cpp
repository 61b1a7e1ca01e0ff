#include <gtest/gtest.h>

#include "capture/long_time_text.h"
#include "capture/protocol_clock.h"
#include "fakes/fake_clock.h"

namespace kestrum {
namespace {

TEST(ProtocolClock, CountsSecondsFromTheOriginWithTheCounter) {
    fakes::FakeClock source;
    ProtocolClock clock;
    SetUpProtocolClock(clock, source);
    ASSERT_TRUE(clock.CounterAvailable);
    EXPECT_DOUBLE_EQ(clock.CounterFrequency, 10'000'000.0);
    source.Advance(3.0);
    EXPECT_NEAR(ElapsedSeconds(clock, source), 3.0, 1e-9);
    TakeTimeOrigin(clock, source);
    source.Advance(2.5);
    EXPECT_NEAR(ElapsedSeconds(clock, source), 2.5, 1e-9);
}

TEST(ProtocolClock, WithoutCounterUsesTheTimeOfDay) {
    fakes::FakeClock source;
    source.HasCounter = false;
    ProtocolClock clock;
    SetUpProtocolClock(clock, source);
    ASSERT_FALSE(clock.CounterAvailable);
    source.Advance(1.25);
    EXPECT_NEAR(ElapsedSeconds(clock, source), 1.25, 1e-5);
}

TEST(ProtocolClock, WithoutCounterPastMidnightContinuesModuloOneDay) {
    fakes::FakeClock source;
    source.HasCounter = false;
    source.SetTimeOfDay(23 * 3600.0 + 59 * 60.0);  // 23:59:00
    ProtocolClock clock;
    SetUpProtocolClock(clock, source);
    TakeTimeOrigin(clock, source);
    source.Advance(120.0);  // 00:01:00 the next day
    EXPECT_NEAR(ElapsedSeconds(clock, source), 120.0, 1e-4);
    source.Advance(86400.0);  // one more day: starts again
    EXPECT_NEAR(ElapsedSeconds(clock, source), 120.0, 1e-4);
    // A clock set back gives a time of day, never a negative time.
    source.Advance(-180.0);
    EXPECT_NEAR(ElapsedSeconds(clock, source), 86400.0 - 60.0, 1e-4);
}

TEST(ProtocolClock, TakeTimeOriginMovesOnlyTheOriginInUse) {
    fakes::FakeClock source;
    ProtocolClock clock;
    SetUpProtocolClock(clock, source);
    const DateTime timeOrigin = clock.TimeOrigin;
    source.Advance(5.0);
    TakeTimeOrigin(clock, source);
    EXPECT_EQ(clock.TimeOrigin, timeOrigin);
    EXPECT_EQ(clock.CounterOrigin, source.Counter);
}

TEST(FormatLongTime, WritesTheTimeOfDayInTheFormat) {
    const DateTime t = 45000.0 + (14 * 3600.0 + 5 * 60.0 + 9) / kSecondsPerDay;  // 14:05:09
    EXPECT_EQ(FormatLongTime(t, "HH:mm:ss"), "14:05:09");
    EXPECT_EQ(FormatLongTime(t, "H:m:s"), "14:5:9");
    EXPECT_EQ(FormatLongTime(t, "h:mm:ss tt"), "2:05:09 PM");
    EXPECT_EQ(FormatLongTime(t, "hh'h'mm t"), "02h05 P");
    const DateTime midnight = 45001.0 + 0.4 / kSecondsPerDay;
    EXPECT_EQ(FormatLongTime(midnight, "h:mm:ss tt"), "12:00:00 AM");
    EXPECT_EQ(FormatLongTime(45000.0 + 0.9999999999, "HH:mm:ss"), "00:00:00");
}

}  // namespace
}  // namespace kestrum
