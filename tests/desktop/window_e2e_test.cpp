// The game's window on a virtual X screen, driven as a window manager and a player would:
// a close request ends a windowed game as Escape does and is ignored full-screen, Alt+Enter
// switches between the two, the window carries the game's icon, and F12 leaves a PNG of
// exactly the frame on the screen.
#include "tests/desktop/x_session.h"
#include "tests/e2e/child_process.h"
#include "tests/game/game_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {
const std::string GAME = VELLOMIRA_BINARY_DIR "/vellomira";
const std::string TITLE = "Vellomira v.0.3a Built 0802251612 by Tarvel";

void Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// A small world: one type of two cells, or none at all for a picture that stands still.
void WriteWorld(bool withCells)
{
    std::vector<CellTypeData> types;
    if (withCells)
        types.push_back({2, "", {SolidPng(16, 16, 0x00FF00)}});
    WriteGameData(types, SolidPng(64, 64, 0xFF0000), SolidPng(8, 8, 0xFFFFFF));
}

// The lines up to the last of the start-up; the main loop runs after it.
bool StartUpEnds(ChildProcess& game)
{
    for (int i = 0; i < 100; ++i) {
        std::string line = ReadChildLine(game);
        if (line == "LoadingSounds...")
            return true;
        if (line.empty() && i > 10)
            return false;
    }
    return false;
}

// True when the child printed a line within the time.
bool SaysSomethingWithin(ChildProcess& game, int milliseconds)
{
    pollfd watch{game.output, POLLIN, 0};
    return poll(&watch, 1, milliseconds) == 1;
}

// One line of the child's standard error, within the time; empty when none came.
std::string ErrorLine(ChildProcess& game, int milliseconds)
{
    std::string line;
    for (char byte = 0; byte != '\n';) {
        pollfd watch{game.errors, POLLIN, 0};
        if (poll(&watch, 1, milliseconds) != 1 || read(game.errors, &byte, 1) != 1)
            return "";
        if (byte != '\n')
            line += byte;
    }
    return line;
}

// Whether the condition comes true within the time (the game reacts at its next pass, which a
// busy machine or the sanitizers may delay).
template <class Condition>
bool Eventually(Condition condition, int milliseconds = 10000)
{
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (condition())
            return true;
        Pause(50);
    }
    return condition();
}

// Escape, as the player quits: "Quit..." is the last line and the exit status 0. The key is
// held until the game answers: it reads the key's state once a pass, and a slow pass (under
// the sanitizers) could fall between a short press and its release.
void QuitWithEscape(XSession& x, ChildProcess& game)
{
    SetKey(x, "Escape", true);
    bool answered = SaysSomethingWithin(game, 10000);
    SetKey(x, "Escape", false);
    ASSERT_TRUE(answered) << "Escape must end the game";
    EXPECT_EQ(ReadChildLine(game), "Quit...");
    EXPECT_EQ(ReadChildLine(game), "") << "nothing after Quit...";
    EXPECT_EQ(WaitChild(game), 0);
}

class GameWindow : public testing::Test {
protected:
    XSession x;
    ScratchFolder folder;
    void SetUp() override
    {
        ASSERT_NE(x.display, nullptr) << "Xvfb did not start";
        unsetenv("VELLOMIRA_WINDOWED");
        unsetenv("VELLOMIRA_SCREENSHOT_DIR");
        unsetenv("VELLOMIRA_POINTER");
        unsetenv("SDL_VIDEODRIVER");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
};
} // namespace

TEST_F(GameWindow, WindowedTheCloseRequestAndAltF4EndTheGameAsEscapeDoes)
{
    WriteWorld(true);
    setenv("VELLOMIRA_WINDOWED", "1", 1);
    for (const char* way : {"close request", "Alt+F4"}) {
        ChildProcess game = StartChild(GAME, folder.path.string());
        ChildGuard guard{game};
        ASSERT_TRUE(StartUpEnds(game)) << way;
        WindowId window = WaitForWindow(x, TITLE);
        ASSERT_NE(window, 0u) << way;
        int32_t width = 0, height = 0;
        WindowSize(x, window, width, height);
        EXPECT_EQ(width, 1024) << way << ": the screen's size, which the desktop holds";
        EXPECT_EQ(height, 768) << way;

        if (std::string(way) == "Alt+F4")
            PressKeyWith(x, "Alt_L", "F4");
        else
            SendCloseRequest(x, window);
        ASSERT_TRUE(SaysSomethingWithin(game, 5000)) << way << " must end the game";
        EXPECT_EQ(ReadChildLine(game), "Quit...") << way;
        EXPECT_EQ(ReadChildLine(game), "") << way << ": nothing after Quit...";
        EXPECT_EQ(WaitChild(game), 0) << way;
    }
}

TEST_F(GameWindow, WindowedThePictureFitsAResizedWindowAndThePointerIsHeldOnlyWithTheFocus)
{
    WriteWorld(false);
    setenv("VELLOMIRA_WINDOWED", "1", 1);
    ChildProcess game = StartChild(GAME, folder.path.string());
    ChildGuard guard{game};
    ASSERT_TRUE(StartUpEnds(game));
    WindowId window = WaitForWindow(x, TITLE);
    ASSERT_NE(window, 0u);
    auto held = [&] { return !PointerIsFree(x); };
    EXPECT_TRUE(Eventually(held)) << "the focused game holds the pointer";

    // 1000 x 400 shows the 4:3 picture 533 pixels wide in the middle, black bars beside it.
    ResizeWindow(x, window, 1000, 400);
    auto litIn = [&](const std::vector<uint32_t>& screen, int32_t width, int32_t left,
                     int32_t right) {
        int32_t lit = 0;
        for (int32_t y = 0; y < 400; ++y)
            for (int32_t x = left; x < right; ++x)
                lit += screen[size_t(y) * size_t(width) + size_t(x)] != 0;
        return lit;
    };
    auto fitted = [&] {
        int32_t width = 0, height = 0;
        std::vector<uint32_t> screen = ScreenPixels(x, width, height);
        return litIn(screen, width, 0, 230) == 0 && litIn(screen, width, 770, 1000) == 0 &&
               litIn(screen, width, 300, 700) > 20000;
    };
    EXPECT_TRUE(Eventually(fitted)) << "bars left and right of the picture scaled into it";

    FocusNothing(x);
    EXPECT_TRUE(Eventually([&] { return PointerIsFree(x); }))
        << "without the focus the pointer is the player's again";
    FocusWindow(x, window);
    EXPECT_TRUE(Eventually(held)) << "with the focus back the game holds it again";

    QuitWithEscape(x, game);
}

TEST_F(GameWindow, FullScreenIgnoresTheCloseRequestAndEndsOnEscape)
{
    WriteWorld(true);
    ChildProcess game = StartChild(GAME, folder.path.string());
    ChildGuard guard{game};
    ASSERT_TRUE(StartUpEnds(game));
    WindowId window = WaitForWindow(x, TITLE);
    ASSERT_NE(window, 0u);

    SendCloseRequest(x, window);
    EXPECT_FALSE(SaysSomethingWithin(game, 1500)) << "full-screen, the game alone decides";
    EXPECT_NE(WaitForWindow(x, TITLE, 100), 0u);

    QuitWithEscape(x, game);
}

namespace {
// The light's centre on the screen: the mean x of the lit pixels below the overlay's text.
double LightCentreX(XSession& x)
{
    int32_t width = 0, height = 0;
    std::vector<uint32_t> screen = ScreenPixels(x, width, height);
    double sum = 0, count = 0;
    for (int32_t y = 420; y < height; ++y)
        for (int32_t column = 0; column < width; ++column)
            if (screen[size_t(y) * size_t(width) + size_t(column)] != 0) {
                sum += column;
                ++count;
            }
    return count > 0 ? sum / count : -1;
}

// Whether the game's cursor, the outline of an arrow head whose tip is one pixel right of and
// below the cursor's position, is drawn at that position of the screen (in the dark).
bool CursorAt(XSession& x, int32_t cursorX, int32_t cursorY)
{
    int32_t width = 0, height = 0;
    std::vector<uint32_t> screen = ScreenPixels(x, width, height);
    auto pixel = [&](int32_t px, int32_t py) {
        return screen[size_t(py) * size_t(width) + size_t(px)];
    };
    return pixel(cursorX + 1, cursorY + 1) == 0xFFFFFF && pixel(cursorX, cursorY) == 0;
}
} // namespace

TEST_F(GameWindow, AnAbsolutePointerPutsTheCursorWhereItPointsAndItsButtonSwims)
{
    // Xvfb's pointers are relative; the game is told that this one points absolutely, as X11
    // tells it of a tablet or a virtual machine's pointer.
    WriteWorld(false);
    setenv("VELLOMIRA_POINTER", "absolute", 1);
    ChildProcess game = StartChild(GAME, folder.path.string());
    ChildGuard guard{game};
    ASSERT_TRUE(StartUpEnds(game));
    ASSERT_NE(WaitForWindow(x, TITLE), 0u);
    ASSERT_TRUE(Eventually([&] { return std::abs(LightCentreX(x) - 512) < 30; }));
    for (auto [pointerX, pointerY] : {std::pair{950, 700}, std::pair{80, 650}}) {
        MovePointer(x, pointerX, pointerY);
        EXPECT_TRUE(Eventually([&] { return CursorAt(x, pointerX, pointerY); }))
            << "the cursor under the pointer at " << pointerX << "," << pointerY;
    }

    // Right of the player, level with it: the cell turns there and swims while the button is
    // held, and the light follows it across the screen.
    MovePointer(x, 950, 384);
    Pause(1000);
    SetButton(x, 1, true);
    bool swam = Eventually([&] { return LightCentreX(x) > 600; });
    SetButton(x, 1, false);
    EXPECT_TRUE(swam) << "the light's centre stayed at " << LightCentreX(x);
    QuitWithEscape(x, game);
}

TEST_F(GameWindow, AltEnterSwitchesBetweenTheDesktopAndAWindowWhoseCloseRequestEndsTheGame)
{
    // A screen smaller than the desktop, so that the window and the covered desktop differ.
    WriteWorld(true);
    WriteBytes("pref.ini", "Width = 640\r\nHeight = 480\r\n");
    ChildProcess game = StartChild(GAME, folder.path.string());
    ChildGuard guard{game};
    ASSERT_TRUE(StartUpEnds(game));
    WindowId window = WaitForWindow(x, TITLE);
    ASSERT_NE(window, 0u);
    // Lit pixels outside the middle 640 x 480 of the desktop: the picture scaled up over all of
    // it, or none around a window of the screen's own size.
    auto litAroundTheMiddle = [&] {
        int32_t width = 0, height = 0;
        std::vector<uint32_t> screen = ScreenPixels(x, width, height);
        int32_t lit = 0;
        for (int32_t row = 0; row < height; ++row)
            for (int32_t column = 0; column < width; ++column)
                if (column < 192 || column >= 832 || row < 144 || row >= 624)
                    lit += screen[size_t(row) * size_t(width) + size_t(column)] != 0;
        return lit;
    };
    auto sized = [&](int32_t width, int32_t height) {
        int32_t w = 0, h = 0;
        WindowSize(x, window, w, h);
        return w == width && h == height;
    };
    auto covering = [&] { return sized(1024, 768) && litAroundTheMiddle() > 10000; };
    auto windowed = [&] { return sized(640, 480) && litAroundTheMiddle() == 0; };
    ASSERT_TRUE(Eventually(covering)) << "full-screen at the start";

    PressKeyWith(x, "Alt_L", "Return");
    EXPECT_TRUE(Eventually(windowed)) << "Alt+Enter: a window of the screen's size";
    PressKeyWith(x, "Alt_L", "Return");
    EXPECT_TRUE(Eventually(covering)) << "Alt+Enter again: the desktop covered";
    SendCloseRequest(x, window);
    EXPECT_FALSE(SaysSomethingWithin(game, 1500)) << "full-screen, the close request is ignored";
    PressKeyWith(x, "Alt_L", "Return");
    ASSERT_TRUE(Eventually(windowed)) << "a window once more";
    SendCloseRequest(x, window);
    ASSERT_TRUE(SaysSomethingWithin(game, 5000)) << "in the window, the close request is heard";
    EXPECT_EQ(ReadChildLine(game), "Quit...");
    EXPECT_EQ(ReadChildLine(game), "") << "nothing after Quit...";
    EXPECT_EQ(WaitChild(game), 0);
}

TEST_F(GameWindow, CarriesTheIconOfTheInstalledPackage)
{
    WriteWorld(false);
    ChildProcess game = StartChild(GAME, folder.path.string());
    ChildGuard guard{game};
    ASSERT_TRUE(StartUpEnds(game));
    WindowId window = WaitForWindow(x, TITLE);
    ASSERT_NE(window, 0u);
    std::vector<uint32_t> icon = WindowIcon(x, window);
    ASSERT_EQ(icon.size(), 2u + 48u * 48u) << "_NET_WM_ICON: width, height, pixels";
    EXPECT_EQ(icon[0], 48u);
    EXPECT_EQ(icon[1], 48u);

    // The same picture as the 48-pixel icon the package installs.
    RegisterPngDecoder();
    std::string png = ReadBytes(VELLOMIRA_BINARY_DIR "/icons/vellomira-48.png");
    ASSERT_EQ(FindImageDecoder(png.data(), int64_t(png.size())), 1);
    std::vector<uint8_t> bgr(48 * 3 * 49);
    ASSERT_NE(DecodeCurrentImage(bgr.data(), 48 * 3), 0);
    int32_t differing = 0;
    for (size_t i = 0; i < 48 * 48; ++i) {
        uint32_t argb = 0xFF000000u | uint32_t(bgr[i * 3 + 2]) << 16 |
                        uint32_t(bgr[i * 3 + 1]) << 8 | bgr[i * 3];
        differing += (icon[2 + i] & 0xFFFFFFFFu) != argb;
    }
    EXPECT_EQ(differing, 0);
    QuitWithEscape(x, game);
}

TEST_F(GameWindow, F12SavesThePresentedFrameAndNamesItOnStandardError)
{
    // No cells, no bubbles (they shimmer on every pass) and no measured overlay values: once
    // the player's cell has turned to the cursor the picture stands still, so the screen
    // shows the frame the shot was made of.
    WriteWorld(false);
    for (int32_t n = 1; n <= 20; ++n)
        std::filesystem::remove("gfx/Blase" + std::to_string(n) + ".png");
    WriteBytes("pref.ini", "FPS anzeige Frequenz = 0\r\n");
    std::string shots = folder.path.string() + "/shots";
    setenv("VELLOMIRA_SCREENSHOT_DIR", shots.c_str(), 1);
    ChildProcess game = StartChild(GAME, folder.path.string());
    ChildGuard guard{game};
    ASSERT_TRUE(StartUpEnds(game));
    ASSERT_NE(WaitForWindow(x, TITLE), 0u);
    auto standsStill = [&] {
        int32_t width = 0, height = 0;
        std::vector<uint32_t> before = ScreenPixels(x, width, height);
        Pause(300);
        return ScreenPixels(x, width, height) == before;
    };
    ASSERT_TRUE(Eventually(standsStill, 20000)) << "the player's cell must come to rest";

    PressKey(x, "F12");
    std::string said = ErrorLine(game, 5000);
    const std::string prefix = "vellomira: screenshot saved as " + shots + "/vellomira-";
    ASSERT_EQ(said.rfind(prefix, 0), 0u) << said;
    std::string path = said.substr(said.find(shots));
    std::string stamp =
        path.substr(prefix.size() - std::string("vellomira: screenshot saved as ").size());
    EXPECT_EQ(stamp.size(), std::string("YYYYMMDD-HHMMSS.png").size()) << path;
    EXPECT_EQ(stamp.find_first_not_of("0123456789"), 8u) << path;

    int32_t width = 0, height = 0;
    std::vector<uint32_t> screen = ScreenPixels(x, width, height);
    ASSERT_EQ(width, 1024);
    ASSERT_EQ(height, 768);
    RegisterPngDecoder();
    std::string png = ReadBytes(path);
    ASSERT_EQ(FindImageDecoder(png.data(), int64_t(png.size())), 1) << path;
    ASSERT_EQ(CurrentImageWidth(), 1024);
    ASSERT_EQ(CurrentImageHeight(), 768);
    std::vector<uint8_t> bgr(size_t(1024) * 3 * 769);
    ASSERT_NE(DecodeCurrentImage(bgr.data(), 1024 * 3), 0);
    int32_t differing = 0, lit = 0;
    for (size_t i = 0; i < screen.size(); ++i) {
        uint32_t rgb = uint32_t(bgr[i * 3 + 2]) << 16 | uint32_t(bgr[i * 3 + 1]) << 8 | bgr[i * 3];
        differing += rgb != screen[i];
        lit += rgb != 0;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(lit, 10000) << "a frame of the world, not a black one";

    QuitWithEscape(x, game); // the transcript goes on as without the shot
}

TEST_F(GameWindow, TheLauncherHandsItsChoicesToTheGamesWindow)
{
    const std::string launcher = VELLOMIRA_BINARY_DIR "/launcher/vellomira";
    std::filesystem::path world = folder.path / "world", home = folder.path / "home";
    std::filesystem::create_directories(world);
    std::filesystem::current_path(world);
    WriteWorld(true);
    std::filesystem::current_path(folder.path);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    std::string shots = (folder.path / "shots").string();
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        const char* preferences; // the player's pref.ini, none for a first start
    } cases[] = {
        {"the options", {"--windowed", "--screenshot-dir", shots}, nullptr},
        {"pref.ini",
         {},
         "Width = 1024\r\n[Launcher]\r\nWindowed = 1\r\nScreenshotDir = "
         "../../shots\r\n"},
    };
    for (const Case& c : cases) {
        if (c.preferences)
            WriteBytes(home / "vellomira" / "pref.ini", c.preferences);
        ChildOptions options;
        options.arguments = c.arguments;
        options.arguments.insert(options.arguments.begin(), {"--world", world.string()});
        ChildProcess game = StartChild(launcher, folder.path.string(), options);
        ChildGuard guard{game};
        ASSERT_TRUE(StartUpEnds(game)) << c.what;
        WindowId window = WaitForWindow(x, TITLE);
        ASSERT_NE(window, 0u) << c.what;
        PressKey(x, "F12");
        std::string said = ErrorLine(game, 5000);
        EXPECT_EQ(said.rfind("vellomira: screenshot saved as " + shots + "/vellomira-", 0), 0u)
            << c.what << ": " << said;
        SendCloseRequest(x, window);
        ASSERT_TRUE(SaysSomethingWithin(game, 5000)) << c.what << ": windowed, it must close";
        EXPECT_EQ(ReadChildLine(game), "Quit...") << c.what;
        EXPECT_EQ(WaitChild(game), 0) << c.what;
    }
    unsetenv("XDG_DATA_HOME");
}
