// Messages in the browser: the page shows the console's lines, a failure's among them, so
// there is no box of its own to show.
#include "runtime/platform/platform.h"

int32_t PlatformShowMessage(const char*, const char*)
{
    return 0;
}
