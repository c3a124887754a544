// The game places a pupil (a black dot sprite, drawn unscaled) at a point R pixels from the
// cell's centre in the direction heading + delta, pushed toward the player by size / D. The
// socket must hold the pupil's whole travel, the dot's own radius, and the offsets the game
// adds in screen space (which do not turn with the cell), plus rounding.
#include "tools/makedata/eye_sockets.h"

#include "tools/makedata/steady_math.h"
#include "tools/makedata/shapes.h"

#include <cmath>

namespace {
struct Eye {
    double reach;   // R as a multiple of the size
    double delta;   // degrees from the heading
    double divisor; // D
    double lift;    // k, added to the pupil's y offset
    int32_t dot;    // pupil sprite 1 .. 6; 0: size / 32
    double shift;   // dy, added to the screen y
};

// Pupil dots: where their centre lies in the 8 x 8 sprite (continuous coordinates) and their
// radius, as the game draws them.
const double DOT_CENTRE[7] = {0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0};
const double DOT_RADIUS[7] = {0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0};

// Rounding of the eye point, the pupil offset and the image's own position, in pixels.
constexpr double ROUNDING = 2.2;

int32_t EyesOf(int32_t type, int32_t frame, Eye eyes[2])
{
    switch (type) {
    case 3:
        eyes[0] = {1 / 2.666666, -2.385944, 32, 0, 0, 0};
        return 1;
    case 6:
        eyes[0] = {1 / 3.506849, -0.77421, 51.2, 0, 6, -3};
        return 1;
    case 13:
        eyes[0] = {0.378906, -20.422333, 25.6, 1, 6, -3};
        eyes[1] = {0.363281, 19.209372, 36.571426, 1, 4, -3};
        return 2;
    case 14: {
        static const double QS[3] = {0.375, 0.398437, 0.429687};
        double q = QS[frame < 0 ? 0 : (frame > 2 ? 2 : frame)];
        eyes[0] = {q, 0, 42.666664, 0, 5, -3};
        eyes[1] = {q, 180, 42.666664, 0, 5, -3};
        return 2;
    }
    default:
        return 0;
    }
}

// Pixels from the socket centre that the pupil's far edge can reach, for one size.
double Travel(const Eye& eye, int32_t size)
{
    int32_t dot = eye.dot > 0 ? eye.dot : size / 32;
    if (dot < 1 || dot > 6)
        return 0; // no pupil sprite: nothing to hold
    double ox = DOT_CENTRE[dot] - 1, oy = DOT_CENTRE[dot] - 1 + eye.shift + eye.lift;
    return size / eye.divisor + std::sqrt(ox * ox + oy * oy) + DOT_RADIUS[dot] + ROUNDING;
}
} // namespace

int32_t EyeSocketsOf(int32_t type, int32_t frame, int32_t sizeMin, int32_t sizeMax,
                     EyeSocket sockets[2])
{
    Eye eyes[2];
    int32_t count = EyesOf(type, frame, eyes);
    if (sizeMin < 1)
        sizeMin = 1;
    for (int32_t i = 0; i < count; ++i) {
        double radius = 0;
        for (int32_t size = sizeMin; size <= sizeMax; ++size)
            radius = std::fmax(radius, 2 * Travel(eyes[i], size) / size);
        double angle = eyes[i].delta * PI / 180;
        sockets[i] = {2 * eyes[i].reach * Sine(angle), -2 * eyes[i].reach * Cosine(angle), radius};
    }
    return count;
}

void PaintEyeSockets(Canvas& canvas, const EyeSocket* sockets, int32_t count, Rgb tint)
{
    double pixel = PixelUnit(canvas), soft = EdgeSoftness(canvas);
    Rgb pale = {Mix(tint.r, 255, 0.75), Mix(tint.g, 255, 0.75), Mix(tint.b, 255, 0.75)};
    for (int32_t i = 0; i < count; ++i) {
        Point centre = {sockets[i].u, sockets[i].v};
        double r = sockets[i].radius;
        PaintDisc(canvas, centre, r + 2.5 * pixel, {10, 25, 35}, 0.8);
        // The eyeball: pale in the middle, taking the cell's tint toward its rim.
        PaintBox(canvas, centre.u - r - soft, centre.v - r - soft, centre.u + r + soft,
                 centre.v + r + soft, [&](double u, double v, Paint& paint) {
                     double du = u - centre.u, dv = v - centre.v;
                     double d = std::sqrt(du * du + dv * dv);
                     double t = SmoothStep(0.3, 1.0, d / r);
                     paint.color = {Mix(pale.r, tint.r * 0.8, t), Mix(pale.g, tint.g * 0.8, t),
                                    Mix(pale.b, tint.b * 0.8, t)};
                     paint.alpha = 0.95 * Coverage(d - r, soft);
                 });
        PaintRing(canvas, centre, r + 0.5 * pixel, 1.0 * pixel, {30, 50, 55}, 0.6);
    }
}
