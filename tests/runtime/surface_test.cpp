#include "runtime/runtime.h"

#include <gtest/gtest.h>

TEST(Surface, CreatesZeroedRowsInEveryFormatAndRefusesBadSizes)
{
    for (int32_t format = FORMAT_PALETTE; format <= FORMAT_BGR32; ++format) {
        Surface* surface = CreateSurface(3, 2, format);
        ASSERT_NE(surface, nullptr) << format;
        EXPECT_GE(surface->pitch, 3 * FormatBytesPerPixel(format));
        EXPECT_EQ(SurfaceRow(*surface, 1)[0], 0);
        FreeSurface(surface);
    }
    struct Case {
        int32_t width, height, format;
    } bad[] = {{0, 1, 7}, {1, 0, 7}, {-1, 5, 7}, {16385, 1, 7}, {1, 1, 0}, {1, 1, 8}};
    for (const Case& c : bad)
        EXPECT_EQ(CreateSurface(c.width, c.height, c.format), nullptr)
            << c.width << "x" << c.height << " format " << c.format;
}
