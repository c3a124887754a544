// Cell behaviour: the four states, what each does on a pass, and how a drawn cell perceives
// the player and picks its next state.
#include "game/simulation/simulation.h"
#include "game/data/globals.h"

namespace {
// Cells with a front turn toward where they want to go and swim along their heading.
bool HasFront(const CellType& type)
{
    return type.Front == 1 || type.Front == 2;
}

// Cells with a front swim along their heading, the others straight toward their target.
void MoveByFront(Cell& cell, const CellType& type)
{
    if (HasFront(type))
        MoveAlong(cell, cell.angle);
    else
        MoveAlongTarget(cell);
}

void IdleStep(Cell& cell)
{
    // The cell spins in place and does not move, whatever its speed.
    cell.turn = cell.angle_s * cell.spin_dir;
}

void WanderStep(Cell& cell, const CellType& type)
{
    if (HasFront(type))
        SteerToward(cell, cell.norm_angle_s);
    else
        cell.turn = cell.flew_angle_s;
    RampSpeed(cell, cell.norm_movespeed);
    MoveByFront(cell, type);
}

// A cell with a backing front swims forward while the escape lies less than 90 degrees off
// its heading, and otherwise backs off toward the opposite top speed.
void BackOffOrSwim(Cell& cell)
{
    int32_t r = AngleDifference(RoundToInteger(cell.target_angle), RoundToInteger(cell.angle));
    if (r > 270 || r < 90) {
        RampSpeed(cell, cell.flew_movespeed);
        fh = 2;
    } else {
        if (cell.speed > -cell.flew_movespeed)
            cell.speed -= cell.accelaration;
        fh = 1;
    }
    SteerToward(cell, cell.flew_angle_s);
}

void FleeStep(Cell& cell, const CellType& type)
{
    int32_t toPlayer =
        Bearing(CellCentreX(cell), CellCentreY(cell), PlayerCentreX(), PlayerCentreY());
    cell.target_angle = static_cast<float>(AddAngle(toPlayer, 180));
    if (type.Front == 1) {
        SteerToward(cell, cell.flew_angle_s);
        RampSpeed(cell, cell.flew_movespeed);
    } else if (type.Front == 2) {
        BackOffOrSwim(cell);
    } else {
        cell.turn = cell.flew_angle_s;
        RampSpeed(cell, cell.flew_movespeed);
    }
    // With a negative speed this moves a cell with a front backward.
    MoveByFront(cell, type);
}

void ChaseStep(Cell& cell, const CellType& type)
{
    cell.target_angle = static_cast<float>(
        Bearing(CellCentreX(cell), CellCentreY(cell), PlayerCentreX(), PlayerCentreY()));
    // Only a cell of front 1 steers; the others keep their turn and swim straight at the player.
    if (type.Front == 1)
        SteerToward(cell, cell.flew_angle_s);
    RampSpeed(cell, cell.flew_movespeed);
    if (type.Front == 1)
        MoveAlong(cell, cell.angle);
    else
        MoveAlongTarget(cell);
}
} // namespace

void BehaviourStep(Cell& cell)
{
    const CellType& type = CellTypeOf(cell);
    switch (cell.state) {
    case Idle:
        cell.frame += cell.idle_anispeed;
        IdleStep(cell);
        break;
    case Flee:
        cell.frame += cell.flew_anispeed;
        FleeStep(cell, type);
        break;
    case Wander:
        cell.frame += cell.flew_anispeed;
        WanderStep(cell, type);
        break;
    case Chase:
        cell.frame += cell.flew_anispeed;
        ChaseStep(cell, type);
        break;
    }
}

void PerceiveAndChoose(Cell& cell)
{
    int32_t distance =
        Distance(CellCentreX(cell), CellCentreY(cell), PlayerCentreX(), PlayerCentreY());
    if (distance < RoundToInteger(cell.mentionradius)) {
        // A cell that ignores the player keeps its state and its timer while it is in reach.
        int8_t reaction = CellTypeOf(cell).Type;
        if (reaction == 1 || reaction == 2) {
            cell.state = reaction == 1 ? Flee : Chase;
            cell.timer = static_cast<int16_t>(240 + Random(120));
        }
    } else if (cell.timer < 1) {
        // The draws come in this order: timer, state, then its target or spin direction.
        cell.timer = static_cast<int16_t>(60 + Random(240));
        if (Random(2) == 1) {
            cell.state = Wander;
            cell.target_angle = static_cast<float>(Random(360));
        } else {
            cell.state = Idle;
            cell.spin_dir = static_cast<int8_t>(RandomSign());
        }
    }
}
