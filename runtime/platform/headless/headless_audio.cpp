// Headless audio: a silent device that is always there, so that sound loading can be tested.
#include "runtime/platform/platform.h"

int32_t PlatformOpenAudio()
{
    return 1;
}

void PlatformCloseAudio() {}
