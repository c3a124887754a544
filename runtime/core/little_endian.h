// Numbers stored little-endian in file bytes, read byte by byte (never by casting a buffer), so
// that any alignment and any host reads them alike.
#pragma once
#include <cstdint>

inline uint16_t LoadLittleEndian16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

inline uint32_t LoadLittleEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
