// Making the player's folder ready for a start, under its lock, without losing anything of the
// player's: cell/ is made beside and put in place, the player's things in the way are kept.
#include "launcher/player_folder.h"

#include "launcher/folder_system.h"
#include "launcher/run_log.h"
#include "launcher/world_check.h"
#include "runtime/platform/shown_path.h"
#include "runtime/platform/system.h"
#include "runtime/platform/utf8_path.h"
#include "tools/cellpack/mods_manifest.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
// Entries a start makes beside cell/ and gfx/ while it prepares them, named with its process
// number; any found while holding the lock are left over from a start that ended half-way.
const std::string STAGE_PREFIX = ".start-", LINK_PREFIX = ".gfx-";

std::string ErrorLine(const fs::path& path, const std::error_code& error)
{
    return ShownPath(Utf8Name(path)) + ": " + error.message();
}

bool IsFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(fs::symlink_status(path, error));
}

// Whether an entry of cell/ is one a start made: a link to the world, or a file add-mods wrote
// there (its manifest, the list and the packs it names, still as written).
bool MadeByAStart(const fs::path& entry, const ModsManifest& manifest)
{
    std::string name = Utf8Name(entry.filename());
    if (IsPlacedWorldEntry(Utf8Name(entry)))
        return true;
    if (name == "mods.manifest")
        return IsFile(entry);
    if (!manifest.present)
        return false;
    if (name == "cell.ini")
        return IsAsWritten(Utf8Name(entry), manifest.listHash);
    for (const MadeType& made : manifest.made)
        if (made.pack == name)
            return IsAsWritten(Utf8Name(entry), made.hash);
    return false;
}

// Moves the entry into kept/ as kept/NAME (NAME.1, NAME.2, ... when taken), and names it. ""
// or the problem. NAME is relative to the folder.
std::string Keep(const fs::path& folder, const fs::path& entry, const fs::path& name)
{
    fs::path target = folder / "kept" / name;
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    for (int n = 1; fs::exists(fs::symlink_status(target, error)); ++n)
        target = folder / "kept" / Utf8Path(Utf8Name(name) + "." + std::to_string(n));
    fs::rename(entry, target, error);
    if (error)
        return ErrorLine(entry, error);
    Say(ShownPath(Utf8Name(folder / name)) + " is not the launcher's: moved to " +
        ShownPath(Utf8Name(target)));
    return "";
}

// Takes away an entry that stood at cell/ or gfx/ (name): what a start made goes, anything
// else is kept. "" or the problem.
std::string DisposeOld(const fs::path& folder, const fs::path& old, const std::string& name)
{
    std::error_code error;
    if (!fs::exists(fs::symlink_status(old, error)))
        return "";
    if (IsPlacedWorldEntry(Utf8Name(old)))
        return RemovePlacedWorldEntry(Utf8Name(old));
    if (name != "cell" || !fs::is_directory(fs::symlink_status(old, error)))
        return Keep(folder, old, Utf8Path(name));
    ModsManifest manifest;
    if (IsFile(old / "mods.manifest"))
        manifest = ReadModsManifest(Utf8Name(old / "mods.manifest"));
    // Every entry is judged before any goes: a system that records its copies in the folder
    // keeps that record there among them.
    std::vector<std::pair<fs::path, bool>> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(old, error))
        entries.emplace_back(entry.path(), false);
    for (auto& [entry, made] : entries)
        made = MadeByAStart(entry, manifest);
    std::string problem = error ? ErrorLine(old, error) : "";
    for (const auto& [entry, made] : entries) {
        if (!made)
            problem = Keep(folder, entry, Utf8Path(name) / entry.filename());
        else if (!fs::remove(entry, error))
            problem = ErrorLine(entry, error);
        if (!problem.empty())
            return problem;
    }
    return fs::remove(old, error) ? "" : ErrorLine(old, error);
}

// Takes away what starts that ended half-way left beside cell/ and gfx/.
std::string DisposeLeftovers(const fs::path& folder)
{
    std::error_code error;
    std::vector<fs::path> stages, links;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::string name = Utf8Name(entry.path().filename());
        if (name.rfind(STAGE_PREFIX, 0) == 0 && entry.is_directory(error))
            stages.push_back(entry.path());
        else if (name.rfind(LINK_PREFIX, 0) == 0)
            links.push_back(entry.path());
    }
    std::string problem;
    for (const fs::path& link : links)
        if (problem.empty())
            problem = DisposeOld(folder, link, "gfx");
    for (const fs::path& stage : stages) {
        for (const fs::directory_entry& entry : fs::directory_iterator(stage, error))
            if (problem.empty())
                problem = DisposeOld(folder, entry.path(), "cell");
        if (problem.empty() && !fs::remove(stage, error))
            problem = ErrorLine(stage, error);
    }
    return problem;
}

// The new cell/ in stage/cell: every entry of the world's cell/ shown there.
std::string StageCellFolder(const fs::path& world, const fs::path& stage)
{
    std::error_code error;
    fs::create_directories(stage / "cell", error);
    if (error)
        return ErrorLine(stage / "cell", error);
    fs::path cell = Utf8Path(WorldFolder(Utf8Name(world), "cell"));
    for (const fs::directory_entry& entry : fs::directory_iterator(cell, error)) {
        std::string problem = PlaceWorldEntry(Utf8Name(entry.path()),
                                              Utf8Name(stage / "cell" / entry.path().filename()));
        if (!problem.empty())
            return problem;
    }
    return error ? ErrorLine(cell, error) : "";
}

// Puts fresh in place of cell/ or gfx/ (name) and takes the old entry away.
std::string Replace(const fs::path& folder, const fs::path& fresh, const std::string& name)
{
    std::string problem = PutInPlace(Utf8Name(fresh), Utf8Name(folder / Utf8Path(name)));
    if (problem.empty())
        problem = DisposeOld(folder, fresh, name);
    return problem;
}

std::string PrepareLocked(const fs::path& world, const fs::path& folder,
                          const std::function<void(const std::string&)>& addOwnTypes)
{
    std::string problem = DisposeLeftovers(folder);
    std::string self = std::to_string(SystemProcessNumber());
    fs::path stage = folder / (STAGE_PREFIX + self), link = folder / (LINK_PREFIX + self);
    if (problem.empty())
        problem = StageCellFolder(world, stage);
    if (problem.empty()) {
        addOwnTypes(Utf8Name(stage));
        problem = Replace(folder, stage / "cell", "cell");
    }
    if (problem.empty())
        problem = PlaceWorldEntry(WorldFolder(Utf8Name(world), "gfx"), Utf8Name(link));
    if (problem.empty())
        problem = Replace(folder, link, "gfx");
    // What is left of a start that failed half-way is taken away by the next one.
    if (problem.empty())
        problem = DisposeLeftovers(folder);
    return problem;
}
} // namespace

std::string PrepareFolder(const std::string& world, const std::string& folder,
                          const std::function<void(const std::string&)>& addOwnTypes)
{
    fs::path root = Utf8Path(folder);
    std::error_code error;
    fs::create_directories(root / "mods", error);
    if (error)
        return ErrorLine(root / "mods", error);
    FolderLock lock;
    std::string problem = LockFolder(folder, lock, [&folder] {
        Say("another start is preparing " + ShownPath(folder) + "; waiting for it");
    });
    if (!problem.empty())
        return problem;
    problem = PrepareLocked(Utf8Path(world), root, addOwnTypes);
    UnlockFolder(lock);
    return problem;
}

bool FolderHasEntries(const std::string& folder)
{
    std::error_code error;
    fs::path path = Utf8Path(folder);
    return fs::is_directory(path, error) && !fs::is_empty(path, error);
}
