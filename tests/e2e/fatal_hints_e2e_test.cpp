// The hints of the fatal start-up paths: each on standard error, naming what to change, while
// standard output keeps exactly the console lines and the program still waits for its line.
#include "tests/e2e/child_process.h"
#include "tests/game/game_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <unistd.h>

namespace {
const std::string GAME = VELLOMIRA_BINARY_DIR "/vellomira";

struct GameRun {
    std::vector<std::string> output; // the lines of standard output
    std::string errors;
    int status = -1;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// Runs the game in the folder until it ends, answering its wait with one line.
GameRun RunToTheEnd(const std::string& folder, bool inputIsTerminal = false)
{
    ChildOptions options;
    options.inputIsTerminal = inputIsTerminal;
    ChildProcess game = StartChild(GAME, folder, options);
    ChildGuard guard{game};
    WriteChild(game, "\n");
    std::string output;
    char block[4096];
    for (ssize_t got; (got = read(game.output, block, sizeof block)) > 0;)
        output.append(block, size_t(got));
    GameRun run;
    run.output = Lines(output);
    run.errors = ReadChildErrors(game);
    run.status = WaitChild(game);
    return run;
}

void WriteWorld(const std::string& frame)
{
    WriteGameData({{2, "", {frame}}}, SolidPng(64, 64, 0xFF0000), SolidPng(8, 8, 0xFFFFFF));
}

struct Environment {
    const char* name;
    const char* value; // none unsets it
};

// Sets the variables for the life of the object, then puts back what was there.
struct ScopedEnvironment {
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    explicit ScopedEnvironment(const std::vector<Environment>& environment)
    {
        for (const Environment& e : environment) {
            const char* old = getenv(e.name);
            saved.emplace_back(e.name, old ? std::optional<std::string>(old) : std::nullopt);
            if (e.value)
                setenv(e.name, e.value, 1);
            else
                unsetenv(e.name);
        }
    }
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
};
} // namespace

TEST(FatalHints, EachFatalPathExplainsItselfOnStandardErrorOnly)
{
    const std::vector<Environment> windowless = {{"SDL_VIDEODRIVER", "dummy"},
                                                 {"SDL_RENDER_DRIVER", "software"}};
    struct Case {
        const char* what;
        bool world;
        const char* preferences; // none: no pref.ini
        const char* frame;       // the one frame of the one cell type
        std::vector<Environment> environment;
        const char* fatalLine;
        std::vector<std::string> hints; // texts the hint holds; "@" stands for the folder
    } cases[] = {
        {"no world",
         false,
         nullptr,
         "",
         windowless,
         "Error -> cell.ini",
         {"there is no cell/cell.ini in @.", "`vellomira` command", "scripts/play.sh"}},
        {"a depth no screen has",
         true,
         "Depth = 7\r\n",
         "png",
         windowless,
         "Unable! Check Preferences...",
         {"the screen mode 1024 x 768 at 7 bits cannot be opened", "1 to 8192 pixels",
          "the depth 8, 16, 24 or 32 bits", "Width, Height and Depth in\n@/pref.ini"}},
        {"a width cut to a negative number",
         true,
         "Width = 40000\r\n",
         "png",
         windowless,
         "Unable! Check Preferences...",
         {"the screen mode -25536 x 768 at 32 bits"}},
        {"no display at all",
         true,
         nullptr,
         "png",
         {{"SDL_VIDEODRIVER", "x11"}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}},
         "Unable! Check Preferences...",
         {"no display could be opened", "graphical session"}},
        {"true-colour frames on an 8-bit screen",
         true,
         "Depth = 8\r\n",
         "png",
         windowless,
         "Loading-Error! -> 001.cell.001.png",
         {"8-bit screen (Depth = 8 in @/pref.ini)", "Set Depth to 16, 24 or 32."}},
        {"a frame that is no image",
         true,
         nullptr,
         "no image",
         windowless,
         "Loading-Error! -> 001.cell.001.png",
         {"@/cell/ could not be loaded", "cellpack check"}},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        std::string path = folder.path.string();
        if (c.world)
            WriteWorld(std::string(c.frame) == "png" ? SolidPng(16, 16, 0x00FF00) : c.frame);
        if (c.preferences)
            WriteBytes("pref.ini", c.preferences);
        GameRun run;
        {
            ScopedEnvironment environment(c.environment);
            run = RunToTheEnd(path);
        }

        ASSERT_FALSE(run.output.empty()) << c.what;
        EXPECT_EQ(run.output.back(), c.fatalLine) << c.what;
        EXPECT_EQ(run.status, 1) << c.what;
        for (const std::string& line : run.output)
            EXPECT_EQ(line.find("vellomira:"), std::string::npos) << c.what << ": " << line;
        for (std::string hint : c.hints) {
            if (size_t at = hint.find('@'); at != std::string::npos)
                hint.replace(at, 1, path);
            EXPECT_NE(run.errors.find(hint), std::string::npos)
                << c.what << ": " << hint << "\nnot in:\n"
                << run.errors;
        }
        EXPECT_EQ(run.errors.find("Press Enter"), std::string::npos)
            << c.what << ": the input is no terminal";
    }
}

TEST(FatalHints, OnATerminalTheWaitForEnterIsSaidAndTheTranscriptStaysTheSame)
{
    std::string folder = MakeTemporaryDirectory();
    GameRun piped = RunToTheEnd(folder);
    GameRun typed = RunToTheEnd(folder, true);
    EXPECT_EQ(typed.output, piped.output);
    EXPECT_EQ(typed.status, 1);
    EXPECT_NE(typed.errors.find("Press Enter to end the game."), std::string::npos) << typed.errors;
    EXPECT_LT(typed.errors.find("no cell/cell.ini"), typed.errors.find("Press Enter"))
        << "the reason comes first";
}
