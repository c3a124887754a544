// Contact sheets: every image composited over the water, as a data author checks them.
#include "tools/makedata/contact_sheet.h"

#include <cstddef>

namespace {
constexpr int32_t GAP = 8;
}

RgbImage ContactSheet(const std::vector<std::vector<RgbImage>>& rows)
{
    int32_t width = GAP, height = GAP;
    for (const std::vector<RgbImage>& row : rows) {
        int32_t rowWidth = GAP, rowHeight = 0;
        for (const RgbImage& image : row) {
            rowWidth += image.width + GAP;
            rowHeight = image.height > rowHeight ? image.height : rowHeight;
        }
        width = rowWidth > width ? rowWidth : width;
        height += rowHeight + GAP;
    }
    RgbImage sheet;
    sheet.width = width;
    sheet.height = height;
    sheet.rgb.resize(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < sheet.rgb.size(); i += 3) {
        sheet.rgb[i] = static_cast<uint8_t>(WATER.r);
        sheet.rgb[i + 1] = static_cast<uint8_t>(WATER.g);
        sheet.rgb[i + 2] = static_cast<uint8_t>(WATER.b);
    }
    int32_t top = GAP;
    for (const std::vector<RgbImage>& row : rows) {
        int32_t left = GAP, rowHeight = 0;
        for (const RgbImage& image : row) {
            CompositeOnWater(image, sheet, left, top);
            left += image.width + GAP;
            rowHeight = image.height > rowHeight ? image.height : rowHeight;
        }
        top += rowHeight + GAP;
    }
    return sheet;
}
