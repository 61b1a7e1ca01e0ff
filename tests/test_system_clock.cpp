#include <gtest/gtest.h>

#include <time.h>

#include <chrono>

#include "platform/clock.h"
#include "platform/poll_timer.h"

namespace kestrum {
namespace {

TEST(SystemClock, CounterRunsInNanoseconds) {
    auto clock = CreateSystemClock();
    std::int64_t frequency = 0;
    ASSERT_TRUE(clock->QueryPerformanceFrequency(frequency));
    EXPECT_EQ(frequency, 1'000'000'000);
    std::int64_t a = 0;
    std::int64_t b = 0;
    ASSERT_TRUE(clock->QueryPerformanceCounter(a));
    ASSERT_TRUE(clock->QueryPerformanceCounter(b));
    EXPECT_GE(b, a);
}

TEST(SystemClock, NowIsTheLocalDateTimeInDays) {
    auto clock = CreateSystemClock();
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    const double seconds = static_cast<double>(now + local.tm_gmtoff);
    const double expected = seconds / kSecondsPerDay + 25569.0;
    EXPECT_NEAR(clock->Now(), expected, 5.0 / kSecondsPerDay);
}

TEST(SystemPollTimer, SignalsWithinAboutOneTick) {
    auto timer = CreateSystemPollTimer();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(timer->SetWaitableTimer(-10, 1));
    EXPECT_TRUE(timer->WaitForSingleObject(1));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::milliseconds(50));
}

TEST(SystemPollTimer, WaitTimesOutWhenNotSet) {
    auto timer = CreateSystemPollTimer();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(timer->WaitForSingleObject(1));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1));
}

}  // namespace
}  // namespace kestrum
