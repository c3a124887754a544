// Numeric helpers with exactly defined results: truncation, rounding, powers, colors.
#pragma once
#include <cstdint>

// Drops the fraction: 2.9 gives 2, -2.9 gives -2. Values outside the 32-bit range saturate.
int32_t TruncateToInteger(double value);
// Mode 1: ceiling; mode 2: halves away from zero; any other mode: floor.
float RoundFloat(float value, int32_t mode);
double PowerDouble(double base, double exponent);
float PowerFloat(float base, float exponent);
// The arc tangent in radians.
float ArcTangent(float value);
// red + green * 256 + blue * 65536, without masking the components.
uint32_t ColorRGB(uint32_t red, uint32_t green, uint32_t blue);
