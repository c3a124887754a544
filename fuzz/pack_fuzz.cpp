// Packed data files: any file is read entry by entry without reading or writing out of bounds.
#include "fuzz/fuzz_folder.h"
#include "runtime/runtime.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = WriteFuzzFile("fuzz.cell", data, size);
    if (!OpenPack(path.c_str()))
        std::abort();
    int64_t total = 0;
    while (const uint8_t* entry = NextPackEntry()) {
        int32_t length = PackEntrySize();
        if (length < 0)
            std::abort();
        for (int32_t i = 0; i < length; i += 4096)
            total += entry[i];
        if (length > 0)
            total += entry[length - 1];
    }
    ClosePack();
    return total == -1;
}
