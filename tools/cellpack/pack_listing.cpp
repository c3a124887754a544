// Listing a pack's entries and extracting them to files.
#include "tools/cellpack/pack_listing.h"

#include "runtime/platform/utf8_path.h"
#include "tools/cellpack/file_bytes.h"
#include "tools/cellpack/frame_image.h"
#include "tools/cellpack/pack_reading.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>

namespace {
// Reads the pack named by the first of `places` positional arguments; false, with the exit
// status set, on a usage error or a pack that cannot be read.
bool ReadOnePack(const Command& command, const Arguments& arguments, size_t places,
                 ParsedArguments& parsed, ReadPackFile& pack, int& status)
{
    parsed = ParseArguments(arguments, {});
    if (parsed.error.empty() && parsed.positional.size() != places)
        parsed.error = places == 1 ? "expected one pack" : "expected a pack and a folder";
    if (!parsed.error.empty()) {
        status = UsageError(command, parsed.error);
        return false;
    }
    std::string error = ReadPack(parsed.positional[0], pack);
    if (!error.empty())
        status = Failure(error);
    return error.empty();
}

// Problems of a pack that list and extract report after their work: broken entries and a cut.
int ReportBroken(const std::string& path, const ReadPackFile& pack)
{
    int status = EXIT_STATUS_SUCCESS;
    for (size_t i = 0; i < pack.entries.size(); ++i)
        if (!pack.entries[i].broken.empty())
            status =
                Failure(path + ": entry " + std::to_string(i + 1) + ": " + pack.entries[i].broken);
    if (!pack.cut.empty())
        status =
            Failure(path + ": entry " + std::to_string(pack.entries.size() + 1) + ": " + pack.cut);
    return status;
}

int RunList(const Arguments& arguments)
{
    ParsedArguments parsed;
    ReadPackFile pack;
    int status = EXIT_STATUS_SUCCESS;
    if (!ReadOnePack(ListCommand, arguments, 1, parsed, pack, status))
        return status;
    std::printf("%5s %10s %10s  %-10s  %s\n", "entry", "unpacked", "stored", "how", "check");
    uint64_t unpacked = 0;
    for (size_t i = 0; i < pack.entries.size(); ++i) {
        const ReadEntry& entry = pack.entries[i];
        char check[16] = "-";
        if (IsCompressed(entry.header))
            std::snprintf(check, sizeof check, "0x%08x", entry.check);
        std::printf("%5zu %10u %10u  %-10s  %s\n", i + 1, entry.header.unpackedSize,
                    entry.header.storedSize, IsCompressed(entry.header) ? "compressed" : "stored",
                    check);
        unpacked += entry.header.unpackedSize;
    }
    std::printf("%zu entries, %" PRIu64 " bytes unpacked, %zu bytes in the file\n",
                pack.entries.size(), unpacked, pack.fileSize);
    return ReportBroken(parsed.positional[0], pack);
}

// definition.ini for the first entry, frameNNN with the extension its bytes show for the rest.
std::string EntryFileName(size_t index, const std::vector<uint8_t>& data)
{
    if (index == 0)
        return "definition.ini";
    char name[32];
    std::snprintf(name, sizeof name, "frame%03zu.", index);
    std::string kind = ImageKind(data);
    return name + (kind.empty() ? std::string("bin") : kind);
}

int RunExtract(const Arguments& arguments)
{
    ParsedArguments parsed;
    ReadPackFile pack;
    int status = EXIT_STATUS_SUCCESS;
    if (!ReadOnePack(ExtractCommand, arguments, 2, parsed, pack, status))
        return status;
    std::filesystem::path folder = Utf8Path(parsed.positional[1]);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return Failure(Utf8Name(folder) + ": cannot make the folder: " + error.message());
    for (size_t i = 0; i < pack.entries.size(); ++i) {
        if (!pack.entries[i].broken.empty())
            continue;
        std::string name = Utf8Name(folder / EntryFileName(i, pack.entries[i].data));
        std::string problem = WriteFileBytes(name, pack.entries[i].data);
        if (!problem.empty())
            status = Failure(problem);
        else
            std::printf("%s\n", name.c_str());
    }
    int broken = ReportBroken(parsed.positional[0], pack);
    return status != EXIT_STATUS_SUCCESS ? status : broken;
}
} // namespace

const Command ListCommand = {
    "list", "list a pack's entries",
    "usage: cellpack list PACK\n"
    "Prints one line per entry of the pack: its number (1 is the definition text, then the\n"
    "frames), its unpacked and stored sizes, whether it is stored raw or compressed, and the\n"
    "check value of a compressed entry; then the totals. Entries that are broken or cut short\n"
    "are reported on standard error, with exit status 1.\n",
    RunList};

const Command ExtractCommand = {
    "extract", "extract a pack's entries to files",
    "usage: cellpack extract PACK FOLDER\n"
    "Writes the entries of the pack into FOLDER (made when missing): definition.ini for the\n"
    "definition text, frame001.png, frame002.png ... for the frames, each with the extension\n"
    "its bytes show (png, jpg, bmp, else bin), and prints the name of every file written.\n"
    "'cellpack build PACK FOLDER/definition.ini FOLDER/frame*' makes the same entries again.\n"
    "Broken entries are skipped and reported, with exit status 1.\n",
    RunExtract};
