// Small game data made by the tests in the working directory: the cell type list, cell type
// packs of raw entries, the player's image and the bubble images, all as real files.
#pragma once
#include "runtime/core/block_encoder.h"
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A PNG of width x height whose pixel (x, y), counted from the top left, has the color
// (0xRRGGBB) that colorAt(x, y) gives; written through the game's own PNG encoder.
template <typename ColorAt>
std::string PngOf(int32_t width, int32_t height, ColorAt colorAt)
{
    RegisterPngEncoder();
    int32_t pitch = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> pixels(static_cast<size_t>(pitch) * height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint32_t rgb = colorAt(x, y);
            // The encoder takes bottom-up rows of blue, green, red.
            uint8_t* p = &pixels[static_cast<size_t>(height - 1 - y) * pitch + 3 * x];
            p[0] = rgb & 0xFF;
            p[1] = (rgb >> 8) & 0xFF;
            p[2] = (rgb >> 16) & 0xFF;
        }
    const char* scratch = "image.png";
    EncodeImage(scratch, pixels.data(), PNG_ENCODER_TAG, width, height, pitch, 0);
    std::string png = ReadBytes(scratch);
    std::filesystem::remove(scratch);
    return png;
}

// A PNG of one color (0xRRGGBB).
inline std::string SolidPng(int32_t width, int32_t height, uint32_t rgb)
{
    return PngOf(width, height, [rgb](int32_t, int32_t) { return rgb; });
}

// A PNG of a cell-like picture on the magenta key: an elliptic body shaded across both axes,
// a dark band at its front (the top rows) and a light spot that the phase moves, so that
// rotation, zoom, filtering and animation all show in the pixels.
inline std::string PatternPng(int32_t width, int32_t height, uint32_t tint, int32_t phase)
{
    return PngOf(width, height, [=](int32_t x, int32_t y) {
        // Distances in 1/1000 of the half axes: integers only, the same on every build.
        int64_t dx = (2 * x + 1 - width) * 1000 / width;
        int64_t dy = (2 * y + 1 - height) * 1000 / height;
        if (dx * dx + dy * dy >= 1000 * 1000)
            return uint32_t{0xFF00FF};
        int32_t sx = width / 2 + (phase % 3 - 1) * width / 5, sy = height / 2;
        if ((x - sx) * (x - sx) + (y - sy) * (y - sy) < width * width / 40)
            return uint32_t{0xF0F0C0};
        if (y < height / 5)
            return 0x301810 + (tint & 0x0F0F0F);
        uint32_t r = 40 + 180 * x / width, g = 50 + 160 * y / height;
        uint32_t b = (tint + 37 * static_cast<uint32_t>(x + y)) & 0xFF;
        return r << 16 | g << 8 | b;
    });
}

// A pack of entries stored as they are.
inline std::string Pack(const std::vector<std::string>& entries)
{
    std::vector<uint8_t> pack;
    for (const std::string& entry : entries)
        AppendStoredPackEntry(pack, reinterpret_cast<const uint8_t*>(entry.data()), entry.size());
    return std::string(pack.begin(), pack.end());
}

// One cell type of the list: its cell count, its definition text and its frame images.
struct CellTypeData {
    int16_t spawnCount;
    std::string definition;
    std::vector<std::string> frames;
};

// Writes cell\cell.ini, the packs, gfx\test.png (the player) and gfx\Blase1.png to
// gfx\Blase20.png into the working directory.
inline void WriteGameData(const std::vector<CellTypeData>& types, const std::string& player,
                          const std::string& bubble)
{
    std::string list(1, static_cast<char>(types.size()));
    for (size_t t = 0; t < types.size(); ++t) {
        uint16_t spawn = static_cast<uint16_t>(types[t].spawnCount);
        list.push_back(static_cast<char>(spawn));
        list.push_back(static_cast<char>(spawn >> 8));
        list.push_back(static_cast<char>(types[t].frames.size()));
        std::vector<std::string> entries = {types[t].definition};
        entries.insert(entries.end(), types[t].frames.begin(), types[t].frames.end());
        char name[32];
        std::snprintf(name, sizeof name, "cell/%03d.cell", static_cast<int>(t + 1));
        WriteBytes(name, Pack(entries));
    }
    WriteBytes("cell/cell.ini", list);
    WriteBytes("gfx/test.png", player);
    for (int i = 1; i <= 20; ++i)
        WriteBytes("gfx/Blase" + std::to_string(i) + ".png", bubble);
}
