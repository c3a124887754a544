// Starting cellpack and the game with fork and exec, their output read through pipes.
#include "launcher/programs.h"

#include "launcher/run_log.h"
#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/shown_text.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// The most of the game's standard error kept for the message box of a failed start.
constexpr size_t KEPT_MESSAGES = 4096;
constexpr int QUIT_SIGNALS[] = {SIGHUP, SIGINT, SIGTERM};

volatile sig_atomic_t GameProcess = 0;

void PassSignalOn(int signal)
{
    if (GameProcess > 0)
        kill(pid_t(GameProcess), signal);
}

struct Pipe {
    int read = -1, write = -1;
};

Pipe MakePipe()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return {};
    return {ends[0], ends[1]};
}

void Close(int& descriptor)
{
    if (descriptor >= 0)
        close(descriptor);
    descriptor = -1;
}

// In the child between fork and exec: it ends with the launcher, takes the default handling of
// the signals the launcher changed, and writes where it is told.
void BecomeChild(pid_t parent, const sigset_t& mask, int output, int errors)
{
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(127);
    for (int signal : QUIT_SIGNALS)
        std::signal(signal, SIG_DFL);
    std::signal(SIGPIPE, SIG_DFL);
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    if (output >= 0)
        dup2(output, STDOUT_FILENO);
    dup2(errors, STDERR_FILENO);
}

// Ends the child after a failure, said on its standard error, which the launcher reads.
[[noreturn]] void FailInChild(const std::string& what)
{
    std::string line = "vellomira: " + ShownText(what) + ": " + std::strerror(errno) + "\n";
    WriteToDescriptor(STDERR_FILENO, line.data(), line.size());
    _exit(127);
}

[[noreturn]] void Exec(const std::string& program, const std::vector<std::string>& words)
{
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    FailInChild(program + " cannot be started");
}

// Waits for the child; its exit status, or -1 with the ending signal in signal.
int WaitFor(pid_t child, int& signal)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A pipe from the child, passed on to a descriptor.
struct Stream {
    int from = -1;
    int to = -1;
    std::string* kept = nullptr; // what to keep of it, up to KEPT_MESSAGES
    std::string* lastLine = nullptr;
    std::string line; // the line being read, for lastLine
};

Stream StreamOf(int from, int to, std::string* kept = nullptr, std::string* lastLine = nullptr)
{
    Stream stream;
    stream.from = from, stream.to = to, stream.kept = kept, stream.lastLine = lastLine;
    return stream;
}

void Keep(Stream& stream, const char* bytes, size_t size)
{
    if (stream.kept && stream.kept->size() < KEPT_MESSAGES)
        stream.kept->append(bytes, std::min(size, KEPT_MESSAGES - stream.kept->size()));
    for (size_t i = 0; stream.lastLine && i < size; ++i) {
        if (bytes[i] != '\n')
            stream.line += bytes[i];
        else
            *stream.lastLine = std::move(stream.line), stream.line.clear();
    }
}

// Passes on what the stream has; closes it at its end, or when its reader is gone (then the
// child learns so when it writes again, as it would have without the launcher between).
void Drain(Stream& stream)
{
    char buffer[4096];
    ssize_t got = read(stream.from, buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0) {
        Close(stream.from);
        return;
    }
    Keep(stream, buffer, size_t(got));
    if (!PassOn(stream.to, buffer, size_t(got)))
        Close(stream.from);
}

// Passes the streams on until both end, standard output first when both have something, so
// that a hint follows the console line it explains.
void PassStreamsOn(Stream& output, Stream& errors)
{
    while (output.from >= 0 || errors.from >= 0) {
        pollfd polled[2] = {{output.from, POLLIN, 0}, {errors.from, POLLIN, 0}};
        if (poll(polled, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (polled[0].revents)
            Drain(output);
        else if (polled[1].revents)
            Drain(errors);
    }
    Close(output.from);
    Close(errors.from);
}
} // namespace

int RunTool(const std::string& program, const std::vector<std::string>& arguments)
{
    Pipe pipe = MakePipe();
    if (pipe.read < 0)
        return -1;
    sigset_t mask;
    sigprocmask(SIG_SETMASK, nullptr, &mask);
    pid_t parent = getpid(), child = fork();
    if (child == 0) {
        BecomeChild(parent, mask, pipe.write, pipe.write);
        std::vector<std::string> words{program};
        words.insert(words.end(), arguments.begin(), arguments.end());
        Exec(program, words);
    }
    Close(pipe.write);
    if (child < 0)
        Close(pipe.read);
    Stream none, errors = StreamOf(pipe.read, STDERR_FILENO);
    PassStreamsOn(none, errors);
    int signal = 0;
    return child < 0 ? -1 : WaitFor(child, signal);
}

GameEnd RunGame(const std::string& game, const std::string& folder)
{
    GameEnd end;
    Pipe output = OutputIsTerminal() ? Pipe{} : MakePipe(), errors = MakePipe();
    if (errors.read < 0 || (!OutputIsTerminal() && output.read < 0)) {
        end.messages = std::string("no pipe for the game's output: ") + std::strerror(errno);
        return end;
    }
    // The quit signals wait until the game's number is known, then go to the game.
    sigset_t quit, before;
    sigemptyset(&quit);
    for (int signal : QUIT_SIGNALS)
        sigaddset(&quit, signal);
    sigprocmask(SIG_BLOCK, &quit, &before);
    pid_t parent = getpid(), child = fork();
    if (child == 0) {
        BecomeChild(parent, before, output.write, errors.write);
        if (chdir(folder.c_str()) != 0)
            FailInChild(folder + ": cannot enter the folder");
        Exec(game, {"vellomira"});
    }
    if (child < 0) {
        end.messages = std::string("the game cannot be started: ") + std::strerror(errno);
        Say(end.messages);
    }
    GameProcess = child;
    for (int signal : QUIT_SIGNALS)
        std::signal(signal, PassSignalOn);
    std::signal(SIGPIPE, SIG_IGN);
    sigprocmask(SIG_SETMASK, &before, nullptr);
    Close(output.write);
    Close(errors.write);
    Stream out = StreamOf(output.read, STDOUT_FILENO, nullptr, &end.lastLine);
    Stream err = StreamOf(errors.read, STDERR_FILENO, &end.messages);
    PassStreamsOn(out, err);
    if (child > 0)
        end.status = WaitFor(child, end.signal);
    return end;
}

std::string AbnormalEnd(const GameEnd& end)
{
    return "the game ended by the signal " + std::to_string(end.signal) + " (" +
           strsignal(end.signal) + ")";
}

int AbnormalEndStatus(const GameEnd& end)
{
    return 128 + end.signal;
}

void SetForGame(const char* name, const std::string& value)
{
    setenv(name, value.c_str(), 1);
}

void UnsetForGame(const char* name)
{
    unsetenv(name);
}
