// Finding the cell types of data/ and the list file that names them.
#include "tools/makedata/cell_types.h"

#include "tools/makedata/key_file.h"

#include <filesystem>

std::string ThreeDigits(int32_t n)
{
    std::string text = std::to_string(n);
    while (text.size() < 3)
        text = "0" + text;
    return text;
}

namespace {
// What the images depend on in the definition: the size range (for the eye sockets) and
// whether the frames loop or run back and forth.
std::string ReadDefinition(CellTypeSource& type)
{
    if (!OpenKeyFile(type.definitionPath))
        return type.definitionPath + ": cannot read the file";
    type.sizeMin = 64, type.sizeMax = 64;
    ReadRange("size", type.sizeMin, type.sizeMax);
    int32_t aniType = 0;
    ReadWhole("AniType", aniType);
    CloseKeyFile();
    type.recipe.cycle = static_cast<int8_t>(aniType) != 0;
    if (type.sizeMin < 1 || type.sizeMax < type.sizeMin)
        return type.definitionPath + ": size: the range must be rising and above 0";
    return "";
}
} // namespace

std::string FindCellTypes(const std::string& dataDir, std::vector<CellTypeSource>& types)
{
    for (int32_t t = 1; t <= 127; ++t) {
        CellTypeSource type;
        type.number = t;
        type.definitionPath = dataDir + "/cells/" + ThreeDigits(t) + ".ini";
        type.recipePath = dataDir + "/cells/" + ThreeDigits(t) + ".recipe";
        if (!std::filesystem::exists(type.definitionPath))
            break;
        std::string problem = ReadDefinition(type);
        if (!problem.empty())
            return problem;
        problem = ReadRecipe(type.recipePath, type.recipe);
        if (!problem.empty())
            return type.recipePath + ": " + problem;
        types.push_back(type);
    }
    if (types.empty())
        return dataDir + "/cells: no cell type 001.ini";
    return "";
}

std::vector<uint8_t> CellTypeList(const std::vector<CellTypeSource>& types)
{
    std::vector<uint8_t> bytes;
    bytes.push_back(static_cast<uint8_t>(types.size()));
    for (const CellTypeSource& type : types) {
        uint16_t spawn = static_cast<uint16_t>(type.recipe.spawn);
        bytes.push_back(static_cast<uint8_t>(spawn & 0xFF));
        bytes.push_back(static_cast<uint8_t>(spawn >> 8));
        bytes.push_back(static_cast<uint8_t>(type.recipe.frames));
    }
    return bytes;
}
