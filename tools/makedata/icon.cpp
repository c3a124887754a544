// The icon: the cell's first frame painted at the icon's own size (the recipe is drawn in body
// units, so it stays sharp at any size), its eyes given pupils, over a soft light on the water.
#include "tools/makedata/icon.h"

#include "tools/makedata/eye_sockets.h"
#include "tools/makedata/organism.h"
#include "tools/makedata/shapes.h"
#include "tools/makedata/steady_math.h"

#include <cmath>
#include <cstdio>

namespace {
// Two eyes make the cell read as a creature even at 48 pixels.
constexpr int32_t ICON_TYPE = 13;
constexpr Rgb LIGHT = {22, 58, 78};
constexpr Rgb PUPIL = {8, 12, 20};
// The cell's share of the icon's edge: its cilia and eyes keep clear of the border.
constexpr double CELL_SHARE = 0.84;

// The light around the player in the game, as a glow toward the middle of the tile.
Rgb Background(int32_t x, int32_t y, int32_t size)
{
    double u = (x + 0.5) / size * 2 - 1, v = (y + 0.5) / size * 2 - 1;
    double t = SmoothStep(0.1, 1.3, std::sqrt(u * u + v * v));
    return {Mix(LIGHT.r, WATER.r, t), Mix(LIGHT.g, WATER.g, t), Mix(LIGHT.b, WATER.b, t)};
}
} // namespace

const CellTypeSource* IconCellType(const std::vector<CellTypeSource>& types)
{
    for (const CellTypeSource& type : types)
        if (type.number == ICON_TYPE)
            return &type;
    return types.empty() ? nullptr : &types.front();
}

RgbImage DrawIcon(const CellTypeSource& type, int32_t size)
{
    Recipe recipe = type.recipe;
    recipe.image = static_cast<int32_t>(std::lround(size * CELL_SHARE));
    int32_t margin = (size - recipe.image) / 2;
    EyeSocket sockets[2];
    int32_t count = EyeSocketsOf(type.number, 0, type.sizeMin, type.sizeMax, sockets);
    Canvas canvas = PaintOrganism(recipe, 0, sockets, count);
    for (int32_t i = 0; i < count; ++i)
        PaintDisc(canvas, {sockets[i].u, sockets[i].v}, sockets[i].radius * 0.45, PUPIL, 1);

    RgbImage image;
    image.width = image.height = size;
    image.rgb.resize(static_cast<size_t>(size) * size * 3);
    for (int32_t y = 0; y < size; ++y) {
        for (int32_t x = 0; x < size; ++x) {
            size_t i = static_cast<size_t>(y) * size + x;
            int32_t cx = x - margin, cy = y - margin;
            bool inside = cx >= 0 && cy >= 0 && cx < canvas.width && cy < canvas.height;
            static const double bare[4] = {0, 0, 0, 0};
            const double* p =
                inside ? &canvas.pixels[(static_cast<size_t>(cy) * canvas.width + cx) * 4] : bare;
            Rgb ground = Background(x, y, size);
            image.rgb[i * 3] = ToByte(ground.r * (1 - p[3]) + p[0]);
            image.rgb[i * 3 + 1] = ToByte(ground.g * (1 - p[3]) + p[1]);
            image.rgb[i * 3 + 2] = ToByte(ground.b * (1 - p[3]) + p[2]);
        }
    }
    return image;
}

std::string IconSource(const RgbImage& image)
{
    std::string text = std::to_string(image.width) + ", " + std::to_string(image.height) + ",";
    size_t pixels = static_cast<size_t>(image.width) * image.height;
    for (size_t i = 0; i < pixels; ++i) {
        char word[16];
        std::snprintf(word, sizeof word, "0xFF%02X%02X%02X,", image.rgb[i * 3],
                      image.rgb[i * 3 + 1], image.rgb[i * 3 + 2]);
        text += (i % 8 == 0 ? "\n" : " ") + std::string(word);
    }
    return text + "\n";
}
