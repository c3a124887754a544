// The player, camera and debug values that the passes of the main loop change.
#include "game/game.h"

float PlayerSpeed;
float PlayerAngle;
float PlayerTurn;
int32_t MouseWorldX;
int32_t MouseWorldY;
int32_t MouseBearing;
int32_t TurnDifference;
int32_t EdgeX;
int32_t EdgeY;
int32_t FrameIndex;
int32_t zAngle;
int32_t x_b;
int32_t y_b;
int32_t fh;
int32_t eyeAngle;

void ClearSimulationGlobals()
{
    PlayerSpeed = PlayerAngle = PlayerTurn = 0;
    MouseWorldX = MouseWorldY = MouseBearing = TurnDifference = EdgeX = EdgeY = 0;
    FrameIndex = zAngle = x_b = y_b = fh = eyeAngle = 0;
    Type14EyeRadius = 0;
}
