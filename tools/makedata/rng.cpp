// Splitmix64 and a hashed value noise: integer mixing, so every machine sees the same values.
#include "tools/makedata/rng.h"

#include <cmath>

Rng MakeRng(uint64_t seed)
{
    return Rng{seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull};
}

uint64_t NextBits(Rng& rng)
{
    uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Uniform(Rng& rng, double low, double high)
{
    double unit = static_cast<double>(NextBits(rng) >> 11) * (1.0 / 9007199254740992.0);
    return low + (high - low) * unit;
}

int32_t Below(Rng& rng, int32_t count)
{
    if (count <= 0)
        return 0;
    return static_cast<int32_t>(NextBits(rng) % static_cast<uint64_t>(count));
}

namespace {
double LatticeValue(int64_t x, int64_t y, uint32_t seed)
{
    uint64_t h = static_cast<uint64_t>(x) * 0x8DA6B343ull ^
                 static_cast<uint64_t>(y) * 0xD8163841ull ^
                 static_cast<uint64_t>(seed) * 0xCB1AB31Full;
    h = (h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return static_cast<double>(h & 0xFFFFFF) / 16777215.0;
}

double Fade(double t)
{
    return t * t * (3.0 - 2.0 * t);
}
} // namespace

double ValueNoise(double x, double y, uint32_t seed)
{
    double fx = std::floor(x);
    double fy = std::floor(y);
    int64_t ix = static_cast<int64_t>(fx);
    int64_t iy = static_cast<int64_t>(fy);
    double tx = Fade(x - fx);
    double ty = Fade(y - fy);
    double top = LatticeValue(ix, iy, seed) +
                 (LatticeValue(ix + 1, iy, seed) - LatticeValue(ix, iy, seed)) * tx;
    double bottom = LatticeValue(ix, iy + 1, seed) +
                    (LatticeValue(ix + 1, iy + 1, seed) - LatticeValue(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}
