// One pack entry's framing and unpacking.
#include "runtime/core/pack_entry.h"

#include "runtime/core/block_decoder.h"

#include <cstring>

PackEntryHeader ReadPackEntryHeader(const uint8_t* header)
{
    return {LoadLittleEndian32(header), LoadLittleEndian32(header + 4)};
}

PackFraming FramePackEntry(const PackEntryHeader& header, int64_t left)
{
    if (header.unpackedSize > LARGEST_UNPACKED_SIZE)
        return PackFraming::TooLarge;
    return int64_t(header.storedSize) > left ? PackFraming::CutStored : PackFraming::Whole;
}

bool UnpackPackEntry(const PackEntryHeader& header, const uint8_t* stored, uint8_t* entry,
                     BlockDecoding* decoding)
{
    if (header.storedSize == header.unpackedSize) {
        if (header.storedSize > 0)
            std::memcpy(entry, stored, header.storedSize);
        if (decoding)
            *decoding = {};
        return true;
    }
    BlockDecoding found =
        DecodeBlockWithReason(stored, header.storedSize, entry, header.unpackedSize);
    if (decoding)
        *decoding = found;
    return found.failure == BlockFailure::None;
}

PackEntryView NextPackEntryInMemory(const uint8_t* pack, size_t size, size_t& position)
{
    PackEntryView view;
    view.offset = position;
    size_t left = position < size ? size - position : 0;
    if (left == 0)
        return view;
    if (left < size_t(PACK_ENTRY_HEADER_SIZE)) {
        view.framing = PackFraming::CutHeader;
        return view;
    }
    view.header = ReadPackEntryHeader(pack + position);
    left -= PACK_ENTRY_HEADER_SIZE;
    view.framing = FramePackEntry(view.header, int64_t(left));
    if (view.framing == PackFraming::Whole) {
        view.stored = pack + position + PACK_ENTRY_HEADER_SIZE;
        position += PACK_ENTRY_HEADER_SIZE + size_t(view.header.storedSize);
    }
    return view;
}
