// The compressor of the block format: an optimal parse over a bit-cost model, with the
// literal width and the index width chosen to fit the data.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Replaces block with the compressed block of the data (check value included). False, with
// block empty, when the data is larger than LARGEST_UNPACKED_SIZE or memory runs out. Needs
// about 160 bytes of working memory per input byte (measured on a program file), most of it
// the parse's arrivals; none of it is sized for more than the input.
bool PackBlock(const uint8_t* data, size_t size, std::vector<uint8_t>& block);

// Appends one pack entry: the compressed block when it is smaller than the data, else the
// data itself. False (pack unchanged) when the data is too large or memory runs out.
bool AppendPackEntry(std::vector<uint8_t>& pack, const uint8_t* data, size_t size);
// Appends one pack entry with the data stored as it is, uncompressed. False (pack unchanged)
// when the data is too large or memory runs out.
bool AppendStoredPackEntry(std::vector<uint8_t>& pack, const uint8_t* data, size_t size);
