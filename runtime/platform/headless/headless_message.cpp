// Headless messages: there is nobody to show a box to.
#include "runtime/platform/platform.h"

int32_t PlatformShowMessage(const char*, const char*)
{
    return 0;
}
