// Cell type loading: a pack cell\001.cell of any content loads into the type's record, its
// cells and its frames, or stops with one of the type's Loading-Error lines; every cell made
// holds finite values within the world, and no scratch file is left behind.
//
// Input: byte 0 is the type's frame count and byte 1 its spawn count, as signed bytes; byte 2
// chooses how the rest becomes the pack. Odd: the rest is the pack file as it is, which reaches
// broken, cut and compressed entries. Even: the rest is split at "--frame--" into entries that
// are stored as they are, so that the definition text and the images stay open to the fuzzer's
// mutations instead of hiding inside compressed blocks. (Packing them with the project's writer
// made every run some twenty times slower and drew the fuzzer into the compressor, which has a
// target of its own.)
#include "fuzz/fuzz_folder.h"
#include "game/data/data.h"
#include "game/data/globals.h"
#include "runtime/core/block_encoder.h"
#include "tools/soak/soak_world.h"

#include <cstdlib>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::string_view SEPARATOR = "--frame--";

std::vector<uint8_t> PackOf(std::string_view rest, bool raw)
{
    if (raw)
        return {rest.begin(), rest.end()};
    std::vector<uint8_t> pack;
    for (size_t start = 0;;) {
        size_t end = rest.find(SEPARATOR, start);
        std::string_view entry = rest.substr(start, end - start);
        AppendStoredPackEntry(pack, reinterpret_cast<const uint8_t*>(entry.data()), entry.size());
        if (end == std::string_view::npos)
            return pack;
        start = end + SEPARATOR.size();
    }
}

void CheckCells(int32_t spawnCount, int32_t frameCount)
{
    int32_t n = 0;
    ResetList(CellList);
    while (const Cell* cell = NextElementOf<Cell>(CellList)) {
        if (cell->type != 1 || cell->id != n++ || cell->x < 0 || cell->x > WorldWidth ||
            cell->y < 0 || cell->y > WorldHeight || cell->angle < 0 || cell->angle > 360 ||
            cell->frame < 0 || cell->frame > std::max(frameCount, 0))
            std::abort();
    }
    if (n != std::max(spawnCount, 0) || CellIdCounter != n || !FirstNonFiniteValue().empty())
        std::abort();
}

bool IsLoadingError(const std::string& error, int32_t frameCount)
{
    if (error == "Loading-Error! -> 001.cell.ini")
        return true;
    for (int32_t k = 1; k <= frameCount; ++k)
        if (error == "Loading-Error! -> 001.cell." + ThreeDigitNumber(k) + ".png")
            return true;
    return false;
}

bool RegisterDecoders()
{
    RegisterPngDecoder();
    RegisterJpegDecoder();
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = RegisterDecoders();
    (void)registered;
    if (size < 3)
        return 0;
    InFuzzFolder folder;
    int8_t frameCount = int8_t(data[0]);
    int8_t spawnCount = int8_t(data[1]);
    std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
    std::vector<uint8_t> pack = PackOf(rest, data[2] & 1);
    WriteFuzzFile("cell/001.cell", pack.data(), pack.size());

    // The frames become sprites of the screen, so every run has a screen of its own.
    if (!InitSprite() || !OpenScreen(64, 48, 32, "fuzz"))
        std::abort();
    ClearGlobals();
    InitGlobals();
    RandomSeed(1);
    CellTypeCount = 1;
    SizeTables();
    CellTypes[1].SpawnCount = spawnCount;
    CellTypes[1].FrameCount = frameCount;
    std::string error = LoadCellTypes();
    if (!error.empty() && !IsLoadingError(error, frameCount))
        std::abort();
    if (error.empty() && frameCount > 0 && CellTypes[1].Width <= 0)
        std::abort();
    // The cells come before the frames: only a definition that cannot be read leaves none.
    bool definitionRead = error != "Loading-Error! -> 001.cell.ini";
    CheckCells(definitionRead ? spawnCount : 0, frameCount);
    if (access("buff.buff", F_OK) == 0)
        std::abort();

    ClosePack();
    EndSprite();
    ClearGlobals();
    return 0;
}
