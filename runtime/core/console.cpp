// The console on standard input and output, with the system's quit requests, and hints on
// standard error.
#include "runtime/core/console.h"

#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/system.h"

#include <mutex>

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
    SystemOpenConsole();
    return OpenConsoleOn(0, 1, 2);
}

int ConsoleTitle(std::string_view title)
{
    return SystemShowTitle(Console.output, title) ? 1 : 0;
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
    return SystemIsTerminal(Console.input);
}

std::string ReadConsoleLine()
{
    std::lock_guard<std::mutex> guard(Console.lock);
    std::string line;
    char block[READ_BLOCK];
    while (!TakeLine(Console.remainder, line)) {
        if (SystemQuitRequested())
            return EndOfInput;
        int64_t got = ReadOrInterrupt(Console.input, block, sizeof block);
        if (got < 0)
            continue;
        if (got == 0) {
            line.swap(Console.remainder);
            return line.empty() ? EndOfInput : line;
        }
        Console.remainder.append(block, size_t(got));
    }
    return line;
}

bool ConsoleQuitRequested()
{
    return SystemQuitRequested();
}
