// Finding authors' own cell types in a folder of type folders.
#include "tools/cellpack/mod_folders.h"

#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/system.h"
#include "runtime/platform/utf8_path.h"
#include "tools/cellpack/cell_list.h"
#include "tools/cellpack/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// spawn.txt holds one number; a file longer than this is something else.
constexpr size_t MOST_SPAWN_BYTES = 64;

bool IsFrameName(const fs::path& path)
{
    std::string extension = Lowered(Utf8Name(path.extension()));
    return extension == ".png" || extension == ".jpg" || extension == ".jpeg";
}

// Images that drawing programs save and the game cannot read as frames.
bool IsOtherImageName(const fs::path& path)
{
    std::string extension = Lowered(Utf8Name(path.extension()));
    for (const char* other :
         {".bmp", ".gif", ".webp", ".tif", ".tiff", ".tga", ".avif", ".jxl", ".heic", ".heif",
          ".qoi", ".ico", ".pcx",  ".ppm", ".pnm",  ".xcf", ".psd",  ".kra", ".ora",  ".svg"})
        if (extension == other)
            return true;
    return false;
}

// At most limit bytes of the file, which must be a regular file: a pipe or a device named so
// would never end, or never stop. "" or the problem.
std::string ReadSmallFile(const fs::path& file, size_t limit, std::string& text)
{
    const char* const NOT_A_FILE = "is not a file but a pipe, a device or a folder";
    // Opened without waiting for a pipe's writer; a folder is refused.
    int handle = SystemOpenFile(Utf8Name(file), O_RDONLY);
    if (handle < 0)
        return errno == EISDIR ? NOT_A_FILE
                               : std::string("cannot be read: ") + std::strerror(errno);
    struct stat status;
    std::string problem;
    if (fstat(handle, &status) != 0 || !S_ISREG(status.st_mode))
        problem = NOT_A_FILE;
    else if (size_t(status.st_size) > limit)
        problem = "holds " + std::to_string(status.st_size) + " bytes, not one number";
    text.assign(limit + 1, '\0');
    size_t got = problem.empty() ? ReadFromDescriptor(handle, text.data(), limit + 1) : 0;
    CloseDescriptor(handle);
    text.resize(got);
    if (problem.empty() && got > limit)
        problem = "holds more than one number";
    return problem;
}

// The number of spawn.txt, or the default; a problem when it holds no number of its range.
std::string ReadSpawn(const fs::path& file, int32_t& spawn)
{
    std::error_code error;
    if (!fs::exists(fs::symlink_status(file, error)))
        return "";
    std::string text;
    std::string problem = ReadSmallFile(file, MOST_SPAWN_BYTES, text);
    if (!problem.empty())
        return "spawn.txt " + problem;
    size_t first = text.find_first_not_of(" \t\r\n"), last = text.find_last_not_of(" \t\r\n");
    text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    long value = 0;
    if (!ParseWholeNumber(text, 0, MOST_SPAWN, value))
        return "spawn.txt: \"" + text + "\" is not a number of cells from 0 to 32767";
    spawn = int32_t(value);
    return "";
}

ModFolder ReadModFolder(const fs::path& folder)
{
    ModFolder mod;
    mod.path = Utf8Name(folder);
    std::vector<std::string> frames;
    std::error_code error;
    std::vector<std::string> others;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (IsFrameName(entry.path()) && entry.is_regular_file(error))
            frames.push_back(Utf8Name(entry.path().filename()));
        else if (IsOtherImageName(entry.path()))
            others.push_back(Utf8Name(entry.path().filename()));
    }
    std::sort(frames.begin(), frames.end(), NaturalLess);
    std::sort(others.begin(), others.end(), NaturalLess);
    for (const std::string& other : others)
        mod.otherImages.push_back(Utf8Name(folder / Utf8Path(other)));
    fs::path definition = folder / "definition.ini";
    mod.files.push_back(Utf8Name(definition));
    for (const std::string& frame : frames)
        mod.files.push_back(Utf8Name(folder / Utf8Path(frame)));
    if (!fs::is_regular_file(definition, error))
        mod.problem = "no definition.ini; a type's folder holds its definition text";
    else if (frames.empty())
        mod.problem = "no frame images (*.png, *.jpg, *.jpeg) in the folder";
    else
        mod.problem = ReadSpawn(folder / "spawn.txt", mod.spawn);
    return mod;
}
} // namespace

bool NaturalLess(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            size_t ai = i, bj = j;
            while (ai < a.size() && a[ai] == '0')
                ++ai;
            while (bj < b.size() && b[bj] == '0')
                ++bj;
            size_t ae = ai, be = bj;
            while (ae < a.size() && IsDigit(a[ae]))
                ++ae;
            while (be < b.size() && IsDigit(b[be]))
                ++be;
            if (ae - ai != be - bj)
                return ae - ai < be - bj;
            int order = a.compare(ai, ae - ai, b, bj, be - bj);
            if (order != 0)
                return order < 0;
            i = ae, j = be;
        } else {
            if (a[i] != b[j])
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            ++i, ++j;
        }
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return a < b; // the same by value: leading zeros decide
}

std::vector<ModFolder> FindModFolders(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(Utf8Path(folder), error)) {
        std::string name = Utf8Name(entry.path().filename());
        if (name.empty() || name[0] == '.' || !entry.is_directory(error))
            continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    std::vector<ModFolder> mods;
    for (const std::string& name : names)
        mods.push_back(ReadModFolder(Utf8Path(folder) / Utf8Path(name)));
    return mods;
}
