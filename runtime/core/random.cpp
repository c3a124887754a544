// The random generator: a lagged pair of rotating 32-bit sums over 17 entries.
#include "runtime/core/random.h"

#include "runtime/core/timing.h"

#include <bit>

namespace {
struct Entry {
    uint32_t low;
    uint32_t high;
};

struct RandomGenerator {
    bool seeded = false;
    Entry table[17] = {};
    int i = 0;
    int j = 0;
};
RandomGenerator Generator;

uint64_t Step()
{
    Entry& first = Generator.table[Generator.i];
    const Entry& second = Generator.table[Generator.j];
    uint32_t a = std::rotl(first.high, 27) + second.high;
    uint32_t b = std::rotl(first.low, 19) + second.low;
    first.low = a;
    first.high = b;
    Generator.i = Generator.i == 0 ? 16 : Generator.i - 1;
    Generator.j = Generator.j == 0 ? 16 : Generator.j - 1;
    return (uint64_t{b} << 32) | a;
}
} // namespace

void RandomSeed(uint32_t seed)
{
    uint32_t x = seed;
    for (int k = 0; k < 34; ++k) {
        x = x * 0xAC564B05u + 1u;
        Entry& entry = Generator.table[k / 2];
        (k % 2 == 0 ? entry.low : entry.high) = x;
    }
    Generator.i = 0;
    Generator.j = 10;
    Generator.seeded = true;
    for (int k = 0; k < 31; ++k)
        Step();
}

int32_t Random(int32_t maximum)
{
    if (!Generator.seeded)
        RandomSeed(ElapsedMilliseconds());
    uint64_t x = Step();
    if (maximum < 0)
        return INT32_MIN;
    uint64_t n = static_cast<uint64_t>(maximum) + 1;
    return static_cast<int32_t>((static_cast<unsigned __int128>(x) * n) >> 64);
}
