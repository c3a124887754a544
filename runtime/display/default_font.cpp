// The default font: the file the system gives (fontconfig's choice, or the file shipped with
// the program), rendered once into one-bit glyphs.
#include "runtime/display/default_font.h"

#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/system.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>

namespace {
// A bold sans-serif at 13 pixels gives a cell of about 16 rows, the size of the system font
// that the overlay's 30-pixel line spacing was laid out for.
constexpr int32_t PIXEL_SIZE = 13;
// Far above any font of one face; a file beyond it is not read.
constexpr int64_t MAX_FONT_BYTES = 64 << 20;

struct DefaultFont {
    int32_t tried = 0;
    int32_t loaded = 0;
    int32_t height = 0;
    FontGlyph glyphs[256];
};
DefaultFont Font;

// The whole font file; empty when it cannot be read. FreeType reads the face from memory, so
// that the file's name need not be one the C library opens.
std::string ReadFontFile(const std::string& path)
{
    int handle = path.empty() ? -1 : SystemOpenFile(path, O_RDONLY);
    if (handle < 0)
        return {};
    std::string bytes;
    int64_t length = DescriptorLength(handle);
    if (length > 0 && length <= MAX_FONT_BYTES) {
        bytes.resize(size_t(length));
        bytes.resize(ReadFromDescriptor(handle, bytes.data(), bytes.size()));
    }
    CloseDescriptor(handle);
    return bytes;
}

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

int32_t RenderFont(const std::string& file)
{
    if (file.empty())
        return 0;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return 0;
    FT_Face face = nullptr;
    int32_t ok = FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(file.data()),
                                    FT_Long(file.size()), 0, &face) == 0 &&
                 FT_Set_Pixel_Sizes(face, 0, PIXEL_SIZE) == 0;
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
        Font.loaded = RenderFont(ReadFontFile(SystemDefaultFontFile(VELLOMIRA_FONT_PATTERN)));
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
