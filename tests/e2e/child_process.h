// Runs a built program as a child with piped standard input and output, for end-to-end tests.
#pragma once
#include <string>
#include <sys/types.h>

struct ChildProcess {
    pid_t pid = -1;
    int input = -1;  // the child's standard input
    int output = -1; // the child's standard output
};

// Starts the program in the working directory with no arguments.
ChildProcess StartChild(const std::string& program, const std::string& directory);
// The next line the child prints, without its LF; empty at the end of its output.
std::string ReadChildLine(ChildProcess& child);
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
