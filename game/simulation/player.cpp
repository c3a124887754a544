// The player's cell: speed from the left button, heading toward the mouse, and its step.
#include "game/simulation/simulation.h"
#include "game/data/globals.h"

float PlayerCentreX()
{
    return PlayerX + PlayerSize / 2;
}

float PlayerCentreY()
{
    return PlayerY + PlayerSize / 2;
}

void TakeMouseWorldPosition(int32_t mouseX, int32_t mouseY)
{
    MouseWorldX = static_cast<int32_t>(static_cast<uint32_t>(mouseX) + ScreenPosX);
    MouseWorldY = static_cast<int32_t>(static_cast<uint32_t>(mouseY) + ScreenPosY);
}

void UpdatePlayerSpeed(bool buttonDown)
{
    // The distance is measured only while the button is down.
    bool drive = buttonDown && Distance(PlayerCentreX(), PlayerCentreY(), MouseWorldX,
                                        MouseWorldY) > RoundToInteger(PlayerSize / 2);
    if (drive) {
        if (PlayerSpeed < PlayerMaxSpeed) {
            PlayerSpeed += PlayerAcceleration;
            if (PlayerSpeed > PlayerMaxSpeed)
                PlayerSpeed = PlayerMaxSpeed;
        }
    } else if (PlayerSpeed > 0) {
        PlayerSpeed -= PlayerDeceleration;
        if (PlayerSpeed < 0)
            PlayerSpeed = 0;
    }
}

void UpdatePlayerHeading()
{
    MouseBearing = Bearing(PlayerCentreX(), PlayerCentreY(), MouseWorldX, MouseWorldY);
    float d = PlayerAngle - MouseBearing;
    TurnDifference = d > 0 ? RoundToInteger(d) : RoundToInteger(d + 360);
    // The rate is not clamped after a halving; the heading settles with a small swing.
    if (TurnDifference >= 180) {
        if (PlayerTurn < PlayerMaxTurn)
            PlayerTurn += PlayerTurnAcceleration;
        if (TurnDifference > 355)
            PlayerTurn /= 2;
    } else {
        if (PlayerTurn > -PlayerMaxTurn)
            PlayerTurn -= PlayerTurnAcceleration;
        if (TurnDifference < 5)
            PlayerTurn /= 2;
    }
    PlayerAngle += PlayerTurn;
    if (PlayerAngle > 360)
        PlayerAngle -= 360;
    else if (PlayerAngle < 0)
        PlayerAngle += 360;
}

void MovePlayerAndCamera()
{
    int32_t i = TrigIndex(PlayerAngle);
    float dx = SinTable[i] * PlayerSpeed;
    float dy = CosTable[i] * -PlayerSpeed;
    PlayerX += dx;
    PlayerY += dy;
    ScrollCamera(dx, dy);
    WrapPlayerAtSeams();
    SetSeamFlags();
}
