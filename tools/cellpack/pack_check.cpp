// Checking packs as the game loads them, and the command that reports every problem found.
#include "tools/cellpack/pack_check.h"

#include "tools/cellpack/definition_check.h"
#include "tools/cellpack/frame_check.h"
#include "tools/cellpack/pack_reading.h"

#include "game/data/data.h"
#include "game/data/globals.h"
#include "runtime/platform/utf8_path.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace {
std::string EntryName(size_t index)
{
    std::string entry = "entry " + std::to_string(index + 1);
    return index == 0 ? entry + " (definition)" : entry + " (frame " + std::to_string(index) + ")";
}

void ReportDefinition(const std::vector<uint8_t>& data, PackCheck& check)
{
    for (const DefinitionProblem& problem : CheckDefinitionEntry(data)) {
        std::string where = EntryName(0) + ProblemPlace(problem) + ": ";
        if (problem.warning)
            check.warnings.push_back(where + "warning: " + problem.what);
        else
            check.problems.push_back(where + problem.what);
    }
}

void ReportFrame(size_t index, const FrameFindings& findings, PackCheck& check)
{
    if (!findings.error.empty())
        check.problems.push_back(EntryName(index) + ": " + findings.error);
    for (const std::string& warning : findings.warnings)
        check.warnings.push_back(EntryName(index) + ": warning: " + warning);
}

void CheckFrameCount(const CellListType* listed, int32_t type, PackCheck& check)
{
    std::string frames = std::to_string(check.frames);
    int32_t loaded = check.frames;
    if (listed) {
        loaded = listed->frameCount;
        std::string gives = "cell.ini gives type " + std::to_string(type) + " a frame count of " +
                            std::to_string(loaded);
        if (check.frames < loaded)
            check.problems.push_back("frames: " + gives + " but the pack holds only " + frames +
                                     "; the game stops at frame " +
                                     std::to_string(check.frames + 1));
        else if (check.frames > loaded)
            check.problems.push_back("frames: the pack holds " + frames + " frames but " + gives +
                                     "; the game never loads the others");
    }
    if (loaded > FRAME_TABLE_SIZE)
        check.problems.push_back("frames: " + std::to_string(loaded) +
                                 " frames are more than the " + std::to_string(FRAME_TABLE_SIZE) +
                                 " of the game's frame table (the game enlarges its table to fit)");
    if (loaded <= 0)
        check.problems.push_back("frames: the type has no frame, so its cells are invisible");
}
} // namespace

std::string CheckPack(const std::string& path, const CellListType* listed, int32_t type,
                      PackCheck& check)
{
    check = {};
    ReadPackFile pack;
    std::string error = ReadPack(path, pack);
    if (!error.empty())
        return error;
    if (pack.entries.empty() && pack.cut.empty())
        check.problems.push_back("the pack holds no entry; the game reads the default definition");
    std::vector<const std::vector<uint8_t>*> frames;
    for (size_t i = 1; i < pack.entries.size(); ++i)
        if (pack.entries[i].broken.empty())
            frames.push_back(&pack.entries[i].data);
    std::vector<FrameFindings> findings = CheckFrames(frames);
    for (size_t i = 0, k = 0; i < pack.entries.size(); ++i) {
        const ReadEntry& entry = pack.entries[i];
        if (!entry.broken.empty())
            check.problems.push_back(EntryName(i) + ": " + entry.broken);
        else if (i == 0)
            ReportDefinition(entry.data, check);
        else
            ReportFrame(i, findings[k++], check);
    }
    if (!pack.cut.empty())
        check.problems.push_back(EntryName(pack.entries.size()) + ": " + pack.cut);
    check.frames = pack.entries.empty() ? 0 : int32_t(pack.entries.size() - 1);
    CheckFrameCount(listed, type, check);
    return "";
}

int32_t TypeFromName(const std::string& path)
{
    long number = 0;
    std::string stem = Utf8Name(Utf8Path(path).stem());
    return ParseWholeNumber(stem, 1, MOST_TYPES, number) && stem[0] != '+' ? int32_t(number) : 0;
}

std::string ParseTypeOption(const std::string& text, int32_t& type)
{
    long number = 0;
    if (!ParseWholeNumber(text, 1, MOST_TYPES, number))
        return "--type must be a type number from 1 to 127";
    type = int32_t(number);
    return "";
}

namespace {
struct CheckOptions {
    std::vector<CellListType> types;
    bool withList = false;
    int32_t type = 0; // from --type, else 0 to take it from each pack's name
};

std::string ParseCheckOptions(ParsedArguments& parsed, CheckOptions& options)
{
    if (!parsed.error.empty())
        return parsed.error;
    options.withList = parsed.options.count("--list") > 0;
    if (parsed.positional.empty() && !options.withList)
        return "expected at least one pack";
    if (parsed.options.count("--type") == 0)
        return "";
    if (!options.withList)
        return "--type needs --list";
    if (parsed.positional.size() > 1)
        return "--type goes with one pack";
    return ParseTypeOption(parsed.options["--type"], options.type);
}

// Checks one pack and prints its problems; the number of problems (1 when unreadable).
int32_t ReportPack(const std::string& path, const CheckOptions& options)
{
    int32_t type = options.type ? options.type : TypeFromName(path);
    std::string error;
    if (options.withList && type == 0)
        error = path + ": cannot tell its type number from its name; give --type";
    else if (options.withList && size_t(type) > options.types.size())
        error = path + ": the list holds " + std::to_string(options.types.size()) +
                " types, not type " + std::to_string(type);
    const CellListType* listed =
        options.withList && error.empty() ? &options.types[size_t(type - 1)] : nullptr;
    PackCheck check;
    if (error.empty())
        error = CheckPack(path, listed, type, check);
    if (!error.empty()) {
        Failure(error);
        return 1;
    }
    for (const std::string& problem : check.problems)
        std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
    for (const std::string& warning : check.warnings)
        std::fprintf(stderr, "%s: %s\n", path.c_str(), warning.c_str());
    size_t warnings = check.warnings.size();
    std::string counted = warnings == 0 ? "" : ", " + Counted(warnings, "warning");
    if (check.problems.empty())
        std::printf("%s: ok, definition and %s%s\n", path.c_str(),
                    Counted(size_t(check.frames), "frame").c_str(), counted.c_str());
    return int32_t(check.problems.size());
}

// The pack the game opens for type t, beside the list.
std::filesystem::path PackOfType(const std::string& list, int32_t t)
{
    return Utf8Path(list).parent_path() / (ThreeDigitNumber(t) + ".cell");
}

// Listed types without a pack stop the game; packs the list does not name are never loaded.
// The number of problems (the missing packs).
int32_t ReportListCoverage(const std::string& list, const std::vector<CellListType>& types)
{
    int32_t problems = 0;
    std::error_code error;
    for (int32_t t = 1; t <= int32_t(types.size()); ++t)
        if (!std::filesystem::exists(PackOfType(list, t), error)) {
            Failure(list + ": type " + std::to_string(t) + " is listed but its pack " +
                    Utf8Name(PackOfType(list, t)) +
                    " is missing; the game stops with "
                    "Loading-Error! -> " +
                    ThreeDigitNumber(t) + ".cell");
            ++problems;
        }
    std::vector<std::string> unlisted;
    std::filesystem::path folder = Utf8Path(list).parent_path();
    for (const auto& entry :
         std::filesystem::directory_iterator(folder.empty() ? "." : folder, error)) {
        std::string name = Lowered(Utf8Name(entry.path().filename()));
        if (Lowered(Utf8Name(entry.path().extension())) != ".cell")
            continue;
        int32_t t = TypeFromName(name);
        if (t == 0 || t > int32_t(types.size()) || name != ThreeDigitNumber(t) + ".cell")
            unlisted.push_back(Utf8Name(folder / entry.path().filename()));
    }
    std::sort(unlisted.begin(), unlisted.end());
    for (const std::string& pack : unlisted)
        Failure(pack + ": warning: not a pack of the list " + list + ", which names " +
                std::to_string(types.size()) +
                " types (001.cell on), so the game never loads "
                "it; 'cellpack add-type' lists a type");
    return problems;
}

int RunCheck(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {"--list", "--type"});
    CheckOptions options;
    std::string usage = ParseCheckOptions(parsed, options);
    if (!usage.empty())
        return UsageError(CheckCommand, usage);
    int32_t problems = 0;
    if (options.withList) {
        std::string error = ReadCellList(parsed.options["--list"], options.types);
        if (!error.empty()) {
            Failure(error);
            ++problems;
        }
    }
    std::vector<std::string> packs = parsed.positional;
    if (options.withList) {
        const std::string& list = parsed.options["--list"];
        problems += ReportListCoverage(list, options.types);
        for (int32_t t = 1; parsed.positional.empty() && t <= int32_t(options.types.size()); ++t)
            if (std::filesystem::exists(PackOfType(list, t)))
                packs.push_back(Utf8Name(PackOfType(list, t)));
    }
    for (const std::string& path : packs)
        problems += ReportPack(path, options);
    return problems == 0 ? EXIT_STATUS_SUCCESS : EXIT_STATUS_FAILURE;
}
} // namespace

const Command CheckCommand = {
    "check", "check packs as the game loads them",
    "usage: cellpack check [--list CELL_INI [--type N]] PACK ...\n"
    "       cellpack check --list CELL_INI\n"
    "Loads each pack as the game does and reports every problem, with the file, the entry and\n"
    "the key: an entry that is cut short or fails its check value; in the definition text an\n"
    "unknown key, a key after the first group line (the game never sees it), a repeated key, a\n"
    "range that is not first|second or is reversed, an integer that is no number, a value the\n"
    "game cuts to fewer bits or that breaks the type; a frame that no registered image decoder\n"
    "(PNG, JPEG) reads, above their size limits, or a CMYK JPEG; more frames than the game's\n"
    "frame table holds. Values the game plays as other values, and frames the game loads but\n"
    "draws otherwise than an image editor shows them, get warnings (see 'cellpack build\n"
    "--help').\n"
    "With --list, the pack's frames are checked against the frame count the cell type list\n"
    "gives its type: type N with --type, else the number of the pack's name (007.cell); a\n"
    "listed type whose pack is missing beside the list is a problem, a pack beside it that\n"
    "the list does not name a warning. Without PACK, every pack of the list is checked.\n"
    "Prints 'PACK: ok' for a pack without problems; exit status 0 only when no pack has one.\n",
    RunCheck};
