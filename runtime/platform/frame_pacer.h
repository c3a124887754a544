// The pacing of presented frames: a schedule of deadlines one frame interval apart, so that
// frames never follow each other faster than the asked rate, whatever the display offers.
#pragma once
#include <cstdint>

struct FramePacer {
    uint64_t nextDeadline = 0; // nanoseconds on the caller's clock; 0 before the first frame
};

// The time (nanoseconds on the same clock as now) to wait until before the next frame at
// rate frames per second, and the schedule moved on by one interval. A frame that comes late
// starts the schedule afresh at now instead of catching up, so no two frames ever come closer
// together than the interval. A rate of 0 or less leaves the schedule alone and answers now.
uint64_t PaceFrame(FramePacer& pacer, uint64_t now, int32_t rate);
