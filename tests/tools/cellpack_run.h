// Running the cellpack command in tests, and reading what it printed.
#pragma once
#include "tests/tools/program_run.h"

#include <algorithm>
#include <string>
#include <vector>

inline const std::string CELLPACK = std::string(VELLOMIRA_BINARY_DIR) + "/cellpack";

inline ProgramRun Cellpack(const std::vector<std::string>& arguments, const std::string& input = "")
{
    return RunProgram(CELLPACK, arguments, input);
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

// Whether the line holds the pattern, whose "*" stand for any text.
inline bool Matches(const std::string& line, const std::string& pattern)
{
    size_t at = 0;
    for (size_t start = 0, star; start <= pattern.size(); start = star + 1) {
        star = std::min(pattern.find('*', start), pattern.size());
        at = line.find(pattern.substr(start, star - start), at);
        if (at == std::string::npos)
            return false;
    }
    return true;
}
