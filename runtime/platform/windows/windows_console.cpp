// The console on Windows: the program is a console program, so started from Explorer it has
// a console window of its own. Ctrl+C, Ctrl+Break and closing that window ask the program to
// quit; the title goes on the console.
#include "runtime/platform/system.h"
#include "runtime/platform/windows/windows_text.h"

#include <atomic>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {
struct WindowsConsole {
    std::atomic<int> quit{0};
    HANDLE mainThread = nullptr; // the thread that may be waiting for a line
};
WindowsConsole Console;

// Runs on a thread of the system's own. Ctrl+C and Ctrl+Break are taken: the game quits by
// itself. Closing the window, logging off or shutting down end the process when this handler
// returns, so it returns never: the main thread runs the shut-down, whose end of the process
// ends this thread too (the system still ends it all after its grace time).
BOOL WINAPI OnConsoleEvent(DWORD event)
{
    Console.quit = 1;
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        return TRUE;
    if (Console.mainThread)
        CancelSynchronousIo(Console.mainThread); // a wait for a line ends at once
    Sleep(INFINITE);
    return TRUE;
}
} // namespace

void SystemOpenConsole()
{
    // Bytes pass unchanged: the console's lines end in a line feed alone, as everywhere.
    for (int descriptor : {0, 1, 2})
        _setmode(descriptor, _O_BINARY);
    if (!Console.mainThread)
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(),
                        &Console.mainThread, 0, FALSE, DUPLICATE_SAME_ACCESS);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool SystemQuitRequested()
{
    return Console.quit != 0;
}

bool SystemIsTerminal(int descriptor)
{
    HANDLE handle = HANDLE(_get_osfhandle(descriptor));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

bool SystemShowTitle(int descriptor, std::string_view title)
{
    return SystemIsTerminal(descriptor) && SetConsoleTitleW(WideFromLatin1(title).c_str()) != 0;
}
