// The block decoder: any bytes as a block decode or are refused within bounds.
#include "runtime/core/block_decoder.h"
#include "runtime/runtime.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Blocks that declare more than this are still decoded into a short buffer through
    // UnpackMemory, which must refuse them without writing past it.
    constexpr int64_t LARGEST = 1 << 20;
    int64_t declared = BlockUnpackedSize(data, size);
    if (declared >= 0 && declared <= LARGEST) {
        std::vector<uint8_t> output(static_cast<size_t>(declared));
        DecodeBlock(data, size, output.data(), output.size());
    }
    uint8_t small[64];
    UnpackMemory(data, static_cast<int32_t>(size), small, sizeof small);
    return 0;
}
