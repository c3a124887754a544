// Reading a pack file entry by entry, and telling why an entry is broken.
#include "tools/cellpack/pack_reading.h"

#include "runtime/core/block_decoder.h"
#include "tools/cellpack/file_bytes.h"

#include <cstdio>

namespace {
std::string Hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", value);
    return text;
}

std::string CutReason(const PackEntryView& view, size_t fileSize)
{
    std::string at = "the " + std::to_string(fileSize - view.offset) + " bytes at offset " +
                     std::to_string(view.offset) + " ";
    switch (view.framing) {
    case PackFraming::CutHeader:
        return at + "are too short for an entry header (truncated file)";
    case PackFraming::CutStored:
        return at + "hold an entry header that asks for " + std::to_string(view.header.storedSize) +
               " stored bytes (truncated file)";
    case PackFraming::TooLarge:
        return at + "hold an entry header that declares " +
               std::to_string(view.header.unpackedSize) +
               " bytes unpacked, more than the game accepts";
    default:
        return "";
    }
}

// Why a compressed entry that failed to unpack failed: the block's framing, its stream, or
// only its check value.
std::string BrokenReason(const ReadEntry& entry, const BlockDecoding& decoding)
{
    uint32_t unpacked = entry.header.unpackedSize;
    switch (decoding.failure) {
    case BlockFailure::BadMagic:
        return "its stored size differs from its size but it holds no compressed block";
    case BlockFailure::SizeMismatch:
        return "its block declares " + std::to_string(decoding.declaredSize) +
               " bytes, the entry " + std::to_string(unpacked);
    case BlockFailure::MalformedStream:
        return "its compressed stream is malformed (it does not decode to " +
               std::to_string(unpacked) + " bytes)";
    case BlockFailure::FailedCheck:
        return "it fails its check value: the block says " + Hex(decoding.declaredCheck) +
               ", the data gives " + Hex(decoding.dataCheck);
    default:
        return "";
    }
}

ReadEntry Unpack(const PackEntryView& view)
{
    ReadEntry entry;
    entry.header = view.header;
    entry.offset = view.offset;
    if (IsCompressed(view.header) && view.header.storedSize >= BLOCK_HEADER_SIZE)
        entry.check = LoadLittleEndian32(view.stored + BLOCK_CHECK_OFFSET);
    entry.data.resize(size_t(view.header.unpackedSize) + 1);
    BlockDecoding decoding;
    if (UnpackPackEntry(view.header, view.stored, entry.data.data(), &decoding)) {
        entry.data.pop_back();
        return entry;
    }
    entry.data.clear();
    entry.broken = BrokenReason(entry, decoding);
    return entry;
}
} // namespace

std::string ReadPack(const std::string& path, ReadPackFile& pack)
{
    pack = {};
    std::vector<uint8_t> file;
    std::string error = ReadFileBytes(path, file);
    if (!error.empty())
        return error;
    pack.fileSize = file.size();
    size_t position = 0;
    for (;;) {
        PackEntryView view = NextPackEntryInMemory(file.data(), file.size(), position);
        if (view.framing != PackFraming::Whole) {
            pack.cut = CutReason(view, file.size());
            return "";
        }
        pack.entries.push_back(Unpack(view));
    }
}

bool IsCompressed(const PackEntryHeader& header)
{
    return header.storedSize != header.unpackedSize;
}
