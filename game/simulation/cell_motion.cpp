// Cell motion and animation: the per-pass start of every cell and the motion primitives that
// its behaviour uses.
#include "game/simulation/simulation.h"
#include "game/data/globals.h"

#include <algorithm>

float CellCentreX(const Cell& cell)
{
    return cell.x + cell.size / 2;
}

float CellCentreY(const Cell& cell)
{
    return cell.y + cell.size / 2;
}

const CellType& CellTypeOf(const Cell& cell)
{
    static const CellType none;
    if (cell.type < 1 || static_cast<size_t>(cell.type) >= CellTypes.size())
        return none;
    return CellTypes[cell.type];
}

namespace {
// Brings a cell from the far side of a seam near the player, who is close to that seam.
void RehomeAcrossSeams(Cell& cell)
{
    if (EdgeX == 1 && cell.x < ScreenWidth)
        cell.x += WorldWidth;
    if (EdgeY == 1 && cell.y < ScreenHeight)
        cell.y += WorldHeight;
    if (EdgeX == -1 && cell.x > WorldWidth - ScreenWidth)
        cell.x -= WorldWidth;
    if (EdgeY == -1 && cell.y > WorldHeight - ScreenHeight)
        cell.y -= WorldHeight;
}
} // namespace

void BeginCellPass(Cell& cell)
{
    cell.timer = static_cast<int16_t>(static_cast<uint16_t>(cell.timer) - 1u);
    // The excess beyond a full turn is dropped: 361.5 becomes 0, not 1.5.
    cell.angle += cell.turn;
    if (cell.angle > 360)
        cell.angle = 0;
    else if (cell.angle < 0)
        cell.angle = 360;
    if (EdgeX != 0 || EdgeY != 0)
        RehomeAcrossSeams(cell);
    x_b = RoundToInteger(cell.x);
    y_b = RoundToInteger(cell.y);
}

void SteerToward(Cell& cell, float rate)
{
    float d = cell.angle - cell.target_angle;
    TurnDifference = d > 0 ? RoundToInteger(d) : RoundToInteger(d + 360);
    if (TurnDifference < 180) {
        if (TurnDifference < 2)
            cell.turn = 0;
        else if (TurnDifference < 5)
            cell.turn = rate / -3;
        else
            cell.turn = -rate;
    } else {
        if (TurnDifference > 358)
            cell.turn = 0;
        else if (TurnDifference > 355)
            cell.turn = rate / 3;
        else
            cell.turn = rate;
    }
}

void RampSpeed(Cell& cell, float top)
{
    // No clamp: the speed may end one step above the top, and a faster cell keeps its speed.
    if (cell.speed < top)
        cell.speed += cell.accelaration;
}

void MoveAlong(Cell& cell, float heading)
{
    int32_t i = TrigIndex(heading);
    cell.x += SinTable[i] * cell.speed;
    cell.y += CosTable[i] * -cell.speed;
}

void MoveAlongTarget(Cell& cell)
{
    MoveAlong(cell, cell.target_angle);
    zAngle = RoundToInteger(cell.target_angle);
}

void WrapAnimation(Cell& cell)
{
    int32_t n = CellTypeOf(cell).FrameCount;
    if (CellTypeOf(cell).AniType == 0) {
        if (cell.frame > 2 * n - 2)
            cell.frame = 0;
    } else if (cell.frame > n) {
        cell.frame = 0;
    }
}

int32_t ImageIndex(const Cell& cell)
{
    int64_t n = CellTypeOf(cell).FrameCount;
    int64_t f = TruncateToInteger(RoundFloat(cell.frame, 0));
    if (f > n - 1)
        f = 2 * n - f - 2;
    // A cycling type of one image at the phase 1, a type without images, or a phase below 0
    // would name an image before the first; they show the first.
    FrameIndex = static_cast<int32_t>(std::max<int64_t>(f, 0));
    return FrameIndex;
}
