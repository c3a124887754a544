// An author's type folder as add-mods reads it: definition.ini and spawn.txt of any content
// (the input, split at "--spawn--"; without it there is no spawn.txt) beside one good frame
// give a type with a spawn count in range, or a reason it is left out; the type's definition
// and frame are checked and packed as add-mods does, without a crash or a read out of bounds.
#include "fuzz/fuzz_folder.h"
#include "runtime/runtime.h"
#include "tools/cellpack/cell_list.h"
#include "tools/cellpack/frame_check.h"
#include "tools/cellpack/mod_folders.h"
#include "tools/cellpack/pack_building.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace {
constexpr std::string_view SEPARATOR = "--spawn--";

// A 4 x 4 frame of a color on the key, made once with the game's encoder.
const std::string& Frame()
{
    static const std::string frame = [] {
        RegisterPngEncoder();
        RegisterPngDecoder();
        RegisterJpegDecoder();
        // Rows of blue, green, red: the key around a green middle.
        uint8_t pixels[4 * 12];
        for (int i = 0; i < 16; ++i) {
            bool edge = i % 4 == 0 || i % 4 == 3 || i < 4 || i >= 12;
            uint8_t* pixel = pixels + 3 * i;
            pixel[0] = edge ? 255 : 80;
            pixel[1] = edge ? 0 : 160;
            pixel[2] = edge ? 255 : 40;
        }
        std::string path = FuzzFolder() + "/frame.png";
        EncodeImage(path.c_str(), pixels, PNG_ENCODER_TAG, 4, 4, 12, 0);
        return path;
    }();
    return frame;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& frame = Frame();
    std::string folder = FuzzFolder() + "/mods";
    std::error_code error;
    std::filesystem::create_directories(folder + "/t", error);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find(SEPARATOR);
    std::string_view definition = input.substr(0, split);
    WriteFuzzFile("mods/t/definition.ini", reinterpret_cast<const uint8_t*>(definition.data()),
                  definition.size());
    std::filesystem::copy_file(frame, folder + "/t/frame1.png",
                               std::filesystem::copy_options::overwrite_existing, error);
    std::filesystem::remove(folder + "/t/spawn.txt", error);
    if (split != std::string_view::npos) {
        std::string_view spawn = input.substr(split + SEPARATOR.size());
        WriteFuzzFile("mods/t/spawn.txt", reinterpret_cast<const uint8_t*>(spawn.data()),
                      spawn.size());
    }

    std::vector<ModFolder> mods = FindModFolders(folder);
    if (mods.size() != 1 || mods[0].files.size() != 2)
        std::abort();
    const ModFolder& mod = mods[0];
    if (!mod.problem.empty())
        return 0;
    if (mod.spawn < 0 || mod.spawn > MOST_SPAWN)
        std::abort();
    PackSources sources;
    if (!ReadPackSources(mod.files, DEFAULT_KEY_ALPHA, sources).empty())
        std::abort();
    SourceReport report = CheckPackSources(sources);
    std::vector<uint8_t> pack;
    if (report.errors.empty() && !PackEntries(sources, pack).empty())
        std::abort();
    return 0;
}
