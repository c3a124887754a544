// The console on a POSIX system: the quit signals turned into a request, terminals, and the
// title as the terminal's escape sequence.
#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/system.h"

#include <atomic>
#include <csignal>
#include <string>
#include <unistd.h>

namespace {
// The handler may run on any thread of the process (the quad helper's too) while the main
// thread reads the flag: a lock-free atomic is safe both in a handler and across threads.
std::atomic<int> QuitSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void OnQuitSignal(int)
{
    QuitSignal = 1;
}
} // namespace

void SystemOpenConsole()
{
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // Without SA_RESTART a waiting read returns, so a quit signal also ends the wait for a line.
    action.sa_flags = 0;
    for (int signal : {SIGHUP, SIGINT, SIGTERM})
        sigaction(signal, &action, nullptr);
    // A closed pipe on the output must not end the program; its writes just fail.
    std::signal(SIGPIPE, SIG_IGN);
}

bool SystemQuitRequested()
{
    return QuitSignal != 0;
}

bool SystemIsTerminal(int descriptor)
{
    return isatty(descriptor) == 1;
}

bool SystemShowTitle(int descriptor, std::string_view title)
{
    if (!SystemIsTerminal(descriptor))
        return false;
    std::string sequence = "\033]0;" + std::string(title) + "\007";
    WriteToDescriptor(descriptor, sequence.data(), sequence.size());
    return true;
}
