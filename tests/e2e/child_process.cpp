// Child processes for end-to-end tests.
#include "tests/e2e/child_process.h"

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

ChildProcess StartChild(const std::string& program, const std::string& directory)
{
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0)
        return {};
    ChildProcess child;
    child.pid = fork();
    if (child.pid == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
            close(fd);
        if (chdir(directory.c_str()) == 0)
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    child.input = toChild[1];
    child.output = fromChild[0];
    return child;
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
