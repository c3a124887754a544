// The blend factors of the 3D device, by the numbers Sprite3DBlendingMode takes.
#pragma once
#include <cstdint>

enum BlendFactor : int32_t {
    BLEND_ZERO = 1,
    BLEND_ONE = 2,
    BLEND_SRCCOLOR = 3,
    BLEND_INVSRCCOLOR = 4,
    BLEND_SRCALPHA = 5,
    BLEND_INVSRCALPHA = 6,
    BLEND_DESTALPHA = 7,
    BLEND_INVDESTALPHA = 8,
    BLEND_DESTCOLOR = 9,
    BLEND_INVDESTCOLOR = 10,
    BLEND_SRCALPHASAT = 11,
    BLEND_BOTHSRCALPHA = 12,
    BLEND_BOTHINVSRCALPHA = 13,
};

// A source may use every factor; a destination none after BLEND_SRCALPHASAT.
inline bool ValidBlendFactor(int32_t factor, bool source)
{
    return factor >= BLEND_ZERO && factor <= (source ? BLEND_BOTHINVSRCALPHA : BLEND_SRCALPHASAT);
}
