// The command-line manners every cellpack command shares: its arguments, help, usage errors
// (exit 2), failures that name the file (exit 1), and the small text helpers of its messages.
#pragma once
#include <map>
#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

constexpr int EXIT_STATUS_SUCCESS = 0;
constexpr int EXIT_STATUS_FAILURE = 1;
constexpr int EXIT_STATUS_USAGE = 2;

struct Command {
    const char* name;
    const char* summary; // one line for the overview
    const char* usage;   // the whole help text of the command
    int (*run)(const Arguments& arguments);
};

struct ParsedArguments {
    std::map<std::string, std::string> options; // "--list" -> its value ("" for a flag)
    Arguments positional;
    std::string error; // a usage error, or ""
};

// Splits options from positional arguments. Options in valueOptions take a value, as the
// next argument or after "="; flags are the others named in flagOptions; "--" ends the
// options; a lone "-" and a negative number are positional.
ParsedArguments ParseArguments(const Arguments& arguments,
                               const std::vector<std::string>& valueOptions,
                               const std::vector<std::string>& flagOptions = {});
// True when the arguments ask for help (--help or -h).
bool AsksForHelp(const Arguments& arguments);
// Prints the problem and how to get help on standard error; EXIT_STATUS_USAGE.
int UsageError(const Command& command, const std::string& problem);
// Prints "cellpack: line" on standard error; EXIT_STATUS_FAILURE.
int Failure(const std::string& line);
// Whether the list holds the text.
bool Contains(const std::vector<std::string>& texts, const std::string& text);
// The text with ASCII letters in lower case, as file name endings and keys are compared.
std::string Lowered(std::string text);
// "1 frame", "2 frames": a count with its noun.
std::string Counted(size_t count, const std::string& noun);
// A whole decimal number (optional sign, digits, nothing else) within the bounds.
bool ParseWholeNumber(const std::string& text, long low, long high, long& value);
