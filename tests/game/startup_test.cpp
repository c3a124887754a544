#include "game/data/globals.h"
#include "game/simulation/simulation.h"
#include "game/startup/startup.h"

#include <gtest/gtest.h>

TEST(Startup, TitlesCarryTheBuildMoment)
{
    BuildTitles();
    EXPECT_EQ(BuildDate, "0802251612");
    EXPECT_EQ(VersionText, "v.0.3a Built 0802251612");
    EXPECT_EQ(TitleText, "Vellomira v.0.3a Built 0802251612 by Tarvel");
}

TEST(Startup, TrigTablesHoldSinglePrecisionValuesOfTheWidenedPi)
{
    BuildTrigTables();
    // Values of sin and cos at i tenths of a degree, computed in double precision with pi
    // taken as the float 3.1415927, rounded to float.
    struct Case {
        int i;
        float sine, cosine;
    } cases[] = {{0, 0.0f, 1.0f},
                 {1, 0.0017453284235671163f, 0.9999984502792358f},
                 {450, 0.7071067690849304f, 0.7071067690849304f},
                 {900, 1.0f, -4.371138828673793e-08f},
                 {1800, -8.742277657347586e-08f, -1.0f},
                 {2700, -1.0f, 1.3113417196564114e-07f},
                 {3333, -0.44931885600090027f, 0.8933714628219604f},
                 {3600, 1.7484555314695172e-07f, 1.0f}};
    for (const Case& c : cases) {
        EXPECT_EQ(SinTable[c.i], c.sine) << "i = " << c.i;
        EXPECT_EQ(CosTable[c.i], c.cosine) << "i = " << c.i;
    }
}

TEST(Startup, InitGlobalsSetsTheDefaults)
{
    ClearGlobals();
    InitGlobals();
    EXPECT_EQ(ScreenWidth, 1024);
    EXPECT_EQ(ScreenHeight, 768);
    EXPECT_EQ(ScreenDepth, 32);
    EXPECT_EQ(WorldWidth, 10000);
    EXPECT_EQ(PlayerMaxTurn, 3.75f);
    EXPECT_EQ(GradientSize, 1024);
    EXPECT_EQ(CellTypeCount, 5);
    EXPECT_EQ(MaxFrameIndex, 99);
    EXPECT_EQ(ListSize(BubbleList), 0);
    EXPECT_NE(BubbleList.header, nullptr);
    EXPECT_NE(CellList.header, nullptr);
    SizeTables();
    EXPECT_EQ(SizeSprites.size(), 2049u);
    EXPECT_EQ(CellSprites.size(), 6u * 100u);
    EXPECT_EQ(CellTypes.size(), 6u);
    ClearGlobals();
}
