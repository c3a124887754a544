// The eyes of the cell types 3, 6, 13 and 14: pupils placed around the cell's centre along its
// heading and pushed a little toward the player.
#include "game/rendering/rendering.h"
#include "game/data/globals.h"
#include "game/simulation/simulation.h"

#include <cmath>

int32_t Type14EyeRadius;

namespace {
// The single-precision constants the eyes were authored against.
constexpr double PI = double{3.1415927f};
constexpr double HALF_PI = double{1.5707964f};

// The radius of the two eyes of type 14 follows the shape of images 0 to 2; other images keep
// the radius of the last of those shown by any cell of the type.
int32_t Type14Radius(const Cell& cell, int32_t image)
{
    static const float scale[3] = {0.375f, 0.398437f, 0.429687f};
    if (image >= 0 && image <= 2)
        Type14EyeRadius = RoundToInteger(cell.size * scale[image]);
    return Type14EyeRadius;
}
} // namespace

int32_t CellEyes(const Cell& cell, int32_t image, EyePlacement eyes[2])
{
    switch (cell.type) {
    case 3:
        eyes[0] = {
            cell.size / 2.666666f, -2.385944f, 32.0f, 0, TruncateToInteger(cell.size / 32), 0};
        return 1;
    case 6:
        eyes[0] = {cell.size / 3.506849f, -0.77421f, 51.2f, 0, 6, -3};
        return 1;
    case 13:
        eyes[0] = {cell.size * 0.378906f, -20.422333f, 25.6f, 1, 6, -3};
        eyes[1] = {cell.size * 0.363281f, 19.209372f, 36.571426f, 1, 4, -3};
        return 2;
    case 14: {
        float radius = static_cast<float>(Type14Radius(cell, image));
        eyes[0] = {radius, 0, 42.666664f, 0, 5, -3};
        eyes[1] = {-radius, 0, 42.666664f, 0, 5, -3};
        return 2;
    }
    default:
        return 0;
    }
}

ScreenPoint PupilPosition(const Cell& cell, const EyePlacement& eye)
{
    double theta = (double{cell.angle} + eye.delta) / 180.0 * PI - HALF_PI;
    double centreX = double{cell.x} + cell.size / 2;
    double centreY = double{cell.y} + cell.size / 2;
    int32_t eyeX = RoundToInteger(centreX + eye.radius * std::cos(theta) - 1);
    int32_t eyeY = RoundToInteger(centreY + eye.radius * std::sin(theta) - 1);
    eyeAngle = Bearing(static_cast<float>(eyeX), static_cast<float>(eyeY), PlayerCentreX(),
                       PlayerCentreY());
    double phi = eyeAngle / 180.0 * PI - HALF_PI;
    double reach = double{cell.size} / eye.divisor;
    int32_t pupilX = RoundToInteger(reach * std::cos(phi));
    int32_t pupilY = RoundToInteger(reach * std::sin(phi) + eye.lift);
    return ScreenPoint{eyeX + pupilX - ScreenPosX, eyeY + pupilY - ScreenPosY + eye.dy};
}
