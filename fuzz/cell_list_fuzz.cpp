// The cell type list: any bytes as cell\cell.ini give the type count of their first byte and,
// per type, the counts its three bytes say (0 for bytes past the end); the tables are sized
// for them, and loading the types with no pack present stops at the first type's pack.
#include "fuzz/fuzz_folder.h"
#include "game/data/data.h"
#include "game/data/globals.h"

#include <algorithm>
#include <cstdlib>

namespace {
int32_t ByteAt(const uint8_t* data, size_t size, size_t at)
{
    return at < size ? data[at] : 0;
}

void CheckCounts(const uint8_t* data, size_t size)
{
    int32_t count = int8_t(ByteAt(data, size, 0));
    if (CellTypeCount != count || CellTypes.size() != size_t(std::max(count, 0)) + 1)
        std::abort();
    for (int32_t t = 1; t <= count; ++t) {
        size_t at = 1 + 3 * size_t(t - 1);
        int16_t spawn = int16_t(ByteAt(data, size, at) | ByteAt(data, size, at + 1) << 8);
        int8_t frames = int8_t(ByteAt(data, size, at + 2));
        if (CellTypes[size_t(t)].SpawnCount != spawn || CellTypes[size_t(t)].FrameCount != frames)
            std::abort();
    }
}

// The frame table holds every type's frames once the loading has begun.
void CheckFrameTable()
{
    int32_t frames = 0;
    for (int32_t t = 1; t <= CellTypeCount; ++t)
        frames = std::max<int32_t>(frames, CellTypes[size_t(t)].FrameCount);
    size_t rows = size_t(std::max(CellTypeCount, 0)) + 1;
    if (MaxFrameIndex + 1 < frames || CellSprites.size() != rows * size_t(MaxFrameIndex + 1))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InFuzzFolder folder;
    WriteFuzzFile("cell/cell.ini", data, size);
    ClearGlobals();
    InitGlobals();
    if (!OpenCellTypeList())
        std::abort();
    SizeTables();
    ReadCellTypeCounts();
    CheckCounts(data, size);
    std::string error = LoadCellTypes();
    if (error != (CellTypeCount > 0 ? "Loading-Error! -> 001.cell" : ""))
        std::abort();
    CheckFrameTable();
    if (ReadByteFromFile(0) != 0 || CellIdCounter != 0)
        std::abort();
    ClearGlobals();
    return 0;
}
