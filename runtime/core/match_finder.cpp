// Binary-tree match finder over the whole input: each position becomes the root of its hash
// bucket's tree, and the walk that re-hangs the old nodes beneath it meets the longest
// matches on the way.
#include "runtime/core/match_finder.h"

#include <algorithm>
#include <bit>

namespace {
constexpr uint32_t NONE = 0xFFFFFFFFu;
// Hash tables grow with the input up to these sizes: a small input needs few buckets, and
// clearing the largest tables would cost more than the whole search.
constexpr int LARGEST_HASH3_BITS = 18;
constexpr int LARGEST_HASH2_BITS = 16;
constexpr int SMALLEST_HASH_BITS = 6;

int HashBitsFor(size_t size, int largest)
{
    return std::clamp(int(std::bit_width(size)), SMALLEST_HASH_BITS, largest);
}

uint32_t Hash3(const uint8_t* p, int bits)
{
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return (v * 2654435761u) >> (32 - bits);
}

uint32_t Hash2(const uint8_t* p, int bits)
{
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8;
    return (v * 2654435761u) >> (32 - bits);
}

struct Finder {
    const uint8_t* data;
    size_t size;
    MatchFinderSettings settings;
    int hash3Bits;
    int hash2Bits;
    std::vector<uint32_t> head3;
    std::vector<uint32_t> head2;
    std::vector<uint32_t> children; // two per position: smaller, larger
};

// Inserts pos as the root of its tree and appends the matches met on the way that are longer
// than any nearer one, and a few as long as the longest so far (farther sources). The walk
// meets older positions the deeper it goes, so distances grow along it. Returns the longest
// length found.
uint32_t InsertAndFind(Finder& f, uint32_t pos, uint32_t maxLength, uint32_t bestLength,
                       std::vector<MatchCandidate>& out)
{
    const uint8_t* data = f.data;
    size_t room = out.size() + f.settings.candidates;
    uint32_t hash = Hash3(data + pos, f.hash3Bits);
    uint32_t current = f.head3[hash];
    f.head3[hash] = pos;
    uint32_t* smallerSlot = &f.children[2 * size_t(pos)];
    uint32_t* largerSlot = &f.children[2 * size_t(pos) + 1];
    uint32_t smallerLength = 0, largerLength = 0;
    for (int depth = f.settings.depth; current != NONE && depth > 0; --depth) {
        uint32_t length = smallerLength < largerLength ? smallerLength : largerLength;
        const uint8_t* a = data + current;
        const uint8_t* b = data + pos;
        while (length < maxLength && a[length] == b[length])
            ++length;
        if (length > bestLength || (length == bestLength && length >= 3 && out.size() < room)) {
            bestLength = length;
            out.push_back({length, pos - current});
        }
        if (length == maxLength) {
            *smallerSlot = f.children[2 * size_t(current)];
            *largerSlot = f.children[2 * size_t(current) + 1];
            return bestLength;
        }
        if (a[length] < b[length]) {
            *smallerSlot = current;
            smallerSlot = &f.children[2 * size_t(current) + 1];
            current = *smallerSlot;
            smallerLength = length;
        } else {
            *largerSlot = current;
            largerSlot = &f.children[2 * size_t(current)];
            current = *largerSlot;
            largerLength = length;
        }
    }
    *smallerSlot = NONE;
    *largerSlot = NONE;
    return bestLength;
}

uint32_t ExtendMatch(const Finder& f, uint32_t pos, uint32_t distance, uint32_t length)
{
    while (pos + length < f.size && f.data[pos + length] == f.data[pos + length - distance])
        ++length;
    return length;
}
} // namespace

void FindMatches(const uint8_t* data, size_t size, const MatchFinderSettings& settings,
                 MatchTable& table)
{
    Finder f{data,
             size,
             settings,
             HashBitsFor(size, LARGEST_HASH3_BITS),
             HashBitsFor(size, LARGEST_HASH2_BITS),
             {},
             {},
             {}};
    f.head3.assign(size_t(1) << f.hash3Bits, NONE);
    f.head2.assign(size_t(1) << f.hash2Bits, NONE);
    f.children.assign(2 * size, NONE);
    table.first.assign(size + 1, 0);
    table.matches.clear();
    table.matches.reserve(size);
    for (uint32_t pos = 0; pos < size;) {
        table.first[pos] = uint32_t(table.matches.size());
        uint32_t remaining = uint32_t(size - pos);
        if (remaining < 2) {
            ++pos;
            continue;
        }
        uint32_t pair = Hash2(data + pos, f.hash2Bits);
        uint32_t near = f.head2[pair];
        f.head2[pair] = pos;
        uint32_t best = 1;
        if (near != NONE && data[near] == data[pos] && data[near + 1] == data[pos + 1]) {
            table.matches.push_back({2, pos - near});
            best = 2;
        }
        if (remaining >= 3) {
            uint32_t maxLength = remaining < settings.niceLength ? remaining : settings.niceLength;
            best = InsertAndFind(f, pos, maxLength, best, table.matches);
        }
        uint32_t step = 1;
        if (best >= settings.niceLength) {
            MatchCandidate& longest = table.matches.back();
            longest.length = ExtendMatch(f, pos, longest.distance, longest.length);
            step = longest.length;
        }
        for (uint32_t k = 1; k < step; ++k)
            table.first[pos + k] = uint32_t(table.matches.size());
        pos += step;
    }
    table.first[size] = uint32_t(table.matches.size());
}
