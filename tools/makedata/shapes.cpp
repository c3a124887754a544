// Soft-edged shapes: each computes a signed distance per pixel and blends its coverage once.
#include "tools/makedata/shapes.h"

#include "tools/makedata/steady_math.h"

#include <cmath>

double EdgeSoftness(const Canvas& canvas)
{
    return 1.2 * PixelUnit(canvas);
}

void PaintDisc(Canvas& canvas, Point centre, double radius, Rgb color, double alpha)
{
    double soft = EdgeSoftness(canvas), reach = radius + soft;
    PaintBox(canvas, centre.u - reach, centre.v - reach, centre.u + reach, centre.v + reach,
             [&](double u, double v, Paint& paint) {
                 double du = u - centre.u, dv = v - centre.v;
                 double d = std::sqrt(du * du + dv * dv) - radius;
                 paint.color = color;
                 paint.alpha = alpha * Coverage(d, soft);
             });
}

void PaintVesicle(Canvas& canvas, Point centre, double radius, Rgb color, double alpha)
{
    double soft = EdgeSoftness(canvas), reach = radius + soft;
    PaintBox(canvas, centre.u - reach, centre.v - reach, centre.u + reach, centre.v + reach,
             [&](double u, double v, Paint& paint) {
                 double du = u - centre.u, dv = v - centre.v;
                 double r = std::sqrt(du * du + dv * dv);
                 double rim = SmoothStep(0.35, 1.0, r / radius);
                 paint.color = color;
                 paint.alpha = alpha * (0.35 + 0.65 * rim) * Coverage(r - radius, soft);
             });
}

void PaintRing(Canvas& canvas, Point centre, double radius, double thickness, Rgb color,
               double alpha)
{
    double soft = EdgeSoftness(canvas), reach = radius + thickness + soft;
    PaintBox(canvas, centre.u - reach, centre.v - reach, centre.u + reach, centre.v + reach,
             [&](double u, double v, Paint& paint) {
                 double du = u - centre.u, dv = v - centre.v;
                 double d = std::fabs(std::sqrt(du * du + dv * dv) - radius) - thickness / 2;
                 paint.color = color;
                 paint.alpha = alpha * Coverage(d, soft);
             });
}

void PaintEllipse(Canvas& canvas, Point centre, double a, double b, double angle, Rgb color,
                  double alpha)
{
    double soft = EdgeSoftness(canvas), reach = (a > b ? a : b) + soft;
    double c = Cosine(angle), s = Sine(angle);
    PaintBox(canvas, centre.u - reach, centre.v - reach, centre.u + reach, centre.v + reach,
             [&](double u, double v, Paint& paint) {
                 double du = u - centre.u, dv = v - centre.v;
                 double x = du * c + dv * s, y = -du * s + dv * c;
                 double k = std::sqrt((x / a) * (x / a) + (y / b) * (y / b));
                 double r = std::sqrt(x * x + y * y);
                 double d = k > 1e-9 ? r - r / k : -a;
                 paint.color = color;
                 paint.alpha = alpha * Coverage(d, soft);
             });
}

void PaintStroke(Canvas& canvas, const Point* points, int32_t count, double startWidth,
                 double endWidth, Rgb color, double alpha)
{
    if (count < 2)
        return;
    double soft = EdgeSoftness(canvas), pixel = PixelUnit(canvas);
    double u0 = points[0].u, v0 = points[0].v, u1 = u0, v1 = v0;
    for (int32_t i = 1; i < count; ++i) {
        u0 = std::fmin(u0, points[i].u), u1 = std::fmax(u1, points[i].u);
        v0 = std::fmin(v0, points[i].v), v1 = std::fmax(v1, points[i].v);
    }
    double reach = (startWidth > endWidth ? startWidth : endWidth) * pixel + soft;
    PaintBox(canvas, u0 - reach, v0 - reach, u1 + reach, v1 + reach,
             [&](double u, double v, Paint& paint) {
                 double best = 1e9;
                 for (int32_t i = 0; i + 1 < count; ++i) {
                     double t = (i + 0.5) / (count - 1);
                     double half = Mix(startWidth, endWidth, t) * pixel / 2;
                     double d = SegmentDistance(u, v, points[i].u, points[i].v, points[i + 1].u,
                                                points[i + 1].v) -
                                half;
                     best = d < best ? d : best;
                 }
                 paint.color = color;
                 paint.alpha = alpha * Coverage(best, soft);
             });
}
