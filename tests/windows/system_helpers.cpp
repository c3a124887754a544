#include "tests/system_helpers.h"

#include "runtime/platform/system.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

bool OpenPipe(int ends[2])
{
    return _pipe(ends, 1 << 16, _O_BINARY) == 0;
}

bool SendQuitRequest()
{
    // The event reaches every process of the console, this one on a thread of the system's:
    // wait for it there.
    if (!GetConsoleWindow() && !AllocConsole())
        return false;
    if (!GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0))
        return false;
    uint64_t deadline = SystemNanoseconds() + 5'000'000'000ull;
    while (!SystemQuitRequested() && SystemNanoseconds() < deadline)
        Sleep(1);
    return SystemQuitRequested();
}
