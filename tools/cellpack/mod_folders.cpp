// Finding authors' own cell types in a folder of type folders.
#include "tools/cellpack/mod_folders.h"

#include "tools/cellpack/cell_list.h"
#include "tools/cellpack/command_line.h"
#include "tools/cellpack/file_bytes.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsFrameName(const fs::path& path)
{
    std::string extension = Lowered(path.extension().string());
    return extension == ".png" || extension == ".jpg" || extension == ".jpeg";
}

// The number of spawn.txt, or the default; a problem when it holds no number of its range.
std::string ReadSpawn(const fs::path& file, int32_t& spawn)
{
    std::error_code error;
    if (!fs::exists(file, error))
        return "";
    std::vector<uint8_t> bytes;
    std::string problem = ReadFileBytes(file.string(), bytes);
    if (!problem.empty())
        return problem;
    std::string text(bytes.begin(), bytes.end());
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
    mod.path = folder.string();
    std::vector<std::string> frames;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (IsFrameName(entry.path()) && entry.is_regular_file(error))
            frames.push_back(entry.path().filename().string());
    std::sort(frames.begin(), frames.end(), NaturalLess);
    fs::path definition = folder / "definition.ini";
    mod.files.push_back(definition.string());
    for (const std::string& frame : frames)
        mod.files.push_back((folder / frame).string());
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
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.' || !entry.is_directory(error))
            continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    std::vector<ModFolder> mods;
    for (const std::string& name : names)
        mods.push_back(ReadModFolder(fs::path(folder) / name));
    return mods;
}
