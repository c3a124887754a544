// The `vellomira` command: prepares the player's own folder with the world linked in and the
// player's own cell types added, hands the window settings to the game's display, and runs
// the game there. The game itself still takes no command line and uses only its folder.
#include "launcher/launch_options.h"
#include "launcher/player_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Where the programs and the world lie beside this one: installed (relative to bin/, so that
// any prefix works), or in a build tree, where the launcher sits in launcher/ below the game.
struct Layout {
    fs::path game, cellpack, world;
};

Layout FindLayout()
{
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error).parent_path();
    Layout layout;
    if (fs::exists(self / VELLOMIRA_GAME_FROM_BIN, error)) {
        layout.game = self / VELLOMIRA_GAME_FROM_BIN;
        layout.cellpack = self / "cellpack";
        layout.world = self / VELLOMIRA_WORLD_FROM_BIN;
    } else {
        layout.game = self.parent_path() / "vellomira";
        layout.cellpack = self.parent_path() / "cellpack";
    }
    return layout;
}

int Fail(const std::string& problem)
{
    std::fprintf(stderr, "vellomira: %s\n", problem.c_str());
    return 1;
}

std::string ReadText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A folder the player named: ~/ is the home folder, a relative one lies below base.
fs::path PlayerPath(const std::string& name, const fs::path& base)
{
    const char* home = std::getenv("HOME");
    if (name.rfind("~/", 0) == 0 && home)
        return fs::path(home) / name.substr(2);
    return fs::path(name).is_absolute() ? fs::path(name) : base / name;
}

// The player's own types, added after the world's by cellpack, which names any it leaves out.
// Its report goes to standard error: standard output is the game's console.
void AddOwnTypes(const Layout& layout, const fs::path& folder)
{
    if (!FolderHasEntries((folder / "mods").string()))
        return;
    pid_t child = fork();
    if (child == 0) {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        std::string mods = (folder / "mods").string(), world = folder.string();
        execl(layout.cellpack.c_str(), "cellpack", "add-mods", mods.c_str(), world.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status) ||
        WEXITSTATUS(status) > 1)
        Fail("your own cell types in " + (folder / "mods").string() +
             " could not be added; the game starts with the world's alone");
}

int Launch(const LaunchOptions& options)
{
    Layout layout = FindLayout();
    std::error_code error;
    fs::path world = options.world.empty() ? layout.world : fs::absolute(options.world, error);
    if (world.empty())
        return Fail("no installed world here; name one with --world DIR");
    world = world.lexically_normal();
    if (!fs::exists(world / "cell" / "cell.ini", error))
        return Fail("no world in " + world.string() + ": it has no cell/cell.ini");
    std::string folderName = PlayerFolderPath();
    if (folderName.empty())
        return Fail("neither XDG_DATA_HOME nor HOME names a folder to play in");
    fs::path folder(folderName);
    fs::create_directories(folder, error);
    if (fs::equivalent(world, folder, error))
        return Fail(world.string() + " is your own folder, not a world to link in");
    std::string problem = LinkWorld(world.string(), folder.string());
    if (!problem.empty())
        return Fail(problem);
    AddOwnTypes(layout, folder);

    PreferenceSettings settings = ReadLauncherSection(ReadText(folder / "pref.ini"));
    if (options.windowed || settings.windowed)
        setenv("VELLOMIRA_WINDOWED", "1", 1);
    else
        unsetenv("VELLOMIRA_WINDOWED");
    fs::path shots = !options.screenshotDir.empty()
                         ? PlayerPath(options.screenshotDir, fs::current_path(error))
                     : !settings.screenshotDir.empty() ? PlayerPath(settings.screenshotDir, folder)
                                                       : folder / "screenshots";
    setenv("VELLOMIRA_SCREENSHOT_DIR", shots.lexically_normal().c_str(), 1);

    if (chdir(folder.c_str()) != 0)
        return Fail(folder.string() + ": cannot enter the folder");
    execl(layout.game.c_str(), "vellomira", static_cast<char*>(nullptr));
    return Fail(layout.game.string() + ": the game cannot be started");
}
} // namespace

int main(int argc, char** argv)
{
    LaunchOptions options;
    std::string error;
    if (!ParseLaunchOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "vellomira: %s\n%s", error.c_str(), LAUNCHER_USAGE);
        return 2;
    }
    if (options.help) {
        std::fputs(LAUNCHER_USAGE, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("Vellomira %s\n", VELLOMIRA_VERSION);
        return 0;
    }
    return Launch(options);
}
