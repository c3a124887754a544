// The console on standard input and output, with the quit signals turned into a request, and
// hints on standard error.
#include "runtime/core/console.h"
#include "runtime/core/descriptor_io.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <unistd.h>

namespace {
constexpr size_t READ_BLOCK = 4096;
const std::string EndOfInput(1, '\x04');

struct ConsoleState {
    int input = 0;
    int output = 1;
    int hints = 2;
    std::string remainder; // bytes read past the last line end
    std::mutex lock;
};
ConsoleState Console;
// The handler may run on any thread of the process (the quad helper's too) while the main
// thread reads the flag: a lock-free atomic is safe both in a handler and across threads.
std::atomic<int> QuitSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void OnQuitSignal(int)
{
    QuitSignal = 1;
}

// Takes the first line out of the collected bytes; false while no line end is there.
bool TakeLine(std::string& collected, std::string& line)
{
    size_t end = collected.find_first_of("\r\n");
    if (end == std::string::npos)
        return false;
    line = collected.substr(0, end);
    size_t next = end + 1;
    if (collected[end] == '\r' && next < collected.size() && collected[next] == '\n')
        ++next;
    collected.erase(0, next);
    return true;
}
} // namespace

int OpenConsoleOn(int inputFd, int outputFd, int hintFd)
{
    std::lock_guard<std::mutex> guard(Console.lock);
    Console.input = inputFd;
    Console.output = outputFd;
    Console.hints = hintFd;
    Console.remainder.clear();
    return 1;
}

int OpenConsole()
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
    return OpenConsoleOn(STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO);
}

int ConsoleTitle(std::string_view title)
{
    if (!isatty(Console.output))
        return 0;
    std::string sequence = "\033]0;" + std::string(title) + "\007";
    WriteToDescriptor(Console.output, sequence.data(), sequence.size());
    return 1;
}

void PrintLine(std::string_view text)
{
    std::string line(text);
    line += '\n';
    WriteToDescriptor(Console.output, line.data(), line.size());
}

void PrintHint(std::string_view text)
{
    std::string line(text);
    line += '\n';
    WriteToDescriptor(Console.hints, line.data(), line.size());
}

bool ConsoleInputIsTerminal()
{
    return isatty(Console.input) == 1;
}

std::string ReadConsoleLine()
{
    std::lock_guard<std::mutex> guard(Console.lock);
    std::string line;
    char block[READ_BLOCK];
    while (!TakeLine(Console.remainder, line)) {
        if (QuitSignal)
            return EndOfInput;
        ssize_t got = read(Console.input, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            line.swap(Console.remainder);
            return line.empty() ? EndOfInput : line;
        }
        Console.remainder.append(block, static_cast<size_t>(got));
    }
    return line;
}

bool ConsoleQuitRequested()
{
    return QuitSignal != 0;
}
