// Runs a built command-line program to its end with arguments and standard input, keeping
// what it printed on standard output and standard error.
#pragma once
#include <string>
#include <vector>

struct ProgramRun {
    int status = -1; // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input = "");
