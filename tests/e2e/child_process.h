// Runs a built program as a child with piped standard input, output and error, for end-to-end
// tests.
#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

struct ChildProcess {
    pid_t pid = -1;
    int input = -1;  // the child's standard input (the terminal's master side on a terminal)
    int output = -1; // the child's standard output
    int errors = -1; // the child's standard error
};

struct ChildOptions {
    std::vector<std::string> arguments;
    // Standard input is a terminal of its own (a pseudo-terminal) instead of a pipe.
    bool inputIsTerminal = false;
};

// Starts the program in the working directory.
ChildProcess StartChild(const std::string& program, const std::string& directory,
                        const ChildOptions& options = {});
// The next line the child prints, without its LF; empty at the end of its output.
std::string ReadChildLine(ChildProcess& child);
// Everything the child writes on standard error until it closes it (at its end).
std::string ReadChildErrors(ChildProcess& child);
void WriteChild(ChildProcess& child, const std::string& bytes);
void CloseChildInput(ChildProcess& child);
// Waits for the child to end; its exit status, or -1 when it did not exit normally.
int WaitChild(ChildProcess& child);
// Kills and reaps a child that a failed test left running, so that no program outlives its
// test and keeps the test's output open.
struct ChildGuard {
    ChildProcess& child;
    ~ChildGuard();
};
// A new empty directory under the system's temporary folder.
std::string MakeTemporaryDirectory();
