// The `vellomira` command: prepares the player's own folder with the world shown in it and the
// player's own cell types added, hands the window settings to the game's display, and runs
// the game there, keeping what a start says in the folder's log. The game itself still takes
// no command line and uses only its folder.
#include "launcher/launch_options.h"
#include "launcher/player_folder.h"
#include "launcher/programs.h"
#include "launcher/run_log.h"
#include "launcher/world_check.h"
#include "runtime/platform/shown_path.h"
#include "runtime/platform/shown_text.h"
#include "runtime/platform/system.h"
#include "runtime/platform/utf8_path.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

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
    fs::path self = Utf8Path(SystemProgramFolder());
    const std::string cellpack = std::string("cellpack") + VELLOMIRA_PROGRAM_SUFFIX;
    Layout layout;
    if (fs::exists(self / VELLOMIRA_GAME_FROM_BIN, error)) {
        layout.game = self / VELLOMIRA_GAME_FROM_BIN;
        layout.cellpack = self / cellpack;
        layout.world = self / VELLOMIRA_WORLD_FROM_BIN;
    } else {
        layout.game = self.parent_path() / (std::string("vellomira") + VELLOMIRA_PROGRAM_SUFFIX);
        layout.cellpack = self.parent_path() / cellpack;
    }
    return layout;
}

std::string ReadText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The world to play, checked for the files the game reads; "" or the problem.
std::string FindWorld(const LaunchOptions& options, const Layout& layout, fs::path& world)
{
    std::error_code error;
    world = options.world.empty() ? layout.world : fs::absolute(Utf8Path(options.world), error);
    if (world.empty())
        return "no installed world here; name one with --world DIR";
    world = world.lexically_normal();
    std::string shown = ShownPath(Utf8Name(world)), missing = MissingWorldFiles(Utf8Name(world));
    if (missing.empty())
        return "";
    if (missing.rfind("cell/", 0) == 0)
        return "no world in " + shown + ": it has no " + missing;
    return "the world in " + shown + " is not whole: the game would miss " + missing;
}

// The player's own types, added after the world's by cellpack, which names any it leaves out.
void AddOwnTypes(const Layout& layout, const fs::path& folder, const std::string& stagedWorld)
{
    fs::path mods = folder / "mods";
    if (!FolderHasEntries(Utf8Name(mods)))
        return;
    int status = RunTool(Utf8Name(layout.cellpack), {"add-mods", Utf8Name(mods), stagedWorld});
    if (status < 0 || status > 1)
        Say("your own cell types in " + ShownPath(Utf8Name(mods)) +
            " could not be added; the game starts with the world's alone");
}

// The variables that carry the launcher's choices to the game's display; "" or the problem.
std::string HandOnSettings(const LaunchOptions& options, const fs::path& folder)
{
    PreferenceSettings settings = ReadLauncherSection(ReadText(folder / "pref.ini"));
    for (const std::string& warning : settings.warnings)
        Say(ShownPath(Utf8Name(folder / "pref.ini")) + ": " + warning);
    if (options.windowed || settings.windowed)
        SetForGame("VELLOMIRA_WINDOWED", "1");
    else
        UnsetForGame("VELLOMIRA_WINDOWED");
    fs::path shots = folder / "screenshots";
    if (!options.screenshotDir.empty()) {
        std::error_code error;
        std::string problem = PlayerPath(options.screenshotDir, fs::current_path(error), shots);
        if (!problem.empty())
            return "--screenshot-dir " + ShownPath(options.screenshotDir) + ": " + problem;
    } else if (!settings.screenshotDir.empty()) {
        std::string problem = PlayerPath(settings.screenshotDir, folder, shots);
        if (!problem.empty())
            Say(ShownPath(Utf8Name(folder / "pref.ini")) +
                ": ScreenshotDir = " + ShownPath(settings.screenshotDir) + ": " + problem +
                "; the screenshots go to " + ShownPath(Utf8Name(shots)));
    }
    SetForGame("VELLOMIRA_SCREENSHOT_DIR", Utf8Name(shots.lexically_normal()));
    return "";
}

// The text of a game that ended without the player quitting, for the message box; "" when it
// ended as asked.
std::string GameFailure(const GameEnd& end)
{
    if (end.status == 0)
        return "";
    if (end.status < 0) {
        std::string line = AbnormalEnd(end);
        Say(line);
        return line;
    }
    std::string text = end.lastLine.empty() ? "" : end.lastLine + "\n";
    return text + end.messages;
}

int Launch(const LaunchOptions& options)
{
    Layout layout = FindLayout();
    std::string folderName = PlayerFolderPath();
    if (folderName.empty())
        return StartFailed(PLAYER_FOLDER_UNKNOWN);
    fs::path folder = Utf8Path(folderName);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return StartFailed(ShownPath(Utf8Name(folder)) + ": " + error.message());
    std::string problem = OpenRunLog(Utf8Name(folder));
    if (!problem.empty())
        Say(problem);
    fs::path world;
    problem = FindWorld(options, layout, world);
    if (problem.empty() && fs::equivalent(world, folder, error))
        problem = ShownPath(Utf8Name(world)) + " is your own folder, not a world to show in it";
    if (problem.empty())
        problem = HandOnSettings(options, folder);
    if (problem.empty())
        problem = PrepareFolder(Utf8Name(world), Utf8Name(folder), [&](const std::string& staged) {
            AddOwnTypes(layout, folder, staged);
        });
    if (!problem.empty())
        return StartFailed(problem);

    GameEnd end = RunGame(Utf8Name(layout.game), Utf8Name(folder));
    std::string failure = GameFailure(end);
    if (!failure.empty())
        ShowFailure(failure);
    return end.status >= 0 ? end.status : AbnormalEndStatus(end);
}
} // namespace

int main(int argc, char** argv)
{
    BeginRunMessages();
    LaunchOptions options;
    std::string error;
    if (!ParseLaunchOptions(SystemProgramArguments(argc, argv), options, error)) {
        std::fprintf(stderr, "vellomira: %s\n%s", ShownText(error).c_str(), LAUNCHER_USAGE);
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
