// The camera: its start over the player, scrolling at the screen's margins, the jumps across
// the world's seams, and which parts of the world are near enough to the screen to be drawn.
#include "game/simulation/simulation.h"
#include "game/data/globals.h"

namespace {
// True when the player is within the margin of one edge along an axis and the cursor lies on
// that side of it: the camera follows only a player that swims toward the cursor.
bool NearEdgeTowardCursor(float player, int32_t screenPos, int32_t screenSize, int32_t border,
                          int32_t mouseWorld)
{
    if (player + PlayerSize - screenPos > screenSize - border && mouseWorld - player > 0)
        return true;
    return player - screenPos < border && mouseWorld - player < 0;
}

// Player and camera jump together along one axis, so the picture does not move. The far seam
// counts as crossed only once the player's left (top) edge is a whole size beyond it.
void WrapAxis(float& player, int32_t& screenPos, int32_t worldSize)
{
    if (player - PlayerSize > worldSize) {
        player -= worldSize;
        screenPos -= worldSize;
    }
    if (player < 0) {
        player += worldSize;
        screenPos += worldSize;
    }
}

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

void ScrollCamera(float dx, float dy)
{
    // The camera moves by the rounded step, so a step below half a pixel leaves it still.
    if (NearEdgeTowardCursor(PlayerX, ScreenPosX, ScreenWidth, BorderX, MouseWorldX))
        ScreenPosX = RoundToInteger(double{dx} + ScreenPosX);
    if (NearEdgeTowardCursor(PlayerY, ScreenPosY, ScreenHeight, BorderY, MouseWorldY))
        ScreenPosY = RoundToInteger(double{dy} + ScreenPosY);
}

void WrapPlayerAtSeams()
{
    WrapAxis(PlayerX, ScreenPosX, WorldWidth);
    WrapAxis(PlayerY, ScreenPosY, WorldHeight);
}

void SetSeamFlags()
{
    EdgeX = PlayerX > WorldWidth - ScreenWidth ? 1 : PlayerX < ScreenWidth ? -1 : 0;
    EdgeY = PlayerY > WorldHeight - ScreenHeight ? 1 : PlayerY < ScreenHeight ? -1 : 0;
}
