// The command-line manners every cellpack command shares.
#include "tools/cellpack/command_line.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

ParsedArguments ParseArguments(const Arguments& arguments,
                               const std::vector<std::string>& valueOptions,
                               const std::vector<std::string>& flagOptions)
{
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        bool negativeNumber = argument.size() > 1 && argument[0] == '-' &&
                              std::isdigit(static_cast<unsigned char>(argument[1]));
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-' ||
            negativeNumber) {
            parsed.positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        size_t equals = argument.find('=');
        std::string name = argument.substr(0, equals);
        if (Contains(flagOptions, name) && equals == std::string::npos)
            parsed.options[name] = "";
        else if (!Contains(valueOptions, name))
            parsed.error = "unknown option " + argument;
        else if (equals != std::string::npos)
            parsed.options[name] = argument.substr(equals + 1);
        else if (i + 1 < arguments.size())
            parsed.options[name] = arguments[++i];
        else
            parsed.error = "option " + name + " needs a value";
    }
    return parsed;
}

bool AsksForHelp(const Arguments& arguments)
{
    for (const std::string& argument : arguments) {
        if (argument == "--")
            return false;
        if (argument == "--help" || argument == "-h")
            return true;
    }
    return false;
}

int UsageError(const Command& command, const std::string& problem)
{
    std::fprintf(stderr, "cellpack %s: %s\nTry 'cellpack %s --help'.\n", command.name,
                 problem.c_str(), command.name);
    return EXIT_STATUS_USAGE;
}

int Failure(const std::string& line)
{
    std::fprintf(stderr, "cellpack: %s\n", line.c_str());
    return EXIT_STATUS_FAILURE;
}

std::string Counted(size_t count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

bool ParseWholeNumber(const std::string& text, long low, long high, long& value)
{
    if (text.empty() || text.size() > 12)
        return false;
    size_t digits = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (digits == text.size() || !std::all_of(text.begin() + long(digits), text.end(),
                                              [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return value >= low && value <= high;
}
