// Running a program to its end with its output kept in temporary files.
#include "tests/tools/program_run.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// An unlinked temporary file, open for reading and writing.
int TemporaryFile()
{
    char name[] = "/tmp/vellomira-run-XXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0)
        unlink(name);
    return fd;
}

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t got;
    lseek(fd, 0, SEEK_SET);
    while ((got = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(got));
    close(fd);
    return text;
}
} // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input)
{
    int in = TemporaryFile(), out = TemporaryFile(), err = TemporaryFile();
    ProgramRun run;
    if (in < 0 || out < 0 || err < 0 ||
        write(in, input.data(), input.size()) != ssize_t(input.size()))
        return run;
    lseek(in, 0, SEEK_SET);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    close(in);
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
}
