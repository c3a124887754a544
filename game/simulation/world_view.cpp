// Which parts of the world are near enough to the screen to be drawn.
#include "game/game.h"

namespace {
// Strictly within the margin around the screen, in world pixels.
bool NearScreen(float x, float y, int32_t margin)
{
    return x > ScreenPosX - margin && y > ScreenPosY - margin &&
           x < ScreenPosX + ScreenWidth + margin && y < ScreenPosY + ScreenHeight + margin;
}
} // namespace

bool BubbleNearScreen(const Cell& bubble)
{
    return NearScreen(bubble.x, bubble.y, 64);
}

bool CellNearScreen(const Cell& cell)
{
    return NearScreen(cell.x, cell.y, 256);
}

void PlacePlayerAndCamera()
{
    PlayerX = (WorldWidth - PlayerSize) / 2;
    PlayerY = (WorldHeight - PlayerSize) / 2;
    ScreenPosX = (WorldWidth - ScreenWidth) / 2;
    ScreenPosY = (WorldHeight - ScreenHeight) / 2;
}
