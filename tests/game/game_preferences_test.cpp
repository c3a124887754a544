#include "game/data/data.h"
#include "game/data/globals.h"
#include "game/startup/startup.h"
#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/system.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>

namespace {
// The defaults in force and the console printing into a file of the scratch folder.
struct GamePreferencesTest : testing::Test {
    ScratchFolder folder;
    int console = SystemOpenFile("console.txt", O_WRONLY | O_CREAT | O_TRUNC);
    void SetUp() override
    {
        ClearGlobals();
        InitGlobals();
        OpenConsoleOn(0, console);
    }
    void TearDown() override
    {
        ClosePreferences();
        OpenConsoleOn(0, 1);
        CloseDescriptor(console);
        ClearGlobals();
    }
    std::string Printed() { return ReadBytes("console.txt"); }
    void ExpectDefaults()
    {
        EXPECT_EQ(ScreenWidth, 1024);
        EXPECT_EQ(ScreenHeight, 768);
        EXPECT_EQ(ScreenDepth, 32);
        EXPECT_EQ(BilinearFiltering, 1);
        EXPECT_EQ(FpsDisplay, 10);
    }
};

const char DEFAULT_FILE[] = "; Hier k\xF6nnen verschiedene Einstellungen ver\xE4ndert werden...\r\n"
                            "; \r\n"
                            "; Grafik:\r\n"
                            "; \r\n"
                            "Width = 1024\r\n"
                            "Height = 768\r\n"
                            "Depth = 32\r\n"
                            "Bilineare Filterung = 1\r\n"
                            "; \r\n"
                            "; Sound:\r\n"
                            "; \r\n"
                            "; \r\n"
                            "; Einstellungen:\r\n"
                            "; \r\n"
                            "FPS anzeige Frequenz = 10\r\n";
} // namespace

TEST_F(GamePreferencesTest, FirstStartWritesTheFifteenDefaultLines)
{
    LoadOrCreatePreferences();
    EXPECT_EQ(Printed(), "LoadingSaves...\n  No Preferences found, creating...\n");
    EXPECT_EQ(FileSize("pref.ini"), -1) << "the text reaches the disk when the file is closed";
    EndSequence();
    EXPECT_EQ(ReadBytes("pref.ini"), DEFAULT_FILE);
    ExpectDefaults();

    LoadOrCreatePreferences();
    EXPECT_EQ(Printed(), "LoadingSaves...\n  No Preferences found, creating...\nLoadingSaves...\n");
    ExpectDefaults();
}

TEST_F(GamePreferencesTest, TheFileReplacesTheValuesCutToTheirWidth)
{
    struct Case {
        const char* file;
        int16_t width, height;
        int8_t depth, bilinear, fps;
    } cases[] = {
        {"Width = 800\r\n", 800, 768, 32, 1, 10},
        {"WIDTH=640\nheight=480\ndepth=16\n", 640, 480, 16, 1, 10},
        {"Depth = 256\nFPS anzeige Frequenz = 0\nbilineare filterung = 0", 1024, 768, 0, 0, 0},
        {"Width = 70000\nHeight = -1\nDepth = 300", 4464, -1, 44, 1, 10},
        {"Width = wide\n[Grafik]\nHeight = 600\n", 0, 768, 32, 1, 10},
        {"", 1024, 768, 32, 1, 10},
    };
    for (const Case& c : cases) {
        InitGlobals();
        WriteBytes("pref.ini", c.file);
        LoadOrCreatePreferences();
        EXPECT_EQ(ScreenWidth, c.width) << c.file;
        EXPECT_EQ(ScreenHeight, c.height) << c.file;
        EXPECT_EQ(ScreenDepth, c.depth) << c.file;
        EXPECT_EQ(BilinearFiltering, c.bilinear) << c.file;
        EXPECT_EQ(FpsDisplay, c.fps) << c.file;
        ClosePreferences();
        EXPECT_EQ(ReadBytes("pref.ini"), c.file) << "the file is never completed or rewritten";
    }
    EXPECT_EQ(Printed().find("Error"), std::string::npos) << Printed();
}

TEST_F(GamePreferencesTest, AFolderNamedPrefIniLeavesTheDefaults)
{
    std::filesystem::create_directory("pref.ini");
    LoadOrCreatePreferences();
    EXPECT_EQ(Printed(), "LoadingSaves...\nError while loading Preferences!\n");
    ExpectDefaults();
    WriteDefaultPreferences();
    EXPECT_EQ(Printed(), "LoadingSaves...\nError while loading Preferences!\n"
                         "Error while creating Preferences!\n");
    EndSequence();
    EXPECT_EQ(FileSize("pref.ini"), -2);
}
