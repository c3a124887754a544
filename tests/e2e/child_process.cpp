// Child processes for end-to-end tests.
#include "tests/e2e/child_process.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A pseudo-terminal: the master side for the test, the slave side's name for the child.
bool OpenTerminal(int& master, std::string& slave)
{
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || !ptsname(master))
        return false;
    slave = ptsname(master);
    return true;
}
} // namespace

ChildProcess StartChild(const std::string& program, const std::string& directory,
                        const ChildOptions& options)
{
    int toChild[2] = {-1, -1}, fromChild[2], errorsOfChild[2];
    std::string terminal;
    bool opened = options.inputIsTerminal ? OpenTerminal(toChild[1], terminal) : pipe(toChild) == 0;
    if (!opened || pipe(fromChild) != 0 || pipe(errorsOfChild) != 0)
        return {};
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : options.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ChildProcess child;
    child.pid = fork();
    if (child.pid == 0) {
        if (options.inputIsTerminal) {
            setsid();
            toChild[0] = open(terminal.c_str(), O_RDWR);
        }
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        dup2(errorsOfChild[1], STDERR_FILENO);
        for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1], errorsOfChild[0],
                       errorsOfChild[1]})
            close(fd);
        if (chdir(directory.c_str()) == 0)
            execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (toChild[0] >= 0)
        close(toChild[0]);
    close(fromChild[1]);
    close(errorsOfChild[1]);
    child.input = toChild[1];
    child.output = fromChild[0];
    child.errors = errorsOfChild[0];
    return child;
}

std::string ReadChildErrors(ChildProcess& child)
{
    std::string text;
    char block[4096];
    for (ssize_t got; child.errors >= 0 && (got = read(child.errors, block, sizeof block)) > 0;)
        text.append(block, size_t(got));
    return text;
}

std::string ReadChildLine(ChildProcess& child)
{
    std::string line;
    char byte;
    while (read(child.output, &byte, 1) == 1 && byte != '\n')
        line += byte;
    return line;
}

void WriteChild(ChildProcess& child, const std::string& bytes)
{
    if (write(child.input, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
        std::abort();
}

void CloseChildInput(ChildProcess& child)
{
    if (child.input >= 0)
        close(child.input);
    child.input = -1;
}

int WaitChild(ChildProcess& child)
{
    CloseChildInput(child);
    int status = 0;
    waitpid(child.pid, &status, 0);
    child.pid = -1;
    close(child.output);
    if (child.errors >= 0)
        close(child.errors);
    child.output = child.errors = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ChildGuard::~ChildGuard()
{
    if (child.pid <= 0)
        return;
    kill(child.pid, SIGKILL);
    WaitChild(child);
}

std::string MakeTemporaryDirectory()
{
    std::string pattern = "/tmp/vellomira-test-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}
