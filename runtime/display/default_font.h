// The default font of 2D drawing: a bold sans-serif face (the system's, or the one shipped with
// the program), rendered once by FreeType without anti-aliasing into one-bit glyphs, like a
// bitmap system font.
#pragma once
#include <cstdint>

struct FontGlyph {
    int32_t left = 0;  // columns from the pen position to the first column of the bitmap
    int32_t top = 0;   // rows from the top of the text cell to the first row of the bitmap
    int32_t width = 0; // bitmap size in pixels
    int32_t rows = 0;
    int32_t advance = 0;     // pen movement in pixels
    uint8_t* bits = nullptr; // width * rows bytes, 1 where the glyph sets a pixel
};

// Finds and renders the font on first use; nonzero when a font is available.
int32_t LoadDefaultFont();
// The glyph of an ISO 8859-1 character; a glyph without pixels or advance when no font loaded.
const FontGlyph& DefaultFontGlyph(uint8_t character);
// Height in pixels of the cell that opaque text fills; 0 without a font.
int32_t DefaultFontHeight();
// Width in pixels of a text in the default font.
int32_t DefaultFontTextWidth(const char* text);
