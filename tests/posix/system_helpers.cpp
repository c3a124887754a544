#include "tests/system_helpers.h"

#include <csignal>
#include <unistd.h>

bool OpenPipe(int ends[2])
{
    return pipe(ends) == 0;
}

bool SendQuitRequest()
{
    // The handler has run when raise returns.
    return std::raise(SIGTERM) == 0;
}
