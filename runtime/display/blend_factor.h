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
