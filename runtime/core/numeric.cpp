// Numeric helpers, computed in double precision and rounded to single where they return floats.
#include "runtime/core/numeric.h"

#include <cmath>

int32_t TruncateToInteger(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

float RoundFloat(float value, int32_t mode)
{
    double v = value;
    switch (mode) {
    case 1:
        return static_cast<float>(std::ceil(v));
    case 2:
        return static_cast<float>(v > 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5));
    default:
        return static_cast<float>(std::floor(v));
    }
}

double PowerDouble(double base, double exponent)
{
    return std::pow(base, exponent);
}

float PowerFloat(float base, float exponent)
{
    return static_cast<float>(std::pow(double{base}, double{exponent}));
}

float ArcTangent(float value)
{
    return static_cast<float>(std::atan(double{value}));
}

uint32_t ColorRGB(uint32_t red, uint32_t green, uint32_t blue)
{
    return red + green * 256u + blue * 65536u;
}
