// Starting cellpack and the game on Windows with CreateProcessW, their output read through
// pipes.
#include "launcher/programs.h"

#include "launcher/run_log.h"
#include "runtime/platform/system.h"
#include "runtime/platform/windows/windows_text.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {
// The most of the game's standard error kept for the message box of a failed start.
constexpr size_t KEPT_MESSAGES = 4096;

struct Launched {
    HANDLE game = nullptr; // the game, while the launcher waits for it
};
Launched State;

// Ctrl+C and Ctrl+Break reach the game as well, which quits by itself; closing the console
// ends the launcher when this returns, so it returns once the game has ended.
BOOL WINAPI OnConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && State.game)
        WaitForSingleObject(State.game, INFINITE);
    return TRUE;
}

// The programs' bytes pass on unchanged: their lines end in a line feed alone, as everywhere.
void PassBytesUnchanged()
{
    _setmode(1, _O_BINARY);
    _setmode(2, _O_BINARY);
}

// The word as the C runtime of the started program splits it out of its command line.
std::wstring Quoted(const std::wstring& word)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

struct Pipe {
    HANDLE read = nullptr, write = nullptr;
};

// A pipe whose writing end the started program inherits.
Pipe MakePipe()
{
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    Pipe pipe;
    if (!CreatePipe(&pipe.read, &pipe.write, &inherited, 0))
        return {};
    SetHandleInformation(pipe.read, HANDLE_FLAG_INHERIT, 0);
    return pipe;
}

void Close(HANDLE& handle)
{
    if (handle && handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    handle = nullptr;
}

// The launcher's own handle, as one the started program inherits (its own copy, closed after
// the start); null when the launcher has none.
HANDLE Inherited(DWORD which)
{
    HANDLE own = GetStdHandle(which), copy = nullptr;
    if (own && own != INVALID_HANDLE_VALUE)
        DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE,
                        DUPLICATE_SAME_ACCESS);
    return copy;
}

// Starts the program with the handles; its process, or null.
HANDLE Start(const std::string& program, const std::wstring& line, const std::string& folder,
             HANDLE output, HANDLE errors)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inherited(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = errors;
    std::wstring commandLine = line;
    std::wstring where = WideFromUtf8(folder);
    PROCESS_INFORMATION started{};
    BOOL done =
        CreateProcessW(WideFromUtf8(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                       nullptr, folder.empty() ? nullptr : where.c_str(), &startup, &started);
    Close(startup.hStdInput);
    if (!done)
        return nullptr;
    CloseHandle(started.hThread);
    return started.hProcess;
}

std::string LastProblem()
{
    wchar_t* text = nullptr;
    DWORD error = GetLastError();
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string problem = text ? Utf8FromWide(text) : "error " + std::to_string(error);
    LocalFree(text);
    while (!problem.empty() && (problem.back() == '\n' || problem.back() == '\r'))
        problem.pop_back();
    return problem;
}

// A pipe from the child, passed on to a descriptor.
struct Stream {
    HANDLE from = nullptr;
    int to = -1;
    std::string* kept = nullptr; // what to keep of it, up to KEPT_MESSAGES
    std::string* lastLine = nullptr;
    std::string line; // the line being read, for lastLine
};

void Keep(Stream& stream, const char* bytes, size_t size)
{
    if (stream.kept && stream.kept->size() < KEPT_MESSAGES)
        stream.kept->append(bytes, std::min(size, KEPT_MESSAGES - stream.kept->size()));
    for (size_t i = 0; stream.lastLine && i < size; ++i) {
        if (bytes[i] == '\r')
            continue;
        if (bytes[i] != '\n')
            stream.line += bytes[i];
        else
            *stream.lastLine = std::move(stream.line), stream.line.clear();
    }
}

// Passes on what the stream has; closes it at its end, or when its reader is gone (the child
// then writes into the pipe's void). Whether it passed anything on.
bool Drain(Stream& stream)
{
    char buffer[4096];
    DWORD waiting = 0, got = 0;
    if (!stream.from)
        return false;
    if (!PeekNamedPipe(stream.from, nullptr, 0, nullptr, &waiting, nullptr)) {
        Close(stream.from);
        return false;
    }
    if (waiting == 0 || !ReadFile(stream.from, buffer, sizeof buffer, &got, nullptr) || got == 0)
        return false;
    Keep(stream, buffer, got);
    if (stream.to >= 0 && !PassOn(stream.to, buffer, got))
        stream.to = -1;
    return true;
}

// Passes the streams on until both end or the program has ended and they are empty: a program
// the child started may hold the pipes open long after it (Wine's desktop does). Standard
// output goes first when both have something, so that a hint follows the console line it
// explains.
void PassStreamsOn(Stream& output, Stream& errors, HANDLE program)
{
    bool ended = false;
    while (output.from || errors.from) {
        if (Drain(output) || Drain(errors))
            continue;
        if (ended || !program)
            break;
        ended = WaitForSingleObject(program, 10) == WAIT_OBJECT_0;
    }
    Close(output.from);
    Close(errors.from);
}

// Waits for the process; its exit code.
DWORD WaitFor(HANDLE process)
{
    WaitForSingleObject(process, INFINITE);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(process, &code);
    return code;
}

// The game ends with the launcher: a job that ends its processes when its last handle, the
// launcher's, closes.
void EndWithLauncher(HANDLE process)
{
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job &&
        (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
         !AssignProcessToJobObject(job, process)))
        Close(job);
}
} // namespace

int RunTool(const std::string& program, const std::vector<std::string>& arguments)
{
    PassBytesUnchanged();
    Pipe pipe = MakePipe();
    if (!pipe.read)
        return -1;
    std::wstring line = Quoted(WideFromUtf8(program));
    for (const std::string& argument : arguments)
        line += L" " + Quoted(WideFromUtf8(argument));
    HANDLE tool = Start(program, line, "", pipe.write, pipe.write);
    if (!tool)
        Say(program + " cannot be started: " + LastProblem());
    Close(pipe.write);
    Stream none, errors;
    errors.from = pipe.read, errors.to = 2;
    PassStreamsOn(none, errors, tool);
    if (!tool)
        return -1;
    DWORD code = WaitFor(tool);
    CloseHandle(tool);
    return code >= 0x80000000 ? -1 : int(code);
}

GameEnd RunGame(const std::string& game, const std::string& folder)
{
    GameEnd end;
    PassBytesUnchanged();
    Pipe output = OutputIsTerminal() ? Pipe{} : MakePipe(), errors = MakePipe();
    if (!errors.read || (!OutputIsTerminal() && !output.read)) {
        end.messages = "no pipe for the game's output: " + LastProblem();
        return end;
    }
    HANDLE console = OutputIsTerminal() ? Inherited(STD_OUTPUT_HANDLE) : nullptr;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    State.game = Start(game, L"vellomira", folder, console ? console : output.write, errors.write);
    if (!State.game) {
        end.messages = "the game cannot be started: " + LastProblem();
        Say(end.messages);
    } else {
        EndWithLauncher(State.game);
    }
    Close(console);
    Close(output.write);
    Close(errors.write);
    Stream out, err;
    out.from = output.read, out.to = 1, out.lastLine = &end.lastLine;
    err.from = errors.read, err.to = 2, err.kept = &end.messages;
    PassStreamsOn(out, err, State.game);
    if (State.game) {
        DWORD code = WaitFor(State.game);
        // Codes from 0x80000000 are the exceptions that ended a program.
        if (code >= 0x80000000)
            end.signal = int(code);
        else
            end.status = int(code);
    }
    return end;
}

std::string AbnormalEnd(const GameEnd& end)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", unsigned(end.signal));
    return std::string("the game ended by the exception ") + code;
}

int AbnormalEndStatus(const GameEnd& end)
{
    return end.signal;
}

void SetForGame(const char* name, const std::string& value)
{
    SetEnvironmentVariableW(WideFromUtf8(name).c_str(), WideFromUtf8(value).c_str());
}

void UnsetForGame(const char* name)
{
    SetEnvironmentVariableW(WideFromUtf8(name).c_str(), nullptr);
}
