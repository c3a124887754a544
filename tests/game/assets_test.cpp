#include "game/data/data.h"
#include "tests/game/game_data.h"
#include "tests/game/world.h"

#include <gtest/gtest.h>

namespace {
// The pixel of a sprite as 0xRRGGBB; its surface is in the 32-bit screen's format 7.
uint32_t SpritePixel(int32_t sprite, int32_t x, int32_t y)
{
    const Surface* surface = SpriteSurface(sprite);
    if (!surface || x < 0 || y < 0 || x >= surface->width || y >= surface->height)
        return 0xDEADBEEF;
    const uint8_t* p = SurfaceRow(*surface, y) + 4 * x;
    return p[2] << 16 | p[1] << 8 | p[0];
}
} // namespace

TEST(Assets, DrawnSpritesHoldTheCursorTheLightTheSquaresAndTheDots)
{
    SetUpWorld();
    ASSERT_NE(InitSprite(), 0);
    ASSERT_NE(OpenScreen(1024, 768, 32, "assets"), 0);
    CreateDrawnSprites();
    EXPECT_EQ(SpritePixel(CURSOR_SPRITE, 1, 1), 0xFFFFFFu) << "the cursor's tip";
    EXPECT_EQ(SpritePixel(CURSOR_SPRITE, 0, 0), 0xFF00FFu) << "transparent ground";
    EXPECT_EQ(SpritePixel(CURSOR_SPRITE, 16 - 1, 8 - 1), 0xFF00FFu);
    EXPECT_EQ(SpritePixel(LIGHT_SPRITE, 512, 512), 0xFFFFFFu) << "the light's centre";
    uint32_t grey = SpritePixel(LIGHT_SPRITE, 812, 512);
    EXPECT_NEAR(static_cast<int>(grey & 0xFF), 100, 2) << "300 pixels out";
    EXPECT_EQ(SpritePixel(LIGHT_SPRITE, 0, 0), 0u) << "the light's corner";
    EXPECT_EQ(SpritePixel(LIGHT_SPRITE, 1023, 1023), 0u) << "below the black box: black as made";
    for (int32_t edge = 0; edge <= 2048; ++edge) {
        bool power = edge > 0 && (edge & (edge - 1)) == 0;
        EXPECT_EQ(SizeSprites[edge][1] != 0, power) << "edge " << edge;
    }
    int32_t black = 0;
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            black += SpritePixel(DotSprites[1][1], x, y) == 0;
    EXPECT_EQ(black, 1);
    EXPECT_EQ(SpritePixel(DotSprites[1][1], 0, 0), 0u);
    EndSprite();
}

TEST(Assets, AMissingBubbleImageLeavesItsEntryEmpty)
{
    SetUpWorld();
    ScratchFolder folder;
    WriteGameData({}, SolidPng(64, 64, 0xFF0000), SolidPng(8, 8, 0xFFFFFF));
    std::filesystem::remove("gfx/Blase7.png");
    RegisterPngDecoder();
    ASSERT_NE(InitSprite(), 0);
    ASSERT_NE(OpenScreen(1024, 768, 32, "assets"), 0);
    LoadImageSprites();
    EXPECT_EQ(BubbleSprites[7][1], 0);
    EXPECT_NE(BubbleSprites[6][1], 0);
    EXPECT_NE(BubbleSprites[8][1], 0);
    EXPECT_EQ(SpritePixel(1, 10, 10), 0xFF0000u) << "the player's image";
    EndSprite();
}
