// Deterministic trigonometry: range reduction and a Taylor polynomial in plain IEEE doubles.
#include "tools/makedata/steady_math.h"

#include <cmath>

namespace {
// Sine on -PI/2 .. PI/2 by its Taylor series to x^17: the error stays below 1e-15.
double SinePolynomial(double x)
{
    double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 8; ++n) {
        term = -term * x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

// Arc tangent on 0 .. 1 after halving the argument twice: atan x = 2 atan(x / (1 + sqrt(1+x^2))).
double ArcTanUnit(double x)
{
    for (int i = 0; i < 2; ++i)
        x = x / (1.0 + std::sqrt(1.0 + x * x));
    double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 12; ++n) {
        term = -term * x2;
        sum += term / static_cast<double>(2 * n + 1);
    }
    return 4.0 * sum;
}
} // namespace

double Sine(double radians)
{
    double turns = std::nearbyint(radians / TWO_PI);
    double x = radians - turns * TWO_PI;
    if (x > PI / 2)
        x = PI - x;
    else if (x < -PI / 2)
        x = -PI - x;
    return SinePolynomial(x);
}

double Cosine(double radians)
{
    return Sine(radians + PI / 2);
}

double ArcTan2(double y, double x)
{
    double ax = std::fabs(x);
    double ay = std::fabs(y);
    if (ax == 0.0 && ay == 0.0)
        return 0.0;
    double a = ay <= ax ? ArcTanUnit(ay / ax) : PI / 2 - ArcTanUnit(ax / ay);
    if (x < 0)
        a = PI - a;
    return y < 0 ? -a : a;
}

double Clamp(double value, double low, double high)
{
    return value < low ? low : (value > high ? high : value);
}

double Mix(double a, double b, double t)
{
    return a + (b - a) * t;
}

double SmoothStep(double edge0, double edge1, double value)
{
    double t = Clamp((value - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by)
{
    double dx = bx - ax;
    double dy = by - ay;
    double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? Clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0) : 0.0;
    double ex = px - (ax + t * dx);
    double ey = py - (ay + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}
