// Finds, for every position of the data, earlier repeats of what follows it: a binary tree of
// suffixes per 3-byte hash, plus the nearest 2-byte repeat.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct MatchCandidate {
    uint32_t length;
    uint32_t distance;
};

// The candidates of position i are matches[first[i]] to matches[first[i + 1] - 1], nearest
// first; each is longer than every nearer one, or as long as the one before it (a farther
// source of the same bytes, whose distance a later repeat match may reuse). A candidate of
// niceLength or more is extended as far as the data repeats, and the positions it covers get
// no candidates (the encoder takes such a match whole).
struct MatchTable {
    std::vector<uint32_t> first;
    std::vector<MatchCandidate> matches;
};

struct MatchFinderSettings {
    uint32_t niceLength = 256; // a match this long is taken without looking further
    int depth = 200;           // tree nodes visited per position
    uint32_t candidates = 8;   // farther sources of equal length are kept while fewer are found
};

// May throw std::bad_alloc; about 8 bytes per input byte plus the candidates, and hash tables
// that grow with the input up to 1.25 MiB.
void FindMatches(const uint8_t* data, size_t size, const MatchFinderSettings& settings,
                 MatchTable& table);
