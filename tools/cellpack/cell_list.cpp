// The binary cell type list, its text form and the commands that print and write it.
#include "tools/cellpack/cell_list.h"

#include "tools/cellpack/file_bytes.h"

#include <cstdio>
#include <sstream>

namespace {
std::string CheckedType(const std::string& spawn, const std::string& frames, CellListType& type)
{
    long value = 0;
    if (!ParseWholeNumber(spawn, 0, MOST_SPAWN, value))
        return "spawn count \"" + spawn + "\" is not a whole number from 0 to 32767";
    type.spawnCount = int32_t(value);
    if (!ParseWholeNumber(frames, 0, MOST_FRAMES, value))
        return "frame count \"" + frames + "\" is not a whole number from 0 to 127";
    type.frameCount = int32_t(value);
    return "";
}

std::string TooManyTypes(size_t count)
{
    return std::to_string(count) + " types are more than the 127 a list holds";
}
} // namespace

std::string ParseCellList(const std::vector<uint8_t>& bytes, std::vector<CellListType>& types)
{
    types.clear();
    if (bytes.empty())
        return "the file is empty; the game reads 0 types";
    int32_t count = int8_t(bytes[0]);
    auto byte = [&bytes](size_t at) { return at < bytes.size() ? bytes[at] : uint8_t(0); };
    for (int32_t t = 1; t <= count; ++t) {
        size_t at = 1 + 3 * size_t(t - 1);
        types.push_back({int16_t(byte(at) | byte(at + 1) << 8), int8_t(byte(at + 2))});
    }
    size_t needed = 1 + 3 * types.size();
    if (bytes.size() < needed)
        return "the file has " + std::to_string(bytes.size()) + " bytes but its " +
               std::to_string(count) + " types need " + std::to_string(needed) +
               "; the game reads the missing numbers as 0";
    if (count < 0)
        return "the type count " + std::to_string(count) + " is negative; the game reads no type";
    return "";
}

std::vector<uint8_t> CellListBytes(const std::vector<CellListType>& types)
{
    std::vector<uint8_t> bytes{uint8_t(types.size())};
    for (const CellListType& type : types) {
        bytes.push_back(uint8_t(type.spawnCount));
        bytes.push_back(uint8_t(type.spawnCount >> 8));
        bytes.push_back(uint8_t(type.frameCount));
    }
    return bytes;
}

std::string CellListText(const std::vector<CellListType>& types)
{
    std::string text = "# " + std::to_string(types.size()) +
                       " cell types, one a line: spawn count, frame count  # type\n";
    char line[64];
    for (size_t t = 1; t <= types.size(); ++t) {
        std::snprintf(line, sizeof line, "%d %d  # %03zu\n", types[t - 1].spawnCount,
                      types[t - 1].frameCount, t);
        text += line;
    }
    return text;
}

std::vector<std::string> ParseCellListText(const std::string& text,
                                           std::vector<CellListType>& types)
{
    types.clear();
    std::vector<std::string> problems;
    std::istringstream lines(text);
    std::string line;
    for (int32_t number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string spawn, frames, extra;
        if (!(words >> spawn))
            continue;
        CellListType type;
        std::string problem = !(words >> frames) || (words >> extra)
                                  ? "expected two numbers, spawn count and frame count"
                                  : CheckedType(spawn, frames, type);
        if (!problem.empty())
            problems.push_back("line " + std::to_string(number) + ": " + problem);
        types.push_back(type);
    }
    if (types.size() > size_t(MOST_TYPES))
        problems.push_back(TooManyTypes(types.size()));
    return problems;
}

std::string ParseCellListType(const std::string& text, CellListType& type)
{
    size_t colon = text.find(':');
    if (colon == std::string::npos)
        return "\"" + text + "\" is not SPAWN:FRAMES";
    return CheckedType(text.substr(0, colon), text.substr(colon + 1), type);
}

std::string ReadCellList(const std::string& path, std::vector<CellListType>& types)
{
    std::vector<uint8_t> bytes;
    std::string error = ReadFileBytes(path, bytes);
    if (!error.empty())
        return error;
    std::string problem = ParseCellList(bytes, types);
    return problem.empty() ? "" : path + ": " + problem;
}

namespace {
int RunTypes(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {});
    if (parsed.error.empty() && parsed.positional.size() != 1)
        parsed.error = "expected one list file";
    if (!parsed.error.empty())
        return UsageError(TypesCommand, parsed.error);
    const std::string& path = parsed.positional[0];
    std::vector<uint8_t> bytes;
    std::string error = ReadFileBytes(path, bytes);
    if (!error.empty())
        return Failure(error);
    std::vector<CellListType> types;
    std::string problem = ParseCellList(bytes, types);
    std::fputs(CellListText(types).c_str(), stdout);
    return problem.empty() ? EXIT_STATUS_SUCCESS : Failure(path + ": " + problem);
}

// The types of a text file ("-" for standard input); every problem, each naming the file.
std::vector<std::string> ReadTypesText(const std::string& source, std::vector<CellListType>& types)
{
    std::vector<uint8_t> bytes;
    std::string error = ReadFileBytes(source == "-" ? "/dev/stdin" : source, bytes);
    if (!error.empty())
        return {error};
    std::vector<std::string> problems =
        ParseCellListText(std::string(bytes.begin(), bytes.end()), types);
    for (std::string& problem : problems)
        problem = (source == "-" ? "standard input" : source) + ": " + problem;
    return problems;
}

int RunWriteTypes(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {"--from"});
    bool fromText = parsed.options.count("--from") > 0;
    if (parsed.error.empty() && parsed.positional.empty())
        parsed.error = "expected the list file to write";
    if (parsed.error.empty() && fromText && parsed.positional.size() > 1)
        parsed.error = "give the types either with --from or as arguments, not both";
    std::vector<CellListType> types;
    for (size_t i = 1; i < parsed.positional.size() && parsed.error.empty(); ++i) {
        types.emplace_back();
        parsed.error = ParseCellListType(parsed.positional[i], types.back());
    }
    if (parsed.error.empty() && types.size() > size_t(MOST_TYPES))
        parsed.error = TooManyTypes(types.size());
    if (!parsed.error.empty())
        return UsageError(WriteTypesCommand, parsed.error);
    if (fromText) {
        std::vector<std::string> problems = ReadTypesText(parsed.options["--from"], types);
        for (const std::string& problem : problems)
            Failure(problem);
        if (!problems.empty())
            return EXIT_STATUS_FAILURE;
    }
    std::string error = WriteFileBytes(parsed.positional[0], CellListBytes(types));
    return error.empty() ? EXIT_STATUS_SUCCESS : Failure(error);
}
int RunAddType(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {});
    if (parsed.error.empty() && parsed.positional.size() < 2)
        parsed.error = "expected the list file and at least one SPAWN:FRAMES";
    std::vector<CellListType> added;
    for (size_t i = 1; i < parsed.positional.size() && parsed.error.empty(); ++i) {
        added.emplace_back();
        parsed.error = ParseCellListType(parsed.positional[i], added.back());
    }
    if (!parsed.error.empty())
        return UsageError(AddTypeCommand, parsed.error);
    const std::string& path = parsed.positional[0];
    std::vector<CellListType> types;
    std::string error = ReadCellList(path, types);
    if (!error.empty())
        return Failure(error + "; nothing added");
    if (types.size() + added.size() > size_t(MOST_TYPES))
        return Failure(path + ": " + TooManyTypes(types.size() + added.size()) + "; nothing added");
    types.insert(types.end(), added.begin(), added.end());
    error = WriteFileBytes(path, CellListBytes(types));
    if (!error.empty())
        return Failure(error);
    for (size_t t = types.size() - added.size() + 1; t <= types.size(); ++t)
        std::printf("%s: type %zu added (%s, %s): its pack is %03zu.cell\n", path.c_str(), t,
                    Counted(size_t(types[t - 1].spawnCount), "cell").c_str(),
                    Counted(size_t(types[t - 1].frameCount), "frame").c_str(), t);
    return EXIT_STATUS_SUCCESS;
}
} // namespace

const Command AddTypeCommand = {
    "add-type", "append cell types to the cell type list cell.ini",
    "usage: cellpack add-type CELL_INI SPAWN:FRAMES ...\n"
    "Appends one type per SPAWN:FRAMES to the binary cell type list (cell\\cell.ini): SPAWN\n"
    "cells of the type at start (0 to 32767), FRAMES frame images in its pack (0 to 127).\n"
    "Types are numbered by their place in the list, so the first type added to a list of 32\n"
    "is type 33, and the game loads its pack from 033.cell beside the list; each type added\n"
    "is printed with its number. A list file that is incomplete, or would hold more than 127\n"
    "types, is left as it is (exit status 1).\n",
    RunAddType};

const Command TypesCommand = {
    "types", "print the cell type list cell.ini as text",
    "usage: cellpack types CELL_INI\n"
    "Prints the binary cell type list (cell\\cell.ini) as text: a comment line, then one line\n"
    "per type with its spawn count (cells made at start) and its frame count, the form that\n"
    "'cellpack write-types --from' reads. A list shorter than its count says is printed as the\n"
    "game reads it (missing numbers as 0) and reported, with exit status 1.\n",
    RunTypes};

const Command WriteTypesCommand = {
    "write-types", "write the cell type list cell.ini",
    "usage: cellpack write-types CELL_INI [SPAWN:FRAMES ...]\n"
    "       cellpack write-types CELL_INI --from TEXT\n"
    "Writes the binary cell type list: type 1 is the first SPAWN:FRAMES (or the first line of\n"
    "TEXT, '-' for standard input), type 2 the next, and so on. TEXT holds one type a line,\n"
    "\"SPAWN FRAMES\"; '#' starts a comment; every line that is not is reported and nothing\n"
    "is written. A list holds at most 127 types; SPAWN is 0 to 32767 cells made at start,\n"
    "FRAMES 0 to 127 frame images in the type's pack.\n",
    RunWriteTypes};
