// Making the player's folder ready for a start.
#include "launcher/player_folder.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
// Replaces a link (or nothing) by a link to the target; a real file or folder of that name is
// the player's and stays.
std::string Link(const fs::path& target, const fs::path& name)
{
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(name, error)))
        fs::remove(name, error);
    if (fs::exists(fs::symlink_status(name, error)))
        return "";
    fs::create_directory_symlink(target, name, error);
    return error ? name.string() + ": " + error.message() : "";
}

std::string FillCellFolder(const fs::path& world, const fs::path& cell)
{
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(cell, error)))
        fs::remove(cell, error);
    fs::create_directories(cell, error);
    if (error)
        return cell.string() + ": " + error.message();
    for (const fs::directory_entry& entry : fs::directory_iterator(cell, error))
        fs::remove_all(entry.path(), error);
    for (const fs::directory_entry& entry : fs::directory_iterator(world / "cell", error)) {
        std::error_code linkError;
        fs::create_symlink(entry.path(), cell / entry.path().filename(), linkError);
        if (linkError)
            return (cell / entry.path().filename()).string() + ": " + linkError.message();
    }
    return error ? (world / "cell").string() + ": " + error.message() : "";
}
} // namespace

std::string PlayerFolderPath()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string(data) + "/vellomira";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/vellomira";
    return "";
}

std::string LinkWorld(const std::string& world, const std::string& folder)
{
    fs::path root(folder);
    std::error_code error;
    fs::create_directories(root / "mods", error);
    if (error)
        return (root / "mods").string() + ": " + error.message();
    std::string problem = Link(fs::path(world) / "gfx", root / "gfx");
    if (problem.empty())
        problem = FillCellFolder(world, root / "cell");
    return problem;
}

bool FolderHasEntries(const std::string& folder)
{
    std::error_code error;
    return fs::is_directory(folder, error) && !fs::is_empty(folder, error);
}
