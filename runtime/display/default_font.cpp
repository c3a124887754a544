// The default font: found through fontconfig at run time, rendered once into one-bit glyphs.
// A build without fontconfig (the browser's) names the font file it ships instead.
#include "runtime/display/default_font.h"

#ifndef VELLOMIRA_FONT_FILE
#include <fontconfig/fontconfig.h>
#endif
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <cstring>

namespace {
// A bold sans-serif at 13 pixels gives a cell of about 16 rows, the size of the system font
// that the overlay's 30-pixel line spacing was laid out for.
constexpr int32_t PIXEL_SIZE = 13;

struct DefaultFont {
    int32_t tried = 0;
    int32_t loaded = 0;
    int32_t height = 0;
    FontGlyph glyphs[256];
};
DefaultFont Font;

#ifdef VELLOMIRA_FONT_FILE
int32_t FindFontFile(char* out, size_t size)
{
    if (std::strlen(VELLOMIRA_FONT_FILE) >= size)
        return 0;
    std::strcpy(out, VELLOMIRA_FONT_FILE);
    return 1;
}
#else
// The file fontconfig chooses for the pattern, copied into out; 0 when there is none.
int32_t MatchFontFile(char* out, size_t size)
{
    if (!FcInit())
        return 0;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(VELLOMIRA_FONT_PATTERN));
    if (!pattern)
        return 0;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return 0;
    FcChar8* file = nullptr;
    int32_t found = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file &&
        std::strlen(reinterpret_cast<const char*>(file)) < size) {
        std::strcpy(out, reinterpret_cast<const char*>(file));
        found = 1;
    }
    FcPatternDestroy(match);
    return found;
}

int32_t FindFontFile(char* out, size_t size)
{
    int32_t found = MatchFontFile(out, size);
    // Nothing else in the program asks fontconfig anything: its caches can go.
    FcFini();
    return found;
}
#endif

// Copies FreeType's one-bit bitmap of the loaded glyph into a byte per pixel.
void KeepGlyph(FT_Face face, int32_t ascent, FontGlyph& glyph)
{
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    glyph.advance = static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
    glyph.left = face->glyph->bitmap_left;
    glyph.top = ascent - face->glyph->bitmap_top;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || bitmap.width == 0 || bitmap.rows == 0)
        return;
    auto* bits =
        static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bitmap.width) * bitmap.rows));
    if (!bits)
        return;
    for (unsigned y = 0; y < bitmap.rows; ++y) {
        const uint8_t* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (unsigned x = 0; x < bitmap.width; ++x)
            bits[y * bitmap.width + x] = (row[x / 8] >> (7 - x % 8)) & 1;
    }
    glyph.bits = bits;
    glyph.width = static_cast<int32_t>(bitmap.width);
    glyph.rows = static_cast<int32_t>(bitmap.rows);
}

int32_t RenderFont(const char* file)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return 0;
    FT_Face face = nullptr;
    int32_t ok =
        FT_New_Face(library, file, 0, &face) == 0 && FT_Set_Pixel_Sizes(face, 0, PIXEL_SIZE) == 0;
    if (ok) {
        int32_t ascent = static_cast<int32_t>((face->size->metrics.ascender + 63) >> 6);
        int32_t descent = static_cast<int32_t>((-face->size->metrics.descender + 63) >> 6);
        Font.height = ascent + descent;
        for (int32_t c = 32; c < 256; ++c) {
            if (c >= 127 && c < 160)
                continue; // control characters of ISO 8859-1
            if (FT_Load_Char(face, static_cast<FT_ULong>(c),
                             FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) == 0)
                KeepGlyph(face, ascent, Font.glyphs[c]);
        }
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok;
}
} // namespace

int32_t LoadDefaultFont()
{
    if (!Font.tried) {
        Font.tried = 1;
        char file[4096];
        int32_t found = FindFontFile(file, sizeof file);
        Font.loaded = found && RenderFont(file);
    }
    return Font.loaded;
}

const FontGlyph& DefaultFontGlyph(uint8_t character)
{
    return Font.glyphs[character];
}

int32_t DefaultFontHeight()
{
    return Font.height;
}

int32_t DefaultFontTextWidth(const char* text)
{
    int32_t width = 0;
    for (const char* c = text; c && *c; ++c)
        width += Font.glyphs[static_cast<uint8_t>(*c)].advance;
    return width;
}
