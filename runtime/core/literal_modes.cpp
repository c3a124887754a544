// A shortest path over the literal modes: one state per mode, a switch from the cheapest
// state costing the bits of the width code.
#include "runtime/core/literal_modes.h"

#include "runtime/core/block_stream.h"

#include <cstddef>

namespace {
// State 0 is 8 bits wide; state s from 1 is 7 bits above the base 4 * (s - 1).
constexpr int NARROW_STATES = 64;
constexpr int STATES = 1 + NARROW_STATES;

LiteralMode ModeOf(int state)
{
    return state == 0 ? LiteralMode{8, 0} : LiteralMode{7, uint8_t(4 * (state - 1))};
}

constexpr uint32_t UNREACHABLE_COST = 0xFFFFFFFFu;

// Which states were entered by a switch at one literal.
struct Switches {
    uint64_t narrow = 0;
    bool wide = false;
    uint8_t cheapestBefore = 0;
};
} // namespace

bool OneNarrowModeFits(const uint8_t* bytes, size_t count)
{
    bool present[256] = {};
    for (size_t k = 0; k < count; ++k)
        present[bytes[k]] = true;
    uint8_t distinct[256];
    int distinctCount = 0;
    for (int b = 0; b < 256; ++b)
        if (present[b])
            distinct[distinctCount++] = uint8_t(b);
    for (int s = 1; s < STATES; ++s) {
        LiteralMode mode = ModeOf(s);
        int k = 0;
        while (k < distinctCount && LiteralFits(mode, distinct[k]))
            ++k;
        if (k == distinctCount)
            return true;
    }
    return false;
}

std::vector<LiteralMode> ChooseLiteralModes(const std::vector<uint8_t>& literals)
{
    std::vector<LiteralMode> modes(literals.size());
    if (literals.empty())
        return modes;
    std::vector<Switches> switches(literals.size());
    uint32_t cost[STATES];
    int cheapest = 0;
    uint32_t cheapestCost = 0; // no mode before the first literal: every state is a switch
    for (int s = 0; s < STATES; ++s)
        cost[s] = UNREACHABLE_COST;
    for (size_t k = 0; k < literals.size(); ++k) {
        Switches& sw = switches[k];
        sw.cheapestBefore = uint8_t(cheapest);
        uint32_t nextCheapestCost = UNREACHABLE_COST;
        int nextCheapest = 0;
        for (int s = 0; s < STATES; ++s) {
            LiteralMode mode = ModeOf(s);
            if (!LiteralFits(mode, literals[k])) {
                cost[s] = UNREACHABLE_COST;
                continue;
            }
            uint32_t viaSwitch = cheapestCost + uint32_t(LiteralWidthBits(mode.width));
            bool switched = k == 0 || cost[s] == UNREACHABLE_COST || viaSwitch < cost[s];
            cost[s] = (switched ? viaSwitch : cost[s]) + 1 + mode.width;
            if (switched) {
                if (s == 0)
                    sw.wide = true;
                else
                    sw.narrow |= uint64_t(1) << (s - 1);
            }
            if (cost[s] < nextCheapestCost) {
                nextCheapestCost = cost[s];
                nextCheapest = s;
            }
        }
        cheapest = nextCheapest;
        cheapestCost = nextCheapestCost;
    }
    int state = cheapest;
    for (size_t k = literals.size(); k-- > 0;) {
        modes[k] = ModeOf(state);
        const Switches& sw = switches[k];
        bool switched = state == 0 ? sw.wide : (sw.narrow >> (state - 1)) & 1;
        if (switched)
            state = sw.cheapestBefore;
    }
    return modes;
}
