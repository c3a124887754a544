// Sprites: the sprite table, making sprites from images, display with clipping, color keys,
// the lending to 2D drawing and the save and restore of pixels when the display is lost.
#include "runtime/display/sprite.h"

#include "runtime/core/little_endian.h"
#include "runtime/core/object_table.h"
#include "runtime/platform/system.h"
#include "runtime/display/bmp_reader.h"
#include "runtime/display/image_codec.h"
#include "runtime/display/quad_batch.h"
#include "runtime/display/screen_internal.h"
#include "runtime/display/sprite_conversion.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

static_assert(std::is_trivially_copyable_v<SpriteRecord>);

namespace {
struct SpriteLibrary {
    ObjectTable* table = nullptr;
    uint32_t defaultKey = 0; // color key of new sprites, a pixel value of the screen
    SurfaceDrawing drawing;  // the sprite lent to 2D drawing
};
SpriteLibrary Sprites;

// An image ready to become a sprite, and the temporary buffer holding it if any.
struct LoadedImage {
    SourceImage image;
    uint8_t* buffer = nullptr;
    const uint8_t* bmpRows = nullptr; // an 8-bit BMP's rows, for memory sprites
    int32_t bmpRowBytes = 0;
};

// Fills the record and makes its surface or pixel block; imageDepth 0 means the screen's.
bool MakeSpriteStore(SpriteRecord* record, int32_t width, int32_t height, int32_t imageDepth,
                     int32_t mode)
{
    int32_t format = ScreenPixelFormat();
    int32_t screenDepth = FormatDepth(format);
    if (!format || width < 1 || height < 1 || width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE)
        return false;
    record->width = record->fullWidth = static_cast<int16_t>(width);
    record->height = record->fullHeight = static_cast<int16_t>(height);
    record->depth = static_cast<int16_t>(imageDepth ? imageDepth : ScreenModeDepth());
    record->mode = static_cast<uint16_t>(mode);
    if (mode & SPRITE_MEMORY) {
        record->depth = MEMORY_SPRITE_DEPTH;
        record->memory = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(width), height));
        return record->memory != nullptr;
    }
    if (imageDepth && imageDepth != screenDepth && (imageDepth < 16 || screenDepth < 16))
        return false;
    record->surface = CreateSurface(width, height, format);
    return record->surface != nullptr;
}

void SetKey(Surface* surface, uint32_t key)
{
    surface->hasColorKey = 1;
    surface->colorKey = key;
}

bool ReadBmp(const uint8_t* data, int64_t length, int32_t mode, LoadedImage* out)
{
    BmpImage bmp;
    if (!ReadBmpHeader(data, length, &bmp))
        return false;
    SourceImage& image = out->image;
    image = SourceImage{bmp.pixels, bmp.width, bmp.height, bmp.rowBytes, bmp.bitsPerPixel, 1};
    if (mode & SPRITE_MEMORY) {
        if (bmp.bitsPerPixel != 8 || bmp.compression != 0)
            return false; // memory sprites hold one byte per pixel
        out->bmpRows = bmp.pixels;
        out->bmpRowBytes = bmp.rowBytes;
        return true;
    }
    bool palette = bmp.bitsPerPixel <= 8;
    if (!palette || FormatDepth(ScreenPixelFormat()) == 8) {
        // Run-length data has no rows to copy: only the expansion reads it.
        return !(bmp.bitsPerPixel == 8 && bmp.compression == 1);
    }
    int32_t pitch = ExpandedBmpPitch(bmp.width);
    out->buffer = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(pitch) * bmp.height));
    if (!out->buffer)
        return false;
    ExpandBmpTo24(bmp, out->buffer);
    image = SourceImage{out->buffer, bmp.width, bmp.height, pitch, 24, 1};
    return true;
}

bool DecodeImage(const uint8_t* data, int64_t length, int32_t mode, LoadedImage* out)
{
    int32_t kind =
        FindImageDecoder(data, length < SPRITE_IMAGE_BOUND ? length : SPRITE_IMAGE_BOUND);
    if (!kind || (mode & SPRITE_MEMORY))
        return false;
    int32_t width = CurrentImageWidth(), height = CurrentImageHeight();
    int32_t pitch = kind == 2 ? width * 4 : width * 3 + width % 4;
    out->buffer = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(pitch) * (height + 1)));
    if (!out->buffer || !DecodeCurrentImage(out->buffer, pitch))
        return false;
    out->image = SourceImage{out->buffer, width, height, pitch, kind == 2 ? 32 : 24, 0};
    return true;
}

// Fills a fresh record from the image; false leaves whatever it made for FreeSprite.
bool BuildSprite(SpriteRecord* record, const LoadedImage& loaded, int32_t mode)
{
    const SourceImage& image = loaded.image;
    if (!MakeSpriteStore(record, image.width, image.height, image.depth, mode))
        return false;
    record->inUse = 1;
    if (mode & SPRITE_MEMORY) {
        for (int32_t y = 0; y < image.height; ++y)
            std::memcpy(record->memory + static_cast<int64_t>(y) * image.width,
                        loaded.bmpRows +
                            static_cast<int64_t>(image.height - 1 - y) * loaded.bmpRowBytes,
                        static_cast<size_t>(image.width));
        return true;
    }
    bool alpha =
        (mode & SPRITE_ALPHA) && image.depth == 32 && FormatDepth(record->surface->format) == 32;
    if (!ConvertImageToSurface(image, *record->surface, alpha))
        return false;
    if (!alpha)
        SetKey(record->surface, Sprites.defaultKey);
    return true;
}

intptr_t SpriteResult(int32_t number, int32_t object, const SpriteRecord* record)
{
    if (number == DYNAMIC_OBJECT)
        return object;
    return record->surface ? reinterpret_cast<intptr_t>(record->surface)
                           : reinterpret_cast<intptr_t>(record->memory);
}

intptr_t LoadImageSprite(int32_t number, const uint8_t* data, int64_t length, int32_t mode)
{
    if (!Sprites.table || !ScreenPixelFormat() || !data || length <= 0)
        return 0;
    int32_t object = 0;
    auto* record = static_cast<SpriteRecord*>(GetOrCreateObject(Sprites.table, number, &object));
    if (!record)
        return 0;
    LoadedImage loaded;
    bool ok = IsBmp(data, length) ? ReadBmp(data, length, mode, &loaded)
                                  : DecodeImage(data, length, mode, &loaded);
    ok = ok && BuildSprite(record, loaded, mode);
    std::free(loaded.buffer);
    if (!ok) {
        record->inUse = 1; // so that FreeSprite finds and frees what was made
        FreeSprite(object);
        return 0;
    }
    return SpriteResult(number, object, record);
}

SpriteRecord* Find(int32_t number)
{
    return static_cast<SpriteRecord*>(LookupObject(Sprites.table, number));
}

// The pixels of every sprite, saved when the display is lost.
int SaveSpritePixels(int32_t, void* element, void*)
{
    auto* record = static_cast<SpriteRecord*>(element);
    const Surface* surface = record->surface;
    if (!surface || record->savedPixels)
        return 1;
    size_t bytes = static_cast<size_t>(surface->pitch) * surface->height;
    auto* saved = static_cast<uint8_t*>(std::malloc(4 + bytes));
    if (!saved)
        return 1;
    std::memcpy(saved, &surface->pitch, 4);
    std::memcpy(saved + 4, surface->pixels, bytes);
    record->savedPixels = saved;
    return 1;
}

int RestoreSpritePixels(int32_t, void* element, void*)
{
    auto* record = static_cast<SpriteRecord*>(element);
    Surface* surface = record->surface;
    if (!surface || !record->savedPixels)
        return 1;
    int32_t pitch = 0;
    std::memcpy(&pitch, record->savedPixels, 4);
    int32_t rowBytes = pitch < surface->pitch ? pitch : surface->pitch;
    for (int32_t y = 0; y < surface->height; ++y)
        std::memcpy(SurfaceRow(*surface, y),
                    record->savedPixels + 4 + static_cast<int64_t>(y) * pitch,
                    static_cast<size_t>(rowBytes));
    std::free(record->savedPixels);
    record->savedPixels = nullptr;
    return 1;
}

int32_t InitSprites()
{
    FreeObjectTable(Sprites.table);
    Sprites.defaultKey = 0;
    Sprites.table = CreateObjectTable(sizeof(SpriteRecord), 64, FreeSprite);
    return Sprites.table != nullptr;
}

void SaveAllSprites()
{
    ForEachObject(Sprites.table, SaveSpritePixels, nullptr);
}
void RestoreAllSprites()
{
    ForEachObject(Sprites.table, RestoreSpritePixels, nullptr);
}
void FreeAllSprites()
{
    ReleaseAllObjects(Sprites.table);
}

void Display(int32_t number, int32_t x, int32_t y, int32_t keyed)
{
    const SpriteRecord* record = Find(number);
    Surface* target = DrawBuffer();
    if (!record || !record->surface || !target || !IsScreenActive() || target == record->surface)
        return;
    int64_t drawWidth = DrawBufferWidth(), drawHeight = DrawBufferHeight();
    if (!(x < drawWidth && y < drawHeight && x > -record->width && y > -record->height))
        return;
    int64_t w = record->width, h = record->height;
    if (x + w > drawWidth)
        w = drawWidth - x;
    if (y + h > drawHeight)
        h = drawHeight - y;
    int64_t left = record->clipX + (x < 0 ? -static_cast<int64_t>(x) : 0);
    int64_t top = record->clipY + (y < 0 ? -static_cast<int64_t>(y) : 0);
    int64_t right = record->clipX + w, bottom = record->clipY + h;
    DrawQuadBatch(); // inside a 3D scene the sprite lands over the quads displayed before it
    BlitSurface(*target, x < 0 ? 0 : x, y < 0 ? 0 : y, *record->surface, static_cast<int32_t>(left),
                static_cast<int32_t>(top), static_cast<int32_t>(right - left),
                static_cast<int32_t>(bottom - top), keyed);
}

// Reads a whole file into a new buffer; none when it cannot be read or is absurdly large.
uint8_t* ReadWholeFile(std::string_view fileName, int64_t* length)
{
    std::string path = SystemResolvePath(fileName);
    std::FILE* file = path.empty() ? nullptr : SystemOpenStream(path, "rb");
    if (!file)
        return nullptr;
    uint8_t* data = nullptr;
    long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    if (size > 0 && size <= MAX_IMAGE_BYTES && std::fseek(file, 0, SEEK_SET) == 0)
        data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size)));
    if (data && std::fread(data, 1, static_cast<size_t>(size), file) != static_cast<size_t>(size)) {
        std::free(data);
        data = nullptr;
    }
    std::fclose(file);
    *length = size;
    return data;
}
} // namespace

intptr_t LoadSprite(int32_t number, std::string_view fileName, int32_t mode)
{
    int64_t length = 0;
    uint8_t* data = ReadWholeFile(fileName, &length);
    if (!data)
        return 0;
    intptr_t result = LoadImageSprite(number, data, length, mode);
    std::free(data);
    return result;
}

intptr_t LoadSpriteFromMemory(int32_t number, const void* image, int32_t mode)
{
    const auto* data = static_cast<const uint8_t*>(image);
    int64_t length = SPRITE_IMAGE_BOUND;
    // A BMP's header gives its size; read no further than that.
    if (IsBmp(data, 6)) {
        length = LoadLittleEndian32(data + 2);
        if (length > SPRITE_IMAGE_BOUND)
            length = SPRITE_IMAGE_BOUND;
    }
    return LoadImageSprite(number, data, length, mode);
}

intptr_t LoadSpriteFromMemory(int32_t number, const void* image, int64_t length, int32_t mode)
{
    return LoadImageSprite(number, static_cast<const uint8_t*>(image), length, mode);
}

intptr_t CreateSprite(int32_t number, int32_t width, int32_t height, int32_t mode)
{
    if (!Sprites.table || !ScreenPixelFormat())
        return 0;
    int32_t object = 0;
    auto* record = static_cast<SpriteRecord*>(GetOrCreateObject(Sprites.table, number, &object));
    if (!record)
        return 0;
    record->inUse = 1;
    if (!MakeSpriteStore(record, width, height, 0, mode)) {
        FreeSprite(object);
        return 0;
    }
    if (record->surface)
        SetKey(record->surface, Sprites.defaultKey);
    return SpriteResult(number, object, record);
}

void FreeSprite(int32_t number)
{
    SpriteRecord* record = Find(number);
    if (!record)
        return;
    if (record->surface) {
        DrawQuadBatch(); // waiting quads may read this texture or write this surface
        if (Sprites.drawing.held && Sprites.drawing.surface == record->surface)
            EndSurfaceDrawing(&Sprites.drawing);
        if (DrawBuffer() == record->surface)
            SelectDrawBuffer(-1);
        FreeSurface(record->surface);
    }
    std::free(record->memory);
    std::free(record->savedPixels);
    FreeObject(Sprites.table, number);
}

int32_t SpriteWidth(int32_t number)
{
    const SpriteRecord* record = Find(number);
    return record ? record->width : 0;
}

int32_t SpriteHeight(int32_t number)
{
    const SpriteRecord* record = Find(number);
    return record ? record->height : 0;
}

void SetTransparentColor(int32_t number, int32_t color)
{
    uint32_t key = ScreenColor(color);
    if (number == -1) {
        Sprites.defaultKey = key;
        return;
    }
    const SpriteRecord* record = Find(number);
    if (record && record->surface)
        SetKey(record->surface, key);
}

void DisplaySprite(int32_t number, int32_t x, int32_t y)
{
    Display(number, x, y, 0);
}

void DisplayTransparentSprite(int32_t number, int32_t x, int32_t y)
{
    Display(number, x, y, 1);
}

DrawTarget* SpriteDrawTarget(int32_t number)
{
    const SpriteRecord* record = Find(number);
    if (Sprites.drawing.held || !record || !record->surface)
        return nullptr;
    return BeginSurfaceDrawing(&Sprites.drawing, record->surface, ScreenModeDepth());
}

const SpriteRecord* FindSprite(int32_t number)
{
    return Find(number);
}

Surface* SpriteSurface(int32_t number)
{
    const SpriteRecord* record = Find(number);
    return record ? record->surface : nullptr;
}

const SpriteLibraryHooks SpriteLibraryRoutines = {InitSprites, SaveAllSprites, RestoreAllSprites,
                                                  FreeAllSprites, SpriteSurface};
