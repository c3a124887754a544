// The block encoder: any bytes it packs come back unchanged through the decoder.
#include "runtime/core/block_decoder.h"
#include "runtime/core/block_encoder.h"
#include "runtime/runtime.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> block;
    if (!PackBlock(data, size, block))
        std::abort();
    std::vector<uint8_t> back(size);
    if (!DecodeBlock(block.data(), block.size(), back.data(), back.size()) ||
        (size && std::memcmp(back.data(), data, size) != 0))
        std::abort();
    return 0;
}
