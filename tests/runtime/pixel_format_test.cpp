#include "runtime/display/pixel_format.h"

#include <gtest/gtest.h>

TEST(PixelFormat, CodesSizesAndColorBitsOfEveryFormat)
{
    struct Case {
        int32_t format, bytes;
        uint32_t colorBits;
    } cases[] = {{0, 0, 0},
                 {FORMAT_PALETTE, 1, 0xFF}, // an index is all of its byte
                 {FORMAT_555, 2, 0x7FFF},   // bit 15 carries no color
                 {FORMAT_565, 2, 0xFFFF},
                 {FORMAT_RGB24, 3, 0xFFFFFF},
                 {FORMAT_BGR24, 3, 0xFFFFFF},
                 {FORMAT_RGB32, 4, 0xFFFFFF}, // the fourth byte is ignored
                 {FORMAT_BGR32, 4, 0xFFFFFF},
                 {8, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(FormatBytesPerPixel(c.format), c.bytes) << "format " << c.format;
        EXPECT_EQ(FormatDepth(c.format), c.bytes * 8) << "format " << c.format;
        EXPECT_EQ(FormatColorBits(c.format), c.colorBits) << "format " << c.format;
    }
    struct Depth {
        int32_t depth, format;
    } depths[] = {{8, FORMAT_PALETTE},
                  {16, FORMAT_565},
                  {24, FORMAT_BGR24},
                  {32, FORMAT_BGR32},
                  {15, FORMAT_PALETTE}};
    for (const Depth& d : depths)
        EXPECT_EQ(FormatOfDepth(d.depth), d.format) << "depth " << d.depth;
}

TEST(PixelFormat, SixteenBitValuesSurviveUnpackingAndPacking)
{
    for (int32_t format : {FORMAT_555, FORMAT_565})
        for (uint32_t value = 0; value <= 0xFFFF; ++value) {
            uint32_t bgr[3];
            UnpackChannels(format, value, bgr);
            ASSERT_EQ(PackChannels(format, bgr[2], bgr[1], bgr[0]), value & FormatColorBits(format))
                << "format " << format << " value " << value;
        }
}

TEST(PixelFormat, ChannelOrderOfTheByteFormats)
{
    // Red 0x12, green 0x34, blue 0x56.
    struct Case {
        int32_t format;
        uint32_t value;
    } cases[] = {{FORMAT_RGB24, 0x563412}, {FORMAT_RGB32, 0x563412}, {FORMAT_BGR24, 0x123456},
                 {FORMAT_BGR32, 0x123456}, {FORMAT_565, 0x11AA},     {FORMAT_555, 0x08CA}};
    for (const Case& c : cases) {
        EXPECT_EQ(PackChannels(c.format, 0x12, 0x34, 0x56), c.value) << "format " << c.format;
        EXPECT_EQ(ColorToPixel(c.format, 0x563412), c.value) << "format " << c.format;
    }
    EXPECT_EQ(ColorToPixel(FORMAT_PALETTE, 0x563412), 0x12u) << "the low byte is the index";
}
