// Small game data made by the tests: a working directory with the cell type list, cell type
// packs of raw entries, the player's image and the bubble images, all as real files.
#pragma once
#include "runtime/runtime.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

using Bytes = std::vector<uint8_t>;

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

inline Bytes ReadBytes(const std::filesystem::path& path)
{
    Bytes bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(file)) != EOF)
            bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(file);
    }
    return bytes;
}

inline Bytes TextBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// A PNG of one colour (0xRRGGBB), written through the game's own PNG encoder.
inline Bytes SolidPng(int32_t width, int32_t height, uint32_t rgb)
{
    RegisterPngEncoder();
    int32_t pitch = (width * 3 + 3) / 4 * 4;
    Bytes pixels(static_cast<size_t>(pitch) * height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = &pixels[static_cast<size_t>(y) * pitch + 3 * x];
            p[0] = rgb & 0xFF;
            p[1] = (rgb >> 8) & 0xFF;
            p[2] = (rgb >> 16) & 0xFF;
        }
    std::filesystem::path scratch = std::filesystem::temp_directory_path() /
                                    ("vellomira-png-" + std::to_string(::getpid()) + ".png");
    EncodeImage(scratch.c_str(), pixels.data(), PNG_ENCODER_TAG, width, height, pitch, 0);
    Bytes png = ReadBytes(scratch);
    std::filesystem::remove(scratch);
    return png;
}

// A pack of raw entries: unpacked size, stored size (the same), the bytes.
inline Bytes Pack(const std::vector<Bytes>& entries)
{
    Bytes pack;
    for (const Bytes& entry : entries) {
        uint32_t size = static_cast<uint32_t>(entry.size());
        for (int copy = 0; copy < 2; ++copy)
            for (int shift = 0; shift < 32; shift += 8)
                pack.push_back(static_cast<uint8_t>(size >> shift));
        pack.insert(pack.end(), entry.begin(), entry.end());
    }
    return pack;
}

// One cell type of the list: its cell count, its definition text and its frame images.
struct CellTypeData {
    int16_t spawnCount;
    std::string definition;
    std::vector<Bytes> frames;
};

// A fresh working directory holding cell\cell.ini, the packs, gfx\test.png (the player) and
// gfx\Blase1.png to gfx\Blase20.png.
inline std::filesystem::path MakeGameDirectory(const std::vector<CellTypeData>& types,
                                               const Bytes& player, const Bytes& bubble)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vellomira-game-XXXXXX");
    std::filesystem::path dir = ::mkdtemp(pattern.data());
    Bytes list = {static_cast<uint8_t>(types.size())};
    for (size_t t = 0; t < types.size(); ++t) {
        uint16_t spawn = static_cast<uint16_t>(types[t].spawnCount);
        list.push_back(static_cast<uint8_t>(spawn));
        list.push_back(static_cast<uint8_t>(spawn >> 8));
        list.push_back(static_cast<uint8_t>(types[t].frames.size()));
        std::vector<Bytes> entries = {TextBytes(types[t].definition)};
        entries.insert(entries.end(), types[t].frames.begin(), types[t].frames.end());
        char name[32];
        std::snprintf(name, sizeof name, "%03d.cell", static_cast<int>(t + 1));
        WriteBytes(dir / "cell" / name, Pack(entries));
    }
    WriteBytes(dir / "cell" / "cell.ini", list);
    WriteBytes(dir / "gfx" / "test.png", player);
    for (int i = 1; i <= 20; ++i)
        WriteBytes(dir / "gfx" / ("Blase" + std::to_string(i) + ".png"), bubble);
    return dir;
}
