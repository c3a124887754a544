// Building a pack from a definition text and frame images, checked first.
#include "tools/cellpack/pack_building.h"

#include "runtime/core/block_encoder.h"
#include "tools/cellpack/definition_check.h"
#include "tools/cellpack/file_bytes.h"
#include "tools/cellpack/frame_check.h"
#include "tools/cellpack/keying.h"

#include <cstdio>

std::string ReadPackSources(const std::vector<std::string>& files, int32_t keyAlpha,
                            PackSources& sources)
{
    sources = {};
    for (size_t i = 0; i < files.size(); ++i) {
        sources.files.push_back(files[i]);
        sources.entries.emplace_back();
        std::string error = ReadFileBytes(files[i], sources.entries.back());
        if (!error.empty())
            return error;
        if (i > 0 && keyAlpha > 0)
            KeyImage(sources.entries.back(), keyAlpha, error);
        if (!error.empty())
            return files[i] + ": " + error;
    }
    return "";
}

SourceReport CheckPackSources(const PackSources& sources)
{
    SourceReport report;
    if (sources.entries.empty())
        return report;
    for (const DefinitionProblem& problem : CheckDefinitionEntry(sources.entries[0])) {
        std::string where = sources.files[0] + ProblemPlace(problem) + ": ";
        if (problem.warning)
            report.warnings.push_back(where + "warning: " + problem.what);
        else
            report.errors.push_back(where + problem.what);
    }
    std::vector<const std::vector<uint8_t>*> frames;
    for (size_t k = 1; k < sources.entries.size(); ++k)
        frames.push_back(&sources.entries[k]);
    std::vector<FrameFindings> findings = CheckFrames(frames);
    for (size_t k = 1; k <= findings.size(); ++k) {
        std::string where = sources.files[k] + " (frame " + std::to_string(k) + "): ";
        const FrameFindings& frame = findings[k - 1];
        if (!frame.error.empty())
            report.errors.push_back(where + frame.error);
        for (const std::string& warning : frame.warnings)
            report.warnings.push_back(where + "warning: " + warning);
    }
    return report;
}

std::string PackEntries(const PackSources& sources, std::vector<uint8_t>& pack)
{
    pack.clear();
    for (size_t i = 0; i < sources.entries.size(); ++i)
        if (!AppendPackEntry(pack, sources.entries[i].data(), sources.entries[i].size()))
            return sources.files[i] + ": too large for a pack entry";
    return "";
}

namespace {
int RunBuild(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {"--key"}, {"--key", "--force"});
    int32_t keyAlpha = 0;
    if (parsed.error.empty() && parsed.positional.size() < 2)
        parsed.error = "expected the pack to write and its definition text";
    if (parsed.error.empty() && parsed.options.count("--key") &&
        !ParseKeyAlpha(parsed.options["--key"], keyAlpha))
        parsed.error = "--key=N takes a whole number from 1 to 256";
    if (!parsed.error.empty())
        return UsageError(BuildCommand, parsed.error);
    const std::string& path = parsed.positional[0];
    PackSources sources;
    Arguments files(parsed.positional.begin() + 1, parsed.positional.end());
    std::string error = ReadPackSources(files, keyAlpha, sources);
    if (!error.empty())
        return Failure(error);
    SourceReport report = CheckPackSources(sources);
    for (const std::string& line : report.errors)
        Failure(line);
    for (const std::string& line : report.warnings)
        Failure(line);
    std::string errors = Counted(report.errors.size(), "error");
    bool force = parsed.options.count("--force") > 0;
    if (!report.errors.empty() && !force)
        return Failure(path + " not written: " + errors + " (--force packs anyway)");
    std::vector<uint8_t> pack;
    error = PackEntries(sources, pack);
    if (error.empty())
        error = WriteFileBytes(path, pack);
    if (!error.empty())
        return Failure(error);
    if (!report.errors.empty())
        Failure(path + " written despite " + errors + " (--force)");
    return EXIT_STATUS_SUCCESS;
}
} // namespace

const Command BuildCommand = {
    "build", "build a pack from a definition text and frame images, checked first",
    "usage: cellpack build [--key[=N]] [--force] PACK DEFINITION [FRAME ...]\n"
    "Writes the cell type pack PACK (for example cell/001.cell): the definition text\n"
    "DEFINITION as its first entry, then the frame images (PNG or JPEG files) in the order\n"
    "given. Each entry is stored compressed when that makes it smaller, else raw. The pack is\n"
    "replaced only once it is complete.\n"
    "Before packing, the files are checked as the game will read them. Errors, which leave PACK\n"
    "unwritten with exit status 1: in the definition an unknown key, a key after the first\n"
    "group line, a repeated key, a range that is not first|second or is reversed, an integer\n"
    "that is no number, a value the game cuts to fewer bits or that breaks the type (an opacity\n"
    "outside 0 to 255, a size outside 1 to 32767, a negative acceleration); a frame that is no\n"
    "image the decoders read (a text file, a BMP, a broken file), larger than their limits\n"
    "(16384 pixels a side, 256 MiB), or a CMYK JPEG. Warnings: values the game plays as other\n"
    "values (Type 7 ignores the player as 0 does; 'cellpack template' states the values of\n"
    "every key), and frames the game loads but draws otherwise than an image editor shows them:\n"
    "transparent pixels of an alpha channel or of a PNG's transparent colours (tRNS) that are\n"
    "not the key colour FF00FF (the game ignores both), pixels close to FF00FF beside it (a\n"
    "magenta fringe), an edge of one colour without any key pixel (a square around the cell), a\n"
    "JPEG frame of a type that uses the key (lossy compression does not keep the key exact), a\n"
    "frame that is not square (the game draws it square, stretched). Every line names the file.\n"
    "  --key[=N]  key frames that have transparency first, as 'cellpack key' does:\n"
    "             alpha below N (default 128) becomes FF00FF, the rest opaque\n"
    "  --force    write the pack in spite of errors (they are still reported)\n",
    RunBuild};
