// makedata: draws the sample world's images from the recipes in data/ and lays out the game's
// working directory: gfx/ with the player and the bubbles, cell/ with the cell type list, and
// per cell type its definition text and frame images, ready to be packed.
#include "tools/makedata/bubbles.h"
#include "tools/makedata/cell_types.h"
#include "tools/makedata/contact_sheet.h"
#include "tools/makedata/icon.h"
#include "tools/makedata/icon_file.h"
#include "tools/makedata/image_file.h"
#include "tools/makedata/organism.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
struct Options {
    std::string data, out, stage, sheet;
};

const char* const USAGE =
    "usage: makedata DATA_DIR OUT_DIR STAGE_DIR [--sheet FILE]\n"
    "Draws the sample world described in DATA_DIR (cells/NNN.ini and cells/NNN.recipe,\n"
    "player.recipe, bubbles.recipe) into the game's working directory OUT_DIR:\n"
    "gfx/test.png, gfx/Blase1.png .. gfx/Blase20.png and cell/cell.ini. Each cell type's\n"
    "definition and frames go to STAGE_DIR/NNN/ (definition.ini, frame001.png, ...) for\n"
    "packing. --sheet also writes a preview of every image over the water colour.\n"
    "\n"
    "usage: makedata --icons DATA_DIR OUT_DIR\n"
    "Draws only the game's icon from a cell type of DATA_DIR: OUT_DIR/vellomira-256.png,\n"
    "-48.png, -32.png and -16.png, OUT_DIR/vellomira.ico (all four, for Windows) and\n"
    "OUT_DIR/window_icon.inc (the 48-pixel icon as source text).\n";

int Fail(const std::string& message)
{
    std::fprintf(stderr, "makedata: %s\n", message.c_str());
    return 1;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    std::vector<std::string> places;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sheet") == 0 && i + 1 < argc)
            options.sheet = argv[++i];
        else if (argv[i][0] == '-')
            return false;
        else
            places.push_back(argv[i]);
    }
    if (places.size() != 3)
        return false;
    options.data = places[0], options.out = places[1], options.stage = places[2];
    return true;
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

std::string Save(const std::string& path, const RgbImage& image)
{
    return SaveImage(path, image) ? "" : path + ": cannot write the image";
}

std::string MakeGraphics(const Options& options, std::vector<std::vector<RgbImage>>& sheet)
{
    BubbleRecipe bubbles;
    std::string problem = ReadBubbleRecipe(options.data + "/bubbles.recipe", bubbles);
    if (!problem.empty())
        return options.data + "/bubbles.recipe: " + problem;
    Recipe player;
    problem = ReadRecipe(options.data + "/player.recipe", player);
    if (!problem.empty())
        return options.data + "/player.recipe: " + problem;
    RgbImage playerImage = DrawOrganism(player, 0, nullptr, 0);
    problem = Save(options.out + "/gfx/test.png", playerImage);
    sheet.push_back({playerImage});
    sheet.emplace_back();
    for (int32_t n = 1; n <= 20 && problem.empty(); ++n) {
        RgbImage image = DrawBubble(bubbles, n);
        problem = Save(options.out + "/gfx/Blase" + std::to_string(n) + ".png", image);
        sheet.back().push_back(image);
    }
    return problem;
}

std::string StageCellType(const Options& options, const CellTypeSource& type,
                          std::vector<RgbImage>& frames)
{
    std::string folder = options.stage + "/" + ThreeDigits(type.number);
    std::filesystem::create_directories(folder);
    std::error_code error;
    std::filesystem::copy_file(type.definitionPath, folder + "/definition.ini",
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        return folder + "/definition.ini: " + error.message();
    for (int32_t k = 0; k < type.recipe.frames; ++k) {
        EyeSocket sockets[2];
        int32_t count = EyeSocketsOf(type.number, k, type.sizeMin, type.sizeMax, sockets);
        RgbImage image = DrawOrganism(type.recipe, k, sockets, count);
        std::string problem = Save(folder + "/frame" + ThreeDigits(k + 1) + ".png", image);
        if (!problem.empty())
            return problem;
        frames.push_back(image);
    }
    return "";
}

std::string MakeWorld(const Options& options)
{
    std::vector<CellTypeSource> types;
    std::string problem = FindCellTypes(options.data, types);
    if (!problem.empty())
        return problem;
    std::filesystem::create_directories(options.out + "/gfx");
    std::filesystem::create_directories(options.out + "/cell");
    std::vector<std::vector<RgbImage>> sheet;
    problem = MakeGraphics(options, sheet);
    for (size_t i = 0; i < types.size() && problem.empty(); ++i) {
        sheet.emplace_back();
        problem = StageCellType(options, types[i], sheet.back());
    }
    if (problem.empty() && !WriteBytes(options.out + "/cell/cell.ini", CellTypeList(types)))
        problem = options.out + "/cell/cell.ini: cannot write the file";
    if (problem.empty() && !options.sheet.empty())
        problem = Save(options.sheet, ContactSheet(sheet));
    return problem;
}
bool WriteText(const std::string& path, const std::string& text)
{
    return WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string MakeIcons(const std::string& data, const std::string& out)
{
    std::vector<CellTypeSource> types;
    std::string problem = FindCellTypes(data, types);
    if (!problem.empty())
        return problem;
    const CellTypeSource* type = IconCellType(types);
    if (!type)
        return data + ": no cell type to draw the icon from";
    std::filesystem::create_directories(out);
    std::vector<IconImage> images;
    for (int32_t size : {256, 48, 32, 16}) {
        RgbImage icon = DrawIcon(*type, size);
        std::string path = out + "/vellomira-" + std::to_string(size) + ".png";
        problem = Save(path, icon);
        if (problem.empty() && size == 48 && !WriteText(out + "/window_icon.inc", IconSource(icon)))
            problem = out + "/window_icon.inc: cannot write the file";
        if (!problem.empty())
            return problem;
        images.push_back({size, ReadBytes(path)});
    }
    if (!WriteBytes(out + "/vellomira.ico", IconFile(images)))
        return out + "/vellomira.ico: cannot write the file";
    return "";
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "--icons") == 0) {
        std::string problem = MakeIcons(argv[2], argv[3]);
        return problem.empty() ? 0 : Fail(problem);
    }
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    std::string problem = MakeWorld(options);
    return problem.empty() ? 0 : Fail(problem);
}
