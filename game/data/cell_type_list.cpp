// The binary list of cell types, cell\cell.ini: the type count, then per type its spawn count
// and frame count; and the three-digit numbers that name the types' packs and their errors.
#include "game/data/data.h"
#include "game/data/globals.h"

namespace {
constexpr int32_t LIST_FILE = 0;
}

bool OpenCellTypeList()
{
    if (!OpenFileForReading(LIST_FILE, CELL_LIST_NAME))
        return false;
    // A list too short for its counts reads the missing bytes as 0.
    CellTypeCount = ReadByteFromFile(LIST_FILE);
    return true;
}

void ReadCellTypeCounts()
{
    for (int32_t t = 1; t <= CellTypeCount; ++t) {
        CellTypes[t].SpawnCount = int16_t(ReadWordFromFile(LIST_FILE));
        CellTypes[t].FrameCount = int8_t(ReadByteFromFile(LIST_FILE));
    }
    CloseFileNumbered(LIST_FILE);
}

std::string ThreeDigitNumber(int32_t n)
{
    if (n < 10)
        return "00" + IntegerToText(n);
    if (n < 100)
        return "0" + IntegerToText(n);
    return IntegerToText(n);
}
