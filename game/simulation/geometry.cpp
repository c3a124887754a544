// Bearings, distances and whole-degree angle arithmetic shared by the player and the cells.
#include "game/game.h"

#include <cmath>

int32_t Bearing(float x1, float y1, float x2, float y2)
{
    // Two coincident points have no direction between them; they face up.
    if (x1 == x2 && y1 == y2)
        return 0;
    // Straight above or below, the quotient is an infinity and the arc tangent +-90 degrees.
    float quotient = static_cast<float>((double{y2} - y1) / (double{x2} - x1));
    double degrees = ArcTangent(quotient) / 3.14159265358979 * 180.0;
    int32_t bearing = RoundToInteger(degrees) + 90;
    if (x1 > x2)
        bearing += 180;
    return bearing;
}

int32_t Distance(float x1, float y1, float x2, float y2)
{
    float squares = PowerFloat(x2 - x1, 2) + PowerFloat(y2 - y1, 2);
    float root = static_cast<float>(std::sqrt(double{squares}));
    return RoundToInteger(root);
}

int32_t AddAngle(int32_t a, int32_t b)
{
    int32_t sum = static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
    if (sum > 360)
        return sum - 360;
    if (sum < 0)
        return sum + 360;
    return sum;
}

int32_t AngleDifference(int32_t a, int32_t b)
{
    int32_t difference = static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
    if (difference < 0)
        return difference + 360;
    if (difference >= 360)
        return difference - 360;
    return difference;
}

int32_t RandomSign()
{
    return Random(1) != 0 ? -1 : 1;
}
