// Building a pack from a definition text and frame images.
#include "tools/cellpack/pack_building.h"

#include "runtime/core/block_encoder.h"
#include "tools/cellpack/file_bytes.h"

std::string BuildPack(const std::vector<std::string>& files, std::vector<uint8_t>& pack)
{
    pack.clear();
    std::vector<uint8_t> bytes;
    for (const std::string& file : files) {
        std::string error = ReadFileBytes(file, bytes);
        if (!error.empty()) return error;
        if (!AppendPackEntry(pack, bytes.data(), bytes.size()))
            return file + ": too large for a pack entry";
    }
    return "";
}

namespace
{
int RunBuild(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {});
    if (parsed.error.empty() && parsed.positional.size() < 2)
        parsed.error = "expected the pack to write and its definition text";
    if (!parsed.error.empty()) return UsageError(BuildCommand, parsed.error);
    std::vector<uint8_t> pack;
    std::string error = BuildPack({parsed.positional.begin() + 1, parsed.positional.end()}, pack);
    if (error.empty()) error = WriteFileBytes(parsed.positional[0], pack);
    return error.empty() ? ExitSuccess : Failure(error);
}
} // namespace

const Command BuildCommand = {
    "build", "build a pack from a definition text and frame images",
    "usage: cellpack build PACK DEFINITION [FRAME ...]\n"
    "Writes the cell type pack PACK (for example cell/001.cell): the definition text\n"
    "DEFINITION as its first entry, then the frame images (PNG or JPEG files) in the order\n"
    "given. Each entry is stored compressed when that makes it smaller, else raw. The pack is\n"
    "replaced only once it is complete. 'cellpack check' tells whether the game can load it.\n",
    RunBuild};
