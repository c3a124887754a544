// Adding authors' own types to a world, again and again, without touching anything else.
#include "tools/cellpack/add_mods.h"

#include "game/data/data.h"
#include "runtime/platform/shown_path.h"
#include "runtime/platform/shown_text.h"
#include "runtime/platform/utf8_path.h"
#include "tools/cellpack/cell_list.h"
#include "tools/cellpack/file_bytes.h"
#include "tools/cellpack/file_transaction.h"
#include "tools/cellpack/frame_check.h"
#include "tools/cellpack/mod_folders.h"
#include "tools/cellpack/mods_manifest.h"
#include "tools/cellpack/pack_building.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
// The line as people see it: the path it begins with, the longest of paths that begins it, is
// shown as a path, the rest escaped as text. Names and files (spawn.txt) may hold bytes that
// steer a terminal, and a Windows path's separators are no backslashes to escape.
std::string ShownLine(const std::string& line, const std::vector<std::string>& paths)
{
    size_t length = 0;
    for (const std::string& path : paths)
        if (path.size() > length && line.compare(0, path.size(), path) == 0)
            length = path.size();
    return ShownPath(line.substr(0, length)) + ShownText(line.substr(length));
}

// Reports the line on standard error as Failure does, shown by ShownLine.
int Report(const std::string& line, const std::vector<std::string>& paths)
{
    return Failure(ShownLine(line, paths));
}

struct World {
    fs::path cell; // WORLD/cell
    std::string list, manifestPath;
    std::vector<uint8_t> listBytes;
    std::vector<CellListType> types;
    ModsManifest manifest;
};

// A type ready to be added: its folder, its pack and its list entry.
struct NewType {
    const ModFolder* folder = nullptr;
    std::vector<uint8_t> pack;
    CellListType entry;
};

uint64_t EntriesHash(const std::vector<uint8_t>& list, int32_t count)
{
    return ContentHash(list.data() + 1, size_t(count) * 3);
}

// Whether the types of the last run still follow the base types, with their packs as written
// or gone (a pack removed by hand takes nothing of its entry's with it: the entry is still
// add-mods's, to take back). Without them, types after the base are not told from types of a
// base that grew: all are base.
bool LastRunInPlace(const World& world)
{
    const ModsManifest& manifest = world.manifest;
    if (!manifest.present || manifest.made.empty() || manifest.base < 0 ||
        size_t(manifest.base) + manifest.made.size() > world.types.size() ||
        EntriesHash(world.listBytes, manifest.base) != manifest.baseHash)
        return false;
    for (size_t i = 0; i < manifest.made.size(); ++i) {
        const MadeType& made = manifest.made[i];
        const CellListType& listed = world.types[size_t(manifest.base) + i];
        fs::path pack = world.cell / made.pack;
        std::error_code error;
        bool gone = !fs::exists(fs::symlink_status(pack, error));
        if (made.type != manifest.base + int32_t(i) + 1 || listed.spawnCount != made.spawn ||
            listed.frameCount != made.frames || !(gone || IsAsWritten(Utf8Name(pack), made.hash)))
            return false;
    }
    return true;
}

std::string ReadWorld(const std::string& folder, World& world)
{
    world.cell = Utf8Path(folder) / "cell";
    world.list = Utf8Name(world.cell / "cell.ini");
    std::string problem = ReadFileBytes(world.list, world.listBytes);
    if (!problem.empty())
        return problem + " (a world folder holds cell/cell.ini)";
    problem = ParseCellList(world.listBytes, world.types);
    if (!problem.empty())
        return world.list + ": " + problem + "; nothing is added";
    std::error_code error;
    // A linked manifest, like the links to a world's packs beside it, tells what was added to
    // that other world, not to this one.
    world.manifestPath = Utf8Name(world.cell / "mods.manifest");
    if (!fs::is_symlink(Utf8Path(world.manifestPath), error))
        world.manifest = ReadModsManifest(world.manifestPath);
    if (!world.manifest.problem.empty())
        return world.manifest.problem +
               "; what add-mods added before cannot be told from the rest, so nothing is "
               "changed (remove the file to have the types added anew after all that is listed)";
    return "";
}

// Reads, keys and checks the type's files; false, with the reasons reported, when the game
// would refuse it or misread it.
bool PrepareType(const ModFolder& folder, NewType& type)
{
    type.folder = &folder;
    for (const std::string& image : folder.otherImages)
        Report(image + ": warning: left out of the type: the game reads frames only as PNG or "
                       "JPEG; save it as PNG to have it among the frames",
               {image});
    // The lines below begin with the folder or one of its files.
    std::vector<std::string> paths = folder.files;
    paths.push_back(folder.path);
    if (!folder.problem.empty())
        return Report(folder.path + ": left out: " + folder.problem, paths), false;
    PackSources sources;
    std::string error = ReadPackSources(folder.files, DEFAULT_KEY_ALPHA, sources);
    SourceReport report;
    if (error.empty())
        report = CheckPackSources(sources);
    for (const std::string& line : report.warnings)
        Report(line, paths);
    for (const std::string& line : report.errors)
        Report(line, paths);
    int32_t frames = int32_t(folder.files.size()) - 1;
    if (error.empty() && !report.errors.empty())
        error = Counted(report.errors.size(), "error") + " above";
    if (error.empty() && frames > MOST_FRAMES)
        error = std::to_string(frames) + " frames, more than the 127 a list entry holds";
    if (error.empty())
        error = PackEntries(sources, type.pack);
    if (!error.empty())
        return Report(folder.path + ": left out: " + error, paths), false;
    type.entry = {folder.spawn, frames};
    return true;
}

// The packs of the last run that are still as written, by file name.
std::vector<std::string> PacksOfLastRun(const World& world)
{
    std::vector<std::string> packs;
    for (const MadeType& made : world.manifest.made)
        if (IsAsWritten(Utf8Name(world.cell / made.pack), made.hash))
            packs.push_back(made.pack);
    return packs;
}

// Drops the types whose pack name is taken by a file add-mods did not make, and every type
// after it, since their numbers would follow it.
void KeepFreeNumbers(const World& world, int32_t base, std::vector<NewType>& types)
{
    std::vector<std::string> ours = PacksOfLastRun(world);
    for (size_t i = 0; i < types.size(); ++i) {
        std::string pack = ThreeDigitNumber(base + int32_t(i) + 1) + ".cell";
        std::error_code error;
        if (!fs::exists(world.cell / pack, error) && !fs::is_symlink(world.cell / pack, error))
            continue;
        if (Contains(ours, pack))
            continue;
        Failure(ShownPath(Utf8Name(world.cell / pack)) +
                ": not made by add-mods, so it stays as it is; " +
                ShownPath(types[i].folder->path) + " and the types after it are left out");
        types.resize(i);
        return;
    }
}

// Adds the change unless the file holds those bytes already.
void ChangeUnlessSame(std::vector<FileChange>& changes, const fs::path& file,
                      const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> old;
    if (!ReadFileBytes(Utf8Name(file), old).empty() || old != bytes)
        changes.push_back({Utf8Name(file), bytes});
}

// The packs, the list and the manifest, changed all together or not at all: the list last, so
// that it never names a pack not written, and the manifest with them, so that it never misses
// what is listed. "" or the problem, shown by ShownLine.
std::string WriteWorld(const World& world, const std::vector<CellListType>& base,
                       const std::vector<NewType>& added, const std::vector<CellListType>& extras)
{
    ModsManifest manifest;
    manifest.present = true;
    manifest.base = int32_t(base.size());
    std::vector<CellListType> types = base;
    std::vector<FileChange> changes;
    for (size_t i = 0; i < added.size(); ++i) {
        MadeType made{int32_t(base.size() + i + 1), added[i].entry.spawnCount,
                      added[i].entry.frameCount,    "",
                      ContentHash(added[i].pack),   added[i].folder->path};
        made.pack = ThreeDigitNumber(made.type) + ".cell";
        ChangeUnlessSame(changes, world.cell / made.pack, added[i].pack);
        manifest.made.push_back(made);
        types.push_back(added[i].entry);
    }
    types.insert(types.end(), extras.begin(), extras.end());
    std::vector<uint8_t> list = CellListBytes(types);
    manifest.listHash = ContentHash(list);
    manifest.baseHash = EntriesHash(list, manifest.base);
    // Packs of the last run that no type names any more, still as written, go.
    for (const std::string& pack : PacksOfLastRun(world)) {
        bool named = false;
        for (const MadeType& made : manifest.made)
            named = named || made.pack == pack;
        for (size_t t = 1; t <= base.size(); ++t)
            named = named || pack == ThreeDigitNumber(int32_t(t)) + ".cell";
        if (!named)
            changes.push_back({Utf8Name(world.cell / pack), {}, true});
    }
    if (world.manifest.present || !manifest.made.empty()) {
        std::string text = ModsManifestText(manifest);
        ChangeUnlessSame(changes, world.cell / "mods.manifest",
                         std::vector<uint8_t>(text.begin(), text.end()));
    }
    // An unchanged list stays as it is, a link to an installed list included.
    if (list != world.listBytes)
        changes.push_back({world.list, list});
    std::vector<std::string> paths;
    for (const FileChange& change : changes)
        paths.push_back(change.path);
    return ShownLine(ChangeFiles(changes), paths);
}

// "type 4 follows", "types 4 to 6 follow".
std::string Following(size_t first, size_t last)
{
    if (first == last)
        return "type " + std::to_string(first) + " follows";
    return "types " + std::to_string(first) + " to " + std::to_string(last) + " follow";
}

int RunAddMods(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {});
    if (parsed.error.empty() && parsed.positional.size() != 2)
        parsed.error = "expected the folder of types and the world folder";
    if (!parsed.error.empty())
        return UsageError(AddModsCommand, parsed.error);
    World world;
    std::string error = ReadWorld(parsed.positional[1], world);
    if (!error.empty())
        return Report(error, {world.list, world.manifestPath});
    std::vector<CellListType> base = world.types, extras;
    bool inPlace = LastRunInPlace(world);
    if (inPlace) {
        size_t end = size_t(world.manifest.base) + world.manifest.made.size();
        base.assign(world.types.begin(), world.types.begin() + world.manifest.base);
        extras.assign(world.types.begin() + long(end), world.types.end());
    }
    std::vector<ModFolder> folders = FindModFolders(parsed.positional[0]);
    std::vector<NewType> added;
    int status = EXIT_STATUS_SUCCESS;
    for (const ModFolder& folder : folders) {
        added.emplace_back();
        if (!PrepareType(folder, added.back()))
            added.pop_back(), status = EXIT_STATUS_FAILURE;
    }
    if (base.size() + added.size() > size_t(MOST_TYPES)) {
        Failure("the list would hold more than 127 types; the last " +
                std::to_string(base.size() + added.size() - size_t(MOST_TYPES)) + " are left out");
        added.resize(size_t(MOST_TYPES) - std::min(base.size(), size_t(MOST_TYPES)));
        status = EXIT_STATUS_FAILURE;
    }
    if (!extras.empty() && added.size() != world.manifest.made.size())
        return Report(world.list + ": " +
                          Following(world.types.size() - extras.size() + 1, world.types.size()) +
                          " the added ones and not made by add-mods; their numbers would change, "
                          "so nothing is changed (move them into the folder of types)",
                      {world.list});
    size_t wanted = added.size();
    KeepFreeNumbers(world, int32_t(base.size()), added);
    if (added.size() < wanted)
        status = EXIT_STATUS_FAILURE;
    error = WriteWorld(world, base, added, extras);
    if (!error.empty())
        return Failure(error);
    for (size_t i = 0; i < added.size(); ++i)
        std::printf("%s: type %zu (%s.cell, %s, %s)\n", ShownPath(added[i].folder->path).c_str(),
                    base.size() + i + 1, ThreeDigitNumber(int32_t(base.size() + i + 1)).c_str(),
                    Counted(size_t(added[i].entry.frameCount), "frame").c_str(),
                    Counted(size_t(added[i].entry.spawnCount), "cell").c_str());
    return status;
}
} // namespace

const Command AddModsCommand = {
    "add-mods", "add a folder of own cell types to a world, replacing what it added before",
    "usage: cellpack add-mods TYPES WORLD\n"
    "Adds authors' own cell types to the game's working folder WORLD, after the types its list\n"
    "WORLD/cell/cell.ini holds. TYPES holds one folder per type, taken in natural order of\n"
    "their names (type2 before type10):\n"
    "  NAME/definition.ini   the definition text, packed as it is\n"
    "  NAME/*.png, *.jpg     the frames, in natural order of their names; frames with an\n"
    "                        alpha channel are keyed as 'cellpack key' does; images in other\n"
    "                        formats (GIF, BMP, WebP, ...) are named and left out\n"
    "  NAME/spawn.txt        optional: the number of cells of the type at start (default 10),\n"
    "                        a small file holding one number\n"
    "Each type is checked as 'cellpack build' checks it and packed to WORLD/cell/NNN.cell,\n"
    "numbered on from the list's last type, and appended to the list. WORLD/cell/mods.manifest\n"
    "records what was added: running the command again first takes back the types and packs\n"
    "it added before, as long as they are as it wrote them, so it may run before every game.\n"
    "A pack removed by hand does not keep its entry listed. It never replaces or removes a\n"
    "file it did not write, and it changes the packs, the list and the manifest all together\n"
    "or not at all: each file is written beside its place and renamed, and a failed write\n"
    "leaves the world as it was (exit status 1). A type with errors, or whose pack name is\n"
    "taken by another file, is left out and reported (exit status 1) and the world stays\n"
    "playable. A damaged manifest changes nothing. A missing TYPES folder adds nothing.\n"
    "Prints one line per type added; names are shown with control characters escaped.\n",
    RunAddMods};
