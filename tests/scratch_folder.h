// A fresh temporary folder that is the working directory while the object lives, with small
// helpers to make and read the files a test needs.
#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

struct ScratchFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path path;

    ScratchFolder()
    {
        // A name nobody else takes: made by this process alone, whatever runs beside it.
        std::random_device random;
        std::error_code error;
        for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
            std::filesystem::path candidate =
                std::filesystem::temp_directory_path() / ("vellomira-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate, error))
                path = candidate;
        }
        std::filesystem::current_path(path);
    }
    ~ScratchFolder()
    {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};

// Writes the bytes to the file (relative to the working directory), creating its folders.
inline void WriteBytes(const std::filesystem::path& name, std::string_view bytes)
{
    if (name.has_parent_path())
        std::filesystem::create_directories(name.parent_path());
    std::ofstream(name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// The whole file, or "<missing>" when it cannot be read.
inline std::string ReadBytes(const std::filesystem::path& name)
{
    std::ifstream file(name, std::ios::binary);
    if (!file)
        return "<missing>";
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The number of files and folders in the working folder.
inline int CountFolderEntries()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        count += entry.is_regular_file() || entry.is_directory();
    return count;
}
