// Software surfaces: allocation.
#include "runtime/display/surface.h"

#include <cstdlib>
#include <new>

Surface* CreateSurface(int32_t width, int32_t height, int32_t format)
{
    int32_t bytesPerPixel = FormatBytesPerPixel(format);
    if (width < 1 || height < 1 || width > 16384 || height > 16384 || bytesPerPixel == 0)
        return nullptr;
    // Rows start on 16-byte boundaries so that wide pixel loops may use aligned loads.
    int32_t pitch = (width * bytesPerPixel + 15) & ~15;
    auto* pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(pitch), height));
    if (!pixels)
        return nullptr;
    auto* surface = new (std::nothrow) Surface;
    if (!surface) {
        std::free(pixels);
        return nullptr;
    }
    surface->pixels = pixels;
    surface->width = width;
    surface->height = height;
    surface->pitch = pitch;
    surface->format = format;
    surface->bytesPerPixel = bytesPerPixel;
    return surface;
}

void FreeSurface(Surface* surface)
{
    if (!surface)
        return;
    std::free(surface->pixels);
    delete surface;
}
