// Makes the seed corpora of the fuzz targets with the project's own writers:
// make_fuzz_seeds FOLDER writes FOLDER/TARGET/NAME files.
#include "runtime/core/block_encoder.h"
#include "runtime/runtime.h"

#include <png.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

bool Save(const std::string& folder, const std::string& target, const std::string& name,
          const Bytes& bytes)
{
    std::string directory = folder + "/" + target;
    mkdir(folder.c_str(), 0755);
    mkdir(directory.c_str(), 0755);
    std::FILE* file = std::fopen((directory + "/" + name).c_str(), "wb");
    if (!file)
        return false;
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// Samples that reach the encoder's different codes: text, runs, repeats at a distance,
// and noise.
std::vector<std::pair<std::string, Bytes>> Samples()
{
    Bytes runs(300, 'A');
    runs.insert(runs.end(), 200, 0);
    Bytes repeats;
    for (int i = 0; i < 40; ++i)
        for (int k = 0; k < 17; ++k)
            repeats.push_back(uint8_t(k * 13 + (i % 3)));
    Bytes noise;
    uint32_t x = 12345;
    for (int i = 0; i < 600; ++i) {
        x = x * 1103515245u + 12345u;
        noise.push_back(uint8_t(x >> 24));
    }
    return {{"text", Text("Name = Zelle\r\nsize = 32|48\r\nangle_s = 0.1|0.2\r\n"
                          "norm_movespeed = 2|3\r\ntrans = 160|170\r\n")},
            {"runs", runs},
            {"repeats", repeats},
            {"noise", noise},
            {"tiny", Text("AB")}};
}

bool MakeBlockAndPackSeeds(const std::string& folder)
{
    bool ok = true;
    Bytes pack;
    for (const auto& [name, data] : Samples()) {
        Bytes block;
        ok = ok && PackBlock(data.data(), data.size(), block) &&
             Save(folder, "block", name, block) && Save(folder, "encoder", name, data) &&
             AppendPackEntry(pack, data.data(), data.size());
    }
    return ok && Save(folder, "pack", "five_entries", pack);
}
void PutLittleEndian(Bytes& bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(uint8_t(value >> (8 * i)));
}

// A RIFF WAVE image: 16-bit PCM, its format chunk followed by another chunk before the data.
Bytes Wave(int channels, int sampleRate, int samples)
{
    Bytes body = Text("WAVEfmt ");
    PutLittleEndian(body, 16, 4);
    PutLittleEndian(body, 1, 2);
    PutLittleEndian(body, channels, 2);
    PutLittleEndian(body, sampleRate, 4);
    PutLittleEndian(body, sampleRate * channels * 2, 4);
    PutLittleEndian(body, channels * 2, 2);
    PutLittleEndian(body, 16, 2);
    Bytes list = Text("LIST");
    PutLittleEndian(list, 4, 4);
    Bytes info = Text("INFO");
    list.insert(list.end(), info.begin(), info.end());
    body.insert(body.end(), list.begin(), list.end());
    Bytes data = Text("data");
    PutLittleEndian(data, samples * channels * 2, 4);
    for (int i = 0; i < samples * channels; ++i)
        PutLittleEndian(data, uint32_t((i * 2654435761u) >> 16), 2);
    body.insert(body.end(), data.begin(), data.end());
    Bytes image = Text("RIFF");
    PutLittleEndian(image, uint32_t(body.size()), 4);
    image.insert(image.end(), body.begin(), body.end());
    return image;
}

bool MakeWaveSeeds(const std::string& folder)
{
    return Save(folder, "wave", "mono_with_list", Wave(1, 22050, 40)) &&
           Save(folder, "wave", "stereo", Wave(2, 44100, 16));
}
Bytes ReadBack(const std::string& path)
{
    Bytes bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;)
            bytes.push_back(uint8_t(c));
        std::fclose(file);
    }
    std::remove(path.c_str());
    return bytes;
}

// A 3 x 2 BMP with an 8-bit palette of three colors.
Bytes PaletteBmp()
{
    Bytes bmp = Text("BM");
    const uint32_t rowBytes = 4, pixelOffset = 14 + 40 + 3 * 4;
    PutLittleEndian(bmp, pixelOffset + 2 * rowBytes, 4);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, pixelOffset, 4);
    for (uint32_t value : {40u, 3u, 2u})
        PutLittleEndian(bmp, value, 4);
    PutLittleEndian(bmp, 1, 2);
    PutLittleEndian(bmp, 8, 2);
    for (uint32_t value : {0u, 2 * rowBytes, 2835u, 2835u, 3u, 3u})
        PutLittleEndian(bmp, value, 4);
    for (uint32_t color : {0x00FF00FFu, 0x00204060u, 0x00FFFFFFu})
        PutLittleEndian(bmp, color, 4);
    for (uint8_t index : {0, 1, 2, 0, 2, 1, 0, 0})
        bmp.push_back(index);
    return bmp;
}

// PNG and JPEG images written by the project's encoders, and a palette BMP.
bool MakeImageSeeds(const std::string& folder)
{
    RegisterPngEncoder();
    RegisterJpegEncoder();
    const int32_t width = 9, height = 7, pitch = width * 3;
    Bytes pixels(size_t(pitch) * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i * 37 % 251);
    std::string scratch = folder + "/seed.tmp";
    bool png =
        EncodeImage(scratch.c_str(), pixels.data(), PNG_ENCODER_TAG, width, height, pitch, 0) != 0;
    Bytes pngBytes = ReadBack(scratch);
    bool jpeg = EncodeImage(scratch.c_str(), pixels.data(), JPEG_ENCODER_TAG, width, height, pitch,
                            75) != 0;
    Bytes jpegBytes = ReadBack(scratch);
    return png && jpeg && Save(folder, "image", "rgb.png", pngBytes) &&
           Save(folder, "image", "rgb.jpg", jpegBytes) &&
           Save(folder, "image", "palette.bmp", PaletteBmp());
}
// Cell type lists: the count byte, then per type its spawn count (16-bit) and frame count.
Bytes CellList(const std::vector<std::pair<int, int>>& types, int count)
{
    Bytes list{uint8_t(count)};
    for (auto [spawn, frames] : types) {
        PutLittleEndian(list, uint32_t(spawn), 2);
        list.push_back(uint8_t(frames));
    }
    return list;
}

bool MakeCellListSeeds(const std::string& folder)
{
    return Save(folder, "cell_list", "three_types", CellList({{30, 4}, {0, 1}, {500, 8}}, 3)) &&
           Save(folder, "cell_list", "cut_short", CellList({{12, 2}}, 5)) &&
           Save(folder, "cell_list", "past_the_frame_table", CellList({{1, 120}, {-2, -1}}, 2)) &&
           Save(folder, "cell_list", "negative_count", CellList({{7, 7}}, -3));
}

// An image of the given encoder, as the project writes it.
Bytes EncodedImage(const std::string& folder, int32_t tag, int32_t width, int32_t height)
{
    const int32_t pitch = width * 3;
    Bytes pixels(size_t(pitch) * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i % 3 == 0 ? 255 : i * 29 % 200);
    std::string scratch = folder + "/seed.tmp";
    if (!EncodeImage(scratch.c_str(), pixels.data(), tag, width, height, pitch, 80))
        return {};
    return ReadBack(scratch);
}

// Cell type packs for the cell_type target: three header bytes (frame count, spawn count,
// mode), then the entries split at "--frame--" (mode 0) or a whole pack file (mode 1), here
// with the entries compressed by the project's writer.
bool MakeCellTypeSeeds(const std::string& folder)
{
    Bytes png = EncodedImage(folder, PNG_ENCODER_TAG, 6, 5);
    Bytes jpeg = EncodedImage(folder, JPEG_ENCODER_TAG, 8, 8);
    const std::string full =
        "; every key of a definition\r\nName = Zyklop\r\nType = 2\r\nFront = 1\r\n"
        "AniType = 0\r\nsize = 160|190\r\nangle_s = 0.2|0.4\r\nnorm_angle_s = 0.3|0.5\r\n"
        "flew_angle_s = 0.8|1.2\r\nidle_anispeed = 0.02|0.04\r\nmove_anispeed = 0.05|0.05\r\n"
        "flew_anispeed = 0.06|0.09\r\nnorm_movespeed = 0.4|0.8\r\nflew_movespeed = 1.6|2.2\r\n"
        "accelaration = 0.03|0.05\r\nmentionradius = 2|2.6\r\ntrans = 170|200\r\n"
        "color = 15458730\r\nhp = 20\r\natk = 4\r\narmor = 2\r\n";
    const std::string odd = "SIZE=48|32\nangle_s=1\ntrans=-5|300\nmentionradius=1e30|-1e30\n"
                            "[group]\nName=hidden\n";
    const std::string separator = "--frame--";
    auto split = [&](int frames, int spawn, const std::string& text,
                     const std::vector<const Bytes*>& images) {
        Bytes seed{uint8_t(frames), uint8_t(spawn), 0};
        seed.insert(seed.end(), text.begin(), text.end());
        for (const Bytes* image : images) {
            seed.insert(seed.end(), separator.begin(), separator.end());
            seed.insert(seed.end(), image->begin(), image->end());
        }
        return seed;
    };
    Bytes raw{2, 3, 1};
    Bytes pack;
    bool packed =
        AppendPackEntry(pack, reinterpret_cast<const uint8_t*>(full.data()), full.size()) &&
        AppendPackEntry(pack, png.data(), png.size()) &&
        AppendPackEntry(pack, jpeg.data(), jpeg.size());
    raw.insert(raw.end(), pack.begin(), pack.end());
    return !png.empty() && !jpeg.empty() && packed &&
           Save(folder, "cell_type", "full_two_frames", split(2, 5, full, {&png, &jpeg})) &&
           Save(folder, "cell_type", "odd_ranges", split(1, 9, odd, {&png})) &&
           Save(folder, "cell_type", "no_keys", split(0, 2, "", {})) &&
           Save(folder, "cell_type", "missing_frame", split(3, 1, full, {&png})) &&
           Save(folder, "cell_type", "raw_pack", raw);
}
void AppendToBytes(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// A PNG with transparent colors as image editors write them (the project's encoder writes
// none): a palette with an alpha for some entries, or one transparent color of an RGB or grey
// image, black. Written with libpng, whose errors end the program.
Bytes TransparentPng(int colorType, int bitDepth, bool interlaced)
{
    const int width = 6, height = 5, channels = colorType == PNG_COLOR_TYPE_RGB ? 3 : 1;
    const int sampleBytes = bitDepth == 16 ? 2 : 1;
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendToBytes, nullptr);
    png_set_IHDR(png, info, width, height, bitDepth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[4] = {{0, 0, 0}, {255, 0, 255}, {40, 200, 80}, {0, 0, 0}};
    png_byte alphas[3] = {0, 255, 128};
    png_color_16 black{};
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, palette, 4);
        png_set_tRNS(png, info, alphas, 3, nullptr);
    } else {
        png_set_tRNS(png, info, nullptr, 0, &black);
    }
    std::vector<Bytes> rows(height, Bytes(size_t(width * channels * sampleBytes)));
    std::vector<png_bytep> pointers;
    for (int y = 0; y < height; ++y) {
        for (size_t i = 0; i < rows[size_t(y)].size(); ++i)
            rows[size_t(y)][i] = colorType == PNG_COLOR_TYPE_PALETTE ? uint8_t((y + int(i)) % 4)
                                 : (y + int(i) / (channels * sampleBytes)) % 3 == 0 ? 0
                                                                                    : uint8_t(200);
        pointers.push_back(rows[size_t(y)].data());
    }
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Frames for cellpack's checks: images with transparent colors, and the kinds above.
bool MakeFrameCheckSeeds(const std::string& folder)
{
    return Save(folder, "frame_check", "palette_trns.png",
                TransparentPng(PNG_COLOR_TYPE_PALETTE, 8, false)) &&
           Save(folder, "frame_check", "rgb_trns.png",
                TransparentPng(PNG_COLOR_TYPE_RGB, 8, false)) &&
           Save(folder, "frame_check", "grey16_trns_interlaced.png",
                TransparentPng(PNG_COLOR_TYPE_GRAY, 16, true)) &&
           Save(folder, "frame_check", "rgb.png", EncodedImage(folder, PNG_ENCODER_TAG, 6, 5)) &&
           Save(folder, "frame_check", "rgb.jpg", EncodedImage(folder, JPEG_ENCODER_TAG, 8, 8)) &&
           Save(folder, "frame_check", "palette.bmp", PaletteBmp());
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    bool ok = MakeBlockAndPackSeeds(folder) && MakeWaveSeeds(folder) && MakeImageSeeds(folder) &&
              MakeCellListSeeds(folder) && MakeCellTypeSeeds(folder) && MakeFrameCheckSeeds(folder);
    if (!ok)
        std::fprintf(stderr, "make_fuzz_seeds: could not write the seeds into %s\n", argv[1]);
    return ok ? 0 : 1;
}
