// F12 screenshots: the presented frame as an RGB PNG in the screenshot folder, named by the
// local time, never over an earlier one. The name goes to standard error, for the player;
// standard output belongs to the game's console.
#include "runtime/platform/sdl2/sdl2_display.h"
#include "runtime/platform/system.h"
#include "runtime/platform/utf8_path.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

namespace {
// Rows come as blue, green, red and an unused byte; libpng drops that byte and swaps the order.
bool WritePng(std::FILE* file, const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    // A screenshot must not hold the game up: the fastest compression still halves the file.
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int32_t y = 0; y < height; ++y)
        png_write_row(png, pixels + intptr_t(y) * pitch);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::string TimeStamp()
{
    std::time_t now = std::time(nullptr);
    // Only the main thread takes screenshots, so the C library's one shared record will do.
    const std::tm* local = std::localtime(&now);
    char text[32] = "00000000-000000";
    if (local)
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", local);
    return text;
}

// Opens a new file of the name, or of the name with -2, -3, ... when shots come within one
// second; none when no file can be made.
std::FILE* CreateShotFile(const std::string& folder, std::string& path)
{
    std::string stem = folder + "/vellomira-" + TimeStamp();
    for (int32_t n = 1; n < 100; ++n) {
        path = stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".png";
        if (std::FILE* file = SystemOpenStream(path, "wbx"))
            return file;
        int error = errno;
        if (!SystemEntryExists(path)) {
            errno = error;
            return nullptr;
        }
    }
    return nullptr;
}
} // namespace

void Sdl2SaveScreenshot(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height)
{
    const std::string& folder = Sdl2Options().screenshotFolder;
    std::error_code ignored;
    std::filesystem::create_directories(Utf8Path(folder), ignored);
    std::string path;
    std::FILE* file = CreateShotFile(folder, path);
    int error = errno;
    bool written = file && WritePng(file, pixels, pitch, width, height);
    if (file && std::fclose(file) != 0)
        written = false;
    if (written) {
        std::fprintf(stderr, "vellomira: screenshot saved as %s\n", path.c_str());
    } else {
        if (file)
            SystemRemoveFile(path);
        std::fprintf(stderr, "vellomira: the screenshot could not be saved in %s: %s\n",
                     folder.c_str(), file ? "the file could not be written" : std::strerror(error));
    }
}
