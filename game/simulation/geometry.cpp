// The game's geometry: rounding to integers, the sine and cosine tables and their index,
// bearings, distances and whole-degree angle arithmetic shared by the player and the cells.
#include "game/simulation/simulation.h"

#include <cmath>

std::array<float, TRIG_TABLE_SIZE> SinTable;
std::array<float, TRIG_TABLE_SIZE> CosTable;

int32_t RoundToInteger(double value)
{
    // The default rounding mode rounds halves to even, as float-to-integer assignment does.
    return TruncateToInteger(std::nearbyint(value));
}

int32_t TrigIndex(float angle)
{
    // Multiplied in double: a float product could round 0.7 * 10 up to 7 where the tenths
    // truncate to 6.
    int32_t index = TruncateToInteger(double{angle} * 10.0);
    if (index < 0)
        return 0;
    if (index > TRIG_TABLE_SIZE - 1)
        return TRIG_TABLE_SIZE - 1;
    return index;
}

void BuildTrigTables()
{
    // Pi is the single-precision constant, widened: the tables must hold exactly these values.
    const double pi = double{3.1415927f};
    for (int32_t i = 0; i < TRIG_TABLE_SIZE; ++i)
        SinTable[i] = static_cast<float>(std::sin(i / 10.0 * pi / 180.0));
    for (int32_t i = 0; i < TRIG_TABLE_SIZE; ++i)
        CosTable[i] = static_cast<float>(std::cos(i / 10.0 * pi / 180.0));
}

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
