// Frame images checked pixel by pixel for what the game will draw.
#include "tools/cellpack/frame_check.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
// Close to the key: every channel within this of FF00FF, about a quarter of a blend between
// the key and a dark color. The key's own neighbourhood in an image is where such pixels
// come from: a flattened anti-aliased edge or lossy compression.
constexpr int32_t NEAR_KEY = 96;
// An edge counts as one background color when this share of it lies within EDGE_SPREAD.
constexpr double EDGE_SHARE = 0.9;
constexpr int32_t EDGE_SPREAD = 24;

std::string Hex(const uint8_t* rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
    return text;
}

int32_t Distance(const uint8_t* a, const uint8_t* b)
{
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

struct PixelCounts {
    int64_t transparent = 0; // alpha below the threshold, not the key
    int64_t sameAsFirstTransparent = 0;
    const uint8_t* firstTransparent = nullptr;
    int64_t fringe = 0; // near the key and beside a key pixel
    int32_t fringeX = 0, fringeY = 0;
    int64_t edge = 0, edgeKey = 0, edgeLikeCorner = 0;
};

const uint8_t* At(const FramePixels& pixels, int32_t x, int32_t y)
{
    return &pixels.rgba[(size_t(y) * size_t(pixels.width) + size_t(x)) * 4];
}

bool BesideKey(const FramePixels& pixels, int32_t x, int32_t y)
{
    const int32_t steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& step : steps) {
        int32_t nx = x + step[0], ny = y + step[1];
        if (nx >= 0 && ny >= 0 && nx < pixels.width && ny < pixels.height &&
            IsKeyColor(At(pixels, nx, ny)))
            return true;
    }
    return false;
}

void CountPixel(const FramePixels& pixels, int32_t x, int32_t y, FrameFindings& findings,
                PixelCounts& counts)
{
    const uint8_t* p = At(pixels, x, y);
    bool key = IsKeyColor(p);
    findings.keyPixels += key;
    if (!key && pixels.alpha && p[3] < DEFAULT_KEY_ALPHA) {
        if (!counts.firstTransparent)
            counts.firstTransparent = p;
        ++counts.transparent;
        counts.sameAsFirstTransparent += Distance(p, counts.firstTransparent) == 0;
    } else if (!key && IsNearKeyColor(p)) {
        ++findings.nearKeyPixels;
        if (BesideKey(pixels, x, y) && counts.fringe++ == 0)
            counts.fringeX = x, counts.fringeY = y;
    }
    if (x == 0 || y == 0 || x == pixels.width - 1 || y == pixels.height - 1) {
        ++counts.edge;
        counts.edgeKey += key;
        counts.edgeLikeCorner += Distance(p, At(pixels, 0, 0)) <= EDGE_SPREAD;
    }
}

void Warn(const FramePixels& pixels, const PixelCounts& counts, FrameFindings& findings)
{
    if (pixels.width != pixels.height)
        findings.warnings.push_back(
            std::to_string(pixels.width) + " x " + std::to_string(pixels.height) +
            " pixels: the game draws every frame as a square of the type's size, so this one "
            "is stretched; give it as many rows as columns");
    if (counts.transparent > 0)
        findings.warnings.push_back(
            std::to_string(counts.transparent) + " pixels are transparent " +
            (pixels.transparentColors ? "by its transparent colours (a PNG tRNS chunk)"
                                      : "in its alpha channel") +
            " but not the key colour FF00FF (" + std::to_string(counts.sameAsFirstTransparent) +
            " of them " + Hex(counts.firstTransparent) + "): the game ignores " +
            (pixels.transparentColors ? "that transparency" : "alpha") +
            " and draws them; key the frame with 'cellpack key' or 'cellpack build --key'");
    if (counts.fringe > 0 && !findings.lossy)
        findings.warnings.push_back(
            std::to_string(counts.fringe) +
            " pixels beside the key colour are close to it but "
            "not FF00FF (the first at " +
            std::to_string(counts.fringeX) + ", " + std::to_string(counts.fringeY) + ": " +
            Hex(At(pixels, counts.fringeX, counts.fringeY)) +
            "): the game draws them as a magenta fringe; key the frame from its alpha channel "
            "('cellpack key') or fade its edges toward the water colour 000A14");
    const uint8_t* corner = At(pixels, 0, 0);
    if (counts.transparent == 0 && counts.edgeKey == 0 && !IsNearKeyColor(corner) &&
        counts.edgeLikeCorner >= EDGE_SHARE * double(counts.edge))
        findings.warnings.push_back(
            "no pixel around its edge is the key colour FF00FF, and the edge is all about " +
            Hex(corner) +
            " like a background: the game draws it as a square around the cell; "
            "paint the background FF00FF");
}

std::string LossyWarning(const FrameFindings& findings)
{
    return "a JPEG frame of a type that uses the key colour: lossy compression does not keep "
           "FF00FF exact, so its background shows as magenta specks (" +
           std::to_string(findings.nearKeyPixels) + " pixels here are near the key, " +
           std::to_string(findings.keyPixels) + " exactly it); save the frame as PNG";
}
} // namespace

bool IsKeyColor(const uint8_t* rgb)
{
    return rgb[0] == 255 && rgb[1] == 0 && rgb[2] == 255;
}

bool IsNearKeyColor(const uint8_t* rgb)
{
    const uint8_t key[3] = {255, 0, 255};
    return Distance(rgb, key) <= NEAR_KEY;
}

FrameFindings CheckFrame(const std::vector<uint8_t>& data)
{
    FrameFindings findings;
    FramePixels pixels;
    findings.error = ImageProblem(data, pixels);
    if (!findings.error.empty())
        return findings;
    findings.lossy = ImageKind(data) == "jpg";
    PixelCounts counts;
    for (int32_t y = 0; y < pixels.height; ++y)
        for (int32_t x = 0; x < pixels.width; ++x)
            CountPixel(pixels, x, y, findings, counts);
    Warn(pixels, counts, findings);
    return findings;
}

std::vector<FrameFindings> CheckFrames(const std::vector<const std::vector<uint8_t>*>& frames)
{
    std::vector<FrameFindings> findings;
    bool keyed = false;
    for (const std::vector<uint8_t>* frame : frames) {
        findings.push_back(CheckFrame(*frame));
        keyed = keyed || findings.back().keyPixels > 0 || findings.back().nearKeyPixels > 0;
    }
    for (FrameFindings& frame : findings)
        if (keyed && frame.lossy && frame.error.empty())
            frame.warnings.push_back(LossyWarning(frame));
    return findings;
}
