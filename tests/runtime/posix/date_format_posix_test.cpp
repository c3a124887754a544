// The date breakdown against the C library's, across the whole range of the game's times.
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <ctime>

TEST(FormatDateOnPosix, EveryDayOfTheRangeBreaksDownAsTheCLibraryDoes)
{
    char expected[32];
    // A step of a day and 7 seconds passes every day and, over the years, every time of day.
    for (int64_t time = 0; time <= INT32_MAX; time += 86407) {
        std::time_t seconds = std::time_t(time);
        std::tm parts{};
        ASSERT_NE(gmtime_r(&seconds, &parts), nullptr);
        std::strftime(expected, sizeof expected, "%Y-%m-%d %H:%M:%S", &parts);
        ASSERT_EQ(FormatDate("%yyyy-%mm-%dd %hh:%ii:%ss", int32_t(time)), expected) << time;
    }
}
