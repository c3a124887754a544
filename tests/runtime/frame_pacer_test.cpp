#include "runtime/platform/frame_pacer.h"

#include <gtest/gtest.h>

TEST(FramePacer, FramesNeverComeCloserThanTheInterval)
{
    constexpr uint64_t ms = 1000000;
    constexpr uint64_t T = 1000000000 / 60; // 16.67 ms
    // Each row: the time a frame is ready to present, and the time it may be shown.
    struct Step {
        uint64_t ready, shown;
    } steps[] = {
        {1000 * ms, 1000 * ms},                      // the first frame goes at once
        {1001 * ms, 1000 * ms + T},                  // a quick frame waits a whole interval
        {1000 * ms + T + 2 * ms, 1000 * ms + 2 * T}, // on schedule: waits for its deadline
        {1100 * ms, 1100 * ms},                      // late: starts afresh, no catching up
        {1100 * ms + T, 1100 * ms + T},              // exactly on time
        {1100 * ms + T + 1, 1100 * ms + 2 * T},
    };
    FramePacer pacer;
    for (const Step& s : steps)
        EXPECT_EQ(PaceFrame(pacer, s.ready, 60), s.shown) << "ready at " << s.ready;
}

TEST(FramePacer, RateZeroDoesNotWaitOrMoveTheSchedule)
{
    FramePacer pacer;
    EXPECT_EQ(PaceFrame(pacer, 5000, 60), 5000u);
    EXPECT_EQ(PaceFrame(pacer, 5001, 0), 5001u);
    EXPECT_EQ(PaceFrame(pacer, 5002, -3), 5002u);
    EXPECT_EQ(PaceFrame(pacer, 5003, 100), 5000u + 1000000000u / 60);
}
