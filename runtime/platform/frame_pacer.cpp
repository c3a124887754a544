// Deadline pacing of presented frames.
#include "runtime/platform/frame_pacer.h"

uint64_t PaceFrame(FramePacer& pacer, uint64_t now, int32_t rate)
{
    if (rate <= 0)
        return now;
    uint64_t interval = 1000000000ull / static_cast<uint64_t>(rate);
    if (pacer.nextDeadline == 0 || now > pacer.nextDeadline)
        pacer.nextDeadline = now;
    uint64_t wake = pacer.nextDeadline;
    pacer.nextDeadline += interval;
    return wake;
}
