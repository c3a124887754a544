// The pack reader's one process-wide state and its entry-by-entry reading.
#include "runtime/core/pack.h"
#include "runtime/core/pack_entry.h"

#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/system.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
struct PackReader {
    std::FILE* file = nullptr;
    int64_t remaining = 0;    // bytes of the file not yet read
    uint8_t* entry = nullptr; // the entry last unpacked
    int32_t entrySize = -1;
    bool endReached = false; // the last NextPackEntry found no bytes left
};
PackReader Pack;

void FreeEntry()
{
    std::free(Pack.entry);
    Pack.entry = nullptr;
    Pack.entrySize = -1;
}

bool ReadExactly(void* destination, int64_t count)
{
    if (count > Pack.remaining)
        return false;
    size_t got = std::fread(destination, 1, size_t(count), Pack.file);
    Pack.remaining -= int64_t(got);
    return got == size_t(count);
}

// Leaves nothing more to read: the rest of a file whose entry is broken cannot be framed.
void GiveUpOnFile()
{
    std::fseek(Pack.file, 0, SEEK_END);
    Pack.remaining = 0;
}
} // namespace

int32_t OpenPack(const char* fileName)
{
    ClosePack();
    std::string path = SystemResolvePath(fileName ? fileName : "");
    std::FILE* file = path.empty() ? nullptr : SystemOpenStream(path, "rb");
    if (!file)
        return 0;
    // Something without a size (a pipe, a device) frames no entries.
    int64_t length = DescriptorLength(fileno(file));
    Pack.file = file;
    Pack.remaining = length > 0 ? length : 0;
    return 1;
}

const uint8_t* NextPackEntry()
{
    FreeEntry();
    Pack.endReached = Pack.file && Pack.remaining == 0;
    if (!Pack.file)
        return nullptr;
    uint8_t header[PACK_ENTRY_HEADER_SIZE];
    if (!ReadExactly(header, PACK_ENTRY_HEADER_SIZE)) {
        GiveUpOnFile();
        return nullptr;
    }
    PackEntryHeader sizes = ReadPackEntryHeader(header);
    if (FramePackEntry(sizes, Pack.remaining) != PackFraming::Whole) {
        GiveUpOnFile();
        return nullptr;
    }
    // One spare byte keeps an empty entry distinct from none.
    auto* entry = static_cast<uint8_t*>(std::malloc(size_t(sizes.unpackedSize) + 1));
    auto* stored = static_cast<uint8_t*>(std::malloc(size_t(sizes.storedSize) + 1));
    bool read = entry && stored && ReadExactly(stored, sizes.storedSize);
    if (!read)
        GiveUpOnFile();
    bool ok = read && UnpackPackEntry(sizes, stored, entry);
    std::free(stored);
    if (!ok) {
        std::free(entry);
        return nullptr;
    }
    Pack.entry = entry;
    Pack.entrySize = int32_t(sizes.unpackedSize);
    return entry;
}

int32_t PackEntrySize()
{
    return Pack.file ? Pack.entrySize : -1;
}

int32_t PackEndReached()
{
    return Pack.endReached ? 1 : 0;
}

void ClosePack()
{
    FreeEntry();
    if (Pack.file)
        std::fclose(Pack.file);
    Pack.file = nullptr;
    Pack.remaining = 0;
    Pack.endReached = false;
}
