// The game's images, made once at start-up in three stages: image files loaded into sprites,
// sprites drawn by the program, and the 3D sprites the world is drawn with.
#include "game/data/data.h"
#include "game/data/globals.h"

namespace {
// Dynamic objects are known by handles that fit the 32-bit entries of the tables.
int32_t Handle(intptr_t object)
{
    return static_cast<int32_t>(object);
}

// The cursor: the outline of an arrow head with its tip at (1, 1), on a transparent ground.
void CreateCursor()
{
    CreateSprite(CURSOR_SPRITE, 16, 16, 0);
    StartDrawing(SpriteDrawTarget(CURSOR_SPRITE));
    DrawBox(0, 0, 16, 16, MAGENTA);
    DrawLine(1, 1, 16, 8, WHITE);
    DrawLine(1, 1, 8, 16, WHITE);
    DrawLine(16, 8, 8, 16, WHITE);
    StopDrawing();
}

// The light: a radial gradient, white within radius 145, one grey step darker per pixel
// outward, black from radius 400 on. Each filled circle covers the middle of the last.
void CreateLight()
{
    CreateSprite(LIGHT_SPRITE, GradientSize, GradientSize, SPRITE_TEXTURE);
    StartDrawing(SpriteDrawTarget(LIGHT_SPRITE));
    // The light's black ground: a box of 1280 x 800, the screen it was first made for, clipped
    // to the sprite. A new sprite is black already, so the box changes no pixel.
    DrawBox(0, 0, 1280, 800, BLACK);
    for (uint32_t i = 0; i <= 255; ++i)
        DrawCircle(GradientSize / 2, GradientSize / 2, 400 - static_cast<int32_t>(i),
                   ColorRGB(i, i, i));
    StopDrawing();
}

// Black squares of the edges 1, 2, 4 ... 2048, left as created; 1024 is the darkness tile.
void CreateEmptySquares()
{
    for (int32_t i = 0; i <= 11; ++i) {
        int32_t edge = TruncateToInteger(PowerDouble(2.0, i));
        SizeSprites[edge][1] = Handle(CreateSprite(DYNAMIC_OBJECT, edge, edge, 0));
    }
}

// The pupils: black dots about i pixels across in the top-left corner of 8 x 8 sprites.
void DrawDot(int32_t i)
{
    switch (i) {
    case 1:
        PlotPixel(0, 0, BLACK);
        break;
    case 2:
        DrawCircle(0, 0, 1, BLACK);
        break;
    case 3:
        PlotPixel(1, 0, BLACK);
        PlotPixel(1, 1, BLACK);
        PlotPixel(1, 2, BLACK);
        PlotPixel(0, 1, BLACK);
        PlotPixel(2, 1, BLACK);
        break;
    case 4:
        DrawCircle(2, 2, 2, BLACK);
        break;
    case 5:
        DrawBox(1, 1, 3, 3, BLACK);
        PlotPixel(0, 2, BLACK);
        PlotPixel(2, 0, BLACK);
        PlotPixel(4, 2, BLACK);
        PlotPixel(2, 4, BLACK);
        break;
    default:
        DrawCircle(3, 3, 3, BLACK);
        break;
    }
}

void CreateDots()
{
    for (int32_t i = 1; i <= 6; ++i) {
        int32_t dot = Handle(CreateSprite(DYNAMIC_OBJECT, 8, 8, SPRITE_TEXTURE));
        DotSprites[i][1] = dot;
        StartDrawing(SpriteDrawTarget(dot));
        DrawBox(0, 0, 8, 8, MAGENTA);
        DrawDot(i);
        StopDrawing();
    }
}
} // namespace

void LoadImageSprites()
{
    SetTransparentColor(-1, MAGENTA);
    LoadSprite(PLAYER_SPRITE, PLAYER_IMAGE_NAME, SPRITE_TEXTURE);
    for (int32_t i = 1; i <= BUBBLE_IMAGE_COUNT; ++i)
        BubbleSprites[i][1] =
            Handle(LoadSprite(DYNAMIC_OBJECT, BubbleImageName(i), SPRITE_TEXTURE));
}

void CreateDrawnSprites()
{
    CreateCursor();
    CreateLight();
    CreateEmptySquares();
    CreateDots();
}
void CreateSprite3Ds()
{
    Sprite3DQuality(BilinearFiltering);
    CreateSprite3D(PLAYER_SPRITE, PLAYER_SPRITE);
    CreateSprite3D(LIGHT_SPRITE, LIGHT_SPRITE);
    for (int32_t i = 1; i <= 20; ++i)
        BubbleSprites[i][0] = Handle(CreateSprite3D(DYNAMIC_OBJECT, BubbleSprites[i][1]));
    for (int32_t i = 1; i <= 6; ++i)
        DotSprites[i][0] = Handle(CreateSprite3D(DYNAMIC_OBJECT, DotSprites[i][1]));
    for (int32_t t = 1; t <= CellTypeCount; ++t)
        for (int32_t k = 0; k < CellTypes[t].FrameCount && k <= MaxFrameIndex; ++k)
            CellSprite(t, k)[0] = Handle(CreateSprite3D(DYNAMIC_OBJECT, CellSprite(t, k)[1]));
}
