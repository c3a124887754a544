// Drawing the world for one pass: the water, the bubbles, the cells with their eyes, the
// player, the light around it and the darkness beyond.
#include "game/rendering/rendering.h"
#include "game/data/globals.h"
#include "game/simulation/simulation.h"

namespace {
// The 3D sprite of a table entry, or 0 for an index outside the table.
int32_t Sprite3DOf(const std::vector<SpriteSlots>& table, int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= table.size())
        return 0;
    return table[index][0];
}

int32_t CellFrameSprite3D(int32_t type, int32_t image)
{
    if (type < 1 || type > CellTypeCount || image < 0 || image > MaxFrameIndex)
        return 0;
    return CellSprite(type, image)[0];
}

// A world position as a screen pixel, rounded halves to even.
int32_t ScreenX(double worldX)
{
    return RoundToInteger(worldX - ScreenPosX);
}

int32_t ScreenY(double worldY)
{
    return RoundToInteger(worldY - ScreenPosY);
}

void DrawEyes(const Cell& cell, int32_t image)
{
    EyePlacement eyes[2];
    int32_t count = CellEyes(cell, image, eyes);
    for (int32_t i = 0; i < count; ++i) {
        ScreenPoint pupil = PupilPosition(cell, eyes[i]);
        // Type 3's pupil grows with the size; outside the six dots it has none.
        if (eyes[i].dot >= 1 && eyes[i].dot <= 6)
            DisplaySprite3D(Sprite3DOf(DotSprites, eyes[i].dot), pupil.x, pupil.y, 255);
    }
}
} // namespace

void ClearToWater()
{
    ClearScreen(static_cast<int32_t>(ColorRGB(0, 10, 20)));
}

void StartWorldScene()
{
    Start3D();
    // Source alpha and its inverse: ordinary transparency by each display's opacity.
    Sprite3DBlendingMode(BLEND_SRCALPHA, BLEND_INVSRCALPHA);
}

void DrawBubbles()
{
    ResetList(BubbleList);
    while (const Cell* bubble = NextElementOf<Cell>(BubbleList)) {
        if (!BubbleNearScreen(*bubble))
            continue;
        // The shimmer: each bubble shifts by 0 or 1 pixel on every pass, y drawn first.
        int32_t jitterY = Random(1);
        int32_t jitterX = Random(1);
        DisplaySprite3D(Sprite3DOf(BubbleSprites, bubble->type),
                        ScreenX(double{bubble->x} + jitterX), ScreenY(double{bubble->y} + jitterY),
                        bubble->trans);
    }
}

void DrawCell(const Cell& cell)
{
    int32_t image = ImageIndex(cell);
    int32_t sprite = CellFrameSprite3D(cell.type, image);
    // All cells of a type and image share one 3D sprite: zoom and rotation are set per cell.
    int32_t size = RoundToInteger(cell.size);
    ZoomSprite3D(sprite, size, size);
    RotateSprite3D(sprite, RoundToInteger(cell.angle), 0);
    DisplaySprite3D(sprite, ScreenX(cell.x), ScreenY(cell.y), cell.trans);
    DrawEyes(cell, image);
}

void DrawPlayerAndLight()
{
    int32_t size = RoundToInteger(PlayerSize);
    ZoomSprite3D(PLAYER_SPRITE, size, size);
    RotateSprite3D(PLAYER_SPRITE, RoundToInteger(PlayerAngle), 0);
    DisplaySprite3D(PLAYER_SPRITE, ScreenX(PlayerX), ScreenY(PlayerY), 196);
    // Destination color and inverse destination alpha: what is drawn is multiplied by the
    // light, which is white near the player and black from radius 400 on.
    Sprite3DBlendingMode(BLEND_DESTCOLOR, BLEND_INVDESTALPHA);
    int32_t g = GradientSize;
    int32_t lightX = ScreenX(double{PlayerX} + PlayerSize / 2 - g / 2);
    int32_t lightY = ScreenY(double{PlayerY} + PlayerSize / 2 - g / 2);
    DisplaySprite3D(LIGHT_SPRITE, lightX, lightY, 255);
    Stop3D();
    // The light square's eight neighbours are painted black with the empty darkness tile.
    int32_t dark = g >= 0 && static_cast<size_t>(g) < SizeSprites.size() ? SizeSprites[g][1] : 0;
    const int32_t offsets[8][2] = {{-g, -g}, {-g, 0}, {0, -g}, {g, g},
                                   {g, 0},   {0, g},  {-g, g}, {g, -g}};
    for (const auto& offset : offsets)
        DisplaySprite(dark, lightX + offset[0], lightY + offset[1]);
}
