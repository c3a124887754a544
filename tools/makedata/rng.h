// The generator's own random numbers (splitmix64): the same seed gives the same images on
// every machine and with every standard library.
#pragma once
#include <cstdint>

struct Rng {
    uint64_t state;
};

Rng MakeRng(uint64_t seed);
uint64_t NextBits(Rng& rng);
// Uniform in [low, high), from the top 53 bits.
double Uniform(Rng& rng, double low, double high);
// A whole number from 0 to count - 1.
int32_t Below(Rng& rng, int32_t count);

// Smooth value noise in 0 .. 1 on a lattice of unit cells, the same for the same seed.
double ValueNoise(double x, double y, uint32_t seed);
