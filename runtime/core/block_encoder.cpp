// The compressor: candidate matches, a shortest-path parse over the bits each code costs,
// then the literal widths and the index width fitted to the parse, and the bits written.
#include "runtime/core/block_encoder.h"

#include "runtime/core/block_decoder.h"
#include "runtime/core/block_stream.h"
#include "runtime/core/literal_modes.h"
#include "runtime/core/match_finder.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

namespace {
enum class Code : uint8_t { Literal, ZeroByte, ShortCopy, ShortMatch, Match, Repeat, RawRun };

struct Step {
    uint32_t length;
    uint32_t distance;
    Code code;
    uint8_t from; // the arrival at the step's start that it continues
};

// One way to arrive at a position. Each position keeps the cheapest few arrivals with
// different last distances, so that a repeat match can pay off a path that was dearer so far.
// The arriving step is kept in 16 bytes with its price: a copy's distance is the last
// distance it leaves, except a one-byte copy's, which keeps the last distance as it was.
// The price is kept complemented, so that an arrival of all zero bytes is an unreached one:
// the table of arrivals (96 bytes an input byte) then starts as memory the system hands out
// zeroed and maps only where it is written, and the long matches that skip most positions of
// a repetitive input leave most of it untouched.
struct Arrival {
    uint32_t unpaid; // ~price, the price being the bits from the start
    uint32_t last;   // the last distance on that path
    uint32_t length; // of the step that arrives
    Code code;
    uint8_t from;
    uint8_t copyDistance; // of a one-byte copy

    uint32_t Price() const { return ~unpaid; }
};
constexpr int ARRIVALS = 6;

struct FreeArrivals {
    void operator()(Arrival* arrivals) const { std::free(arrivals); }
};

constexpr uint32_t UNREACHABLE = 0xFFFFFFFFu;
// What a literal that does not fit the planned width is guessed to cost: the literal and
// half of switching away and back.
constexpr uint8_t MISFIT_LITERAL_BITS = 9 + 13;

struct Parser {
    const uint8_t* data;
    uint32_t size;
    const MatchTable& table;
    const std::vector<uint8_t>& literalBits;
    int indexWidth;
    uint32_t niceLength;
    std::unique_ptr<Arrival[], FreeArrivals> arrivals; // Arrivals per position, cheapest first
};

// Files an arrival among the position's cheapest ones, one per last distance.
void Relax(Parser& p, uint32_t to, uint32_t price, uint32_t last, Step step)
{
    Arrival* slots = &p.arrivals[size_t(to) * ARRIVALS];
    if (slots[ARRIVALS - 1].Price() <= price)
        return; // no dearer slot to take: most offers end here
    int at = 0;
    while (at < ARRIVALS && slots[at].Price() <= price) {
        if (slots[at].last == last)
            return; // as cheap or cheaper with the same distance
        ++at;
    }
    if (at == ARRIVALS)
        return;
    int drop = ARRIVALS - 1; // the slot that goes: the same distance if dearer, else the last
    for (int k = at; k < ARRIVALS; ++k) {
        if (slots[k].last == last && slots[k].Price() != UNREACHABLE) {
            drop = k;
            break;
        }
    }
    for (int k = drop; k > at; --k)
        slots[k] = slots[k - 1];
    uint8_t copyDistance = step.code == Code::ShortCopy ? uint8_t(step.distance) : 0;
    slots[at] = Arrival{~price, last, step.length, step.code, step.from, copyDistance};
}

uint32_t CommonLength(const uint8_t* data, uint32_t pos, uint32_t distance, uint32_t limit)
{
    uint32_t length = 0;
    while (length < limit && data[pos + length] == data[pos + length - distance])
        ++length;
    return length;
}

// Bits of a match of a length at a distance by the cheapest code that takes it; 0 for none.
uint32_t CopyBits(uint32_t distance, uint32_t length, int indexWidth, Code& code)
{
    if (distance <= SHORT_MATCH_MAX_DISTANCE && length <= SHORT_MATCH_MAX_LENGTH) {
        code = Code::ShortMatch;
        return SHORT_MATCH_BITS;
    }
    code = Code::Match;
    return uint32_t(MatchBits(distance, length, indexWidth));
}

// The nearest distance from which a one-byte copy takes the byte at pos; 0 for none.
uint32_t ShortCopyDistance(const uint8_t* data, uint32_t pos)
{
    uint32_t reach = std::min<uint32_t>(pos, SHORT_COPY_MAX_DISTANCE);
    for (uint32_t d = 1; d <= reach; ++d)
        if (data[pos - d] == data[pos])
            return d;
    return 0;
}

// Single bytes keep the last distance, so they continue every arrival.
void RelaxSingleBytes(Parser& p, uint32_t pos, uint32_t copyDistance, const Arrival& here,
                      uint8_t from)
{
    Relax(p, pos + 1, here.Price() + p.literalBits[pos], here.last, {1, 0, Code::Literal, from});
    if (p.data[pos] == 0)
        Relax(p, pos + 1, here.Price() + SHORT_COPY_BITS, here.last, {1, 0, Code::ZeroByte, from});
    else if (copyDistance != 0)
        Relax(p, pos + 1, here.Price() + SHORT_COPY_BITS, here.last,
              {1, copyDistance, Code::ShortCopy, from});
}

// Returns the end of a repeat long enough to be taken whole, else 0.
uint32_t RelaxRepeat(Parser& p, uint32_t pos, const Arrival& here, uint8_t from)
{
    if (here.last > pos)
        return 0;
    uint32_t length = CommonLength(p.data, pos, here.last, p.size - pos);
    if (length >= p.niceLength) {
        Relax(p, pos + length, here.Price() + RepeatMatchBits(length), here.last,
              {length, here.last, Code::Repeat, from});
        return pos + length;
    }
    for (uint32_t l = 2; l <= length; ++l)
        Relax(p, pos + l, here.Price() + RepeatMatchBits(l), here.last,
              {l, here.last, Code::Repeat, from});
    return 0;
}

// Each length up to the longest candidate, at the nearest distance that reaches it, and a
// farther source of the same length at that length, which leaves a different last distance
// behind. A match sets the last distance, so only the cheapest arrival needs to start one.
// Returns the end of a match long enough to be taken whole, else 0.
uint32_t RelaxMatches(Parser& p, uint32_t pos, const Arrival& here)
{
    uint32_t begin = p.table.first[pos], end = p.table.first[pos + 1];
    if (begin == end)
        return 0;
    const MatchCandidate& longest = p.table.matches[end - 1];
    Code code;
    if (longest.length >= p.niceLength) {
        uint32_t bits = CopyBits(longest.distance, longest.length, p.indexWidth, code);
        Relax(p, pos + longest.length, here.Price() + bits, longest.distance,
              {longest.length, longest.distance, code, 0});
        return pos + longest.length;
    }
    uint32_t reached = 1;
    for (uint32_t k = begin; k < end; ++k) {
        const MatchCandidate& m = p.table.matches[k];
        uint32_t shortest = m.length > reached ? reached + 1 : m.length;
        for (uint32_t l = shortest; l <= m.length; ++l) {
            uint32_t bits = CopyBits(m.distance, l, p.indexWidth, code);
            if (bits != 0)
                Relax(p, pos + l, here.Price() + bits, m.distance, {l, m.distance, code, 0});
        }
        reached = std::max(reached, m.length);
    }
    return 0;
}

std::vector<Step> Parse(Parser& p)
{
    p.arrivals.reset(
        static_cast<Arrival*>(std::calloc((size_t(p.size) + 1) * ARRIVALS, sizeof(Arrival))));
    if (!p.arrivals)
        throw std::bad_alloc();
    p.arrivals[0] = Arrival{~0u, 1, 0, Code::Literal, 0, 0};
    uint32_t skipUntil = 0;
    for (uint32_t pos = 0; pos < p.size; ++pos) {
        if (pos < skipUntil)
            continue;
        const Arrival* slots = &p.arrivals[size_t(pos) * ARRIVALS];
        const Arrival best = slots[0];
        if (p.size - pos >= RAW_RUN_LENGTH)
            Relax(p, pos + RAW_RUN_LENGTH, best.Price() + RAW_RUN_BITS, best.last,
                  {RAW_RUN_LENGTH, 0, Code::RawRun, 0});
        uint32_t jump = RelaxRepeat(p, pos, best, 0);
        uint32_t copyDistance = ShortCopyDistance(p.data, pos);
        for (uint8_t k = 0; k < ARRIVALS && slots[k].Price() != UNREACHABLE; ++k) {
            const Arrival here = slots[k];
            RelaxSingleBytes(p, pos, copyDistance, here, k);
            if (k > 0 && jump == 0)
                RelaxRepeat(p, pos, here, k);
        }
        if (jump == 0)
            jump = RelaxMatches(p, pos, best);
        skipUntil = jump;
    }
    std::vector<Step> steps;
    uint8_t slot = 0;
    for (uint32_t pos = p.size; pos > 0;) {
        const Arrival& arrival = p.arrivals[size_t(pos) * ARRIVALS + slot];
        uint32_t distance = arrival.code == Code::ShortCopy ? arrival.copyDistance : arrival.last;
        Step step{arrival.length, distance, arrival.code, arrival.from};
        steps.push_back(step);
        slot = step.from;
        pos -= step.length;
    }
    std::reverse(steps.begin(), steps.end());
    p.arrivals.reset();
    return steps;
}

std::vector<uint8_t> LiteralsOf(const uint8_t* data, const std::vector<Step>& steps)
{
    std::vector<uint8_t> literals;
    uint32_t pos = 0;
    for (const Step& step : steps) {
        if (step.code == Code::Literal)
            literals.push_back(data[pos]);
        pos += step.length;
    }
    return literals;
}

// First guess: 7-bit literals wherever a stretch of the data keeps to one 128-value window
// and is long enough to pay for the code that sets the width.
std::vector<uint8_t> GuessLiteralBits(const uint8_t* data, uint32_t size)
{
    constexpr uint32_t STRETCH = 4096;
    const uint32_t shortest = uint32_t(LiteralWidthBits(7) - LiteralWidthBits(8));
    std::vector<uint8_t> bits(size);
    for (uint32_t start = 0; start < size; start += STRETCH) {
        uint32_t stop = std::min(size, start + STRETCH);
        bool narrow = stop - start > shortest && OneNarrowModeFits(data + start, stop - start);
        std::fill(bits.begin() + start, bits.begin() + stop, narrow ? 8 : 9);
    }
    return bits;
}

// Literal costs from the widths chosen for an earlier parse: each position takes the mode of
// the literal at or before it.
std::vector<uint8_t> PlannedLiteralBits(const uint8_t* data, uint32_t size,
                                        const std::vector<Step>& steps,
                                        const std::vector<LiteralMode>& modes)
{
    std::vector<uint8_t> bits(size);
    if (modes.empty()) {
        std::fill(bits.begin(), bits.end(), 9);
        return bits;
    }
    size_t literal = 0;
    LiteralMode mode = modes.front();
    uint32_t pos = 0;
    for (const Step& step : steps) {
        if (step.code == Code::Literal)
            mode = modes[literal++];
        for (uint32_t k = 0; k < step.length; ++k, ++pos)
            bits[pos] = LiteralFits(mode, data[pos]) ? 1 + mode.width : MISFIT_LITERAL_BITS;
    }
    return bits;
}

// The index width that makes the parse's far matches cheapest, counting the code that sets it.
int ChooseIndexWidth(const std::vector<Step>& steps)
{
    int bestWidth = DEFAULT_INDEX_WIDTH;
    uint64_t bestBits = UINT64_MAX;
    for (int width = 1; width <= 24; ++width) {
        uint64_t bits = width == DEFAULT_INDEX_WIDTH ? 0 : IndexWidthBits(width);
        for (const Step& step : steps)
            if (step.code == Code::Match)
                bits += GammaBits((uint64_t(step.distance) >> width) + 3) + width;
        if (bits < bestBits) {
            bestBits = bits;
            bestWidth = width;
        }
    }
    return bestWidth;
}

void WriteSteps(const uint8_t* data, const std::vector<Step>& steps,
                const std::vector<LiteralMode>& modes, int indexWidth, BlockStream& stream)
{
    if (indexWidth != DEFAULT_INDEX_WIDTH)
        PutIndexWidth(stream, indexWidth);
    LiteralMode current{0, 0};
    size_t literal = 0;
    uint32_t pos = 0;
    for (size_t k = 0; k < steps.size(); ++k) {
        const Step& step = steps[k];
        switch (step.code) {
        case Code::Literal: {
            LiteralMode mode = modes[literal++];
            if (!(mode == current))
                PutLiteralWidth(stream, mode.width, mode.base);
            current = mode;
            PutLiteral(stream, data[pos], mode.width, mode.base);
            break;
        }
        case Code::ZeroByte:
            PutZeroByte(stream);
            break;
        case Code::ShortCopy:
            PutShortCopy(stream, step.distance);
            break;
        case Code::ShortMatch:
            PutShortMatch(stream, step.distance, step.length);
            break;
        case Code::Match:
            PutMatch(stream, step.distance, step.length, indexWidth);
            break;
        case Code::Repeat:
            PutRepeatMatch(stream, step.length);
            break;
        case Code::RawRun: {
            size_t runs = 1;
            while (k + runs < steps.size() && steps[k + runs].code == Code::RawRun)
                ++runs;
            PutRawRuns(stream, data + pos, runs);
            k += runs - 1;
            pos += uint32_t(RAW_RUN_LENGTH * (runs - 1));
            break;
        }
        }
        pos += step.length;
    }
    PutEnd(stream);
}

void Encode(const uint8_t* data, uint32_t size, const std::vector<Step>& steps,
            const std::vector<LiteralMode>& modes, int indexWidth, std::vector<uint8_t>& block)
{
    BlockStream stream;
    WriteSteps(data, steps, modes, indexWidth, stream);
    block.clear();
    FinishBlock(stream, data, size, true, block);
}

void Compress(const uint8_t* data, uint32_t size, std::vector<uint8_t>& block)
{
    MatchFinderSettings settings;
    MatchTable table;
    FindMatches(data, size, settings, table);
    std::vector<uint8_t> literalBits = GuessLiteralBits(data, size);
    Parser first{data, size, table, literalBits, DEFAULT_INDEX_WIDTH, settings.niceLength, {}};
    std::vector<Step> steps = Parse(first);
    std::vector<LiteralMode> modes = ChooseLiteralModes(LiteralsOf(data, steps));
    Encode(data, size, steps, modes, DEFAULT_INDEX_WIDTH, block);

    // Second parse with the widths the first one suggests; keep whichever is smaller.
    literalBits = PlannedLiteralBits(data, size, steps, modes);
    int indexWidth = ChooseIndexWidth(steps);
    Parser second{data, size, table, literalBits, indexWidth, settings.niceLength, {}};
    steps = Parse(second);
    modes = ChooseLiteralModes(LiteralsOf(data, steps));
    std::vector<uint8_t> other;
    Encode(data, size, steps, modes, indexWidth, other);
    if (other.size() < block.size())
        block.swap(other);
}
} // namespace

bool PackBlock(const uint8_t* data, size_t size, std::vector<uint8_t>& block)
{
    block.clear();
    if (size > LARGEST_UNPACKED_SIZE || (size != 0 && !data))
        return false;
    try {
        Compress(data, uint32_t(size), block);
        return true;
    } catch (const std::bad_alloc&) {
        block.clear();
        block.shrink_to_fit();
        return false;
    }
}

namespace {
// The entry's header (unpacked size, stored size) and its stored bytes.
bool AppendFramedEntry(std::vector<uint8_t>& pack, size_t size, const uint8_t* stored,
                       size_t storedSize)
{
    try {
        pack.reserve(pack.size() + 8 + storedSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (uint32_t value : {uint32_t(size), uint32_t(storedSize)})
        for (int k = 0; k < 4; ++k)
            pack.push_back(uint8_t(value >> (8 * k)));
    pack.insert(pack.end(), stored, stored + storedSize);
    return true;
}
} // namespace

bool AppendPackEntry(std::vector<uint8_t>& pack, const uint8_t* data, size_t size)
{
    std::vector<uint8_t> block;
    if (!PackBlock(data, size, block))
        return false;
    bool compressed = block.size() < size;
    return compressed ? AppendFramedEntry(pack, size, block.data(), block.size())
                      : AppendFramedEntry(pack, size, data, size);
}

bool AppendStoredPackEntry(std::vector<uint8_t>& pack, const uint8_t* data, size_t size)
{
    return size <= LARGEST_UNPACKED_SIZE && AppendFramedEntry(pack, size, data, size);
}
