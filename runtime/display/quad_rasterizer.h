// Our stand-in for the 3D device: draws one pre-transformed textured quad (a four-vertex
// triangle strip) from a texture surface into a target surface.
//
// The picture it makes, pixel for pixel:
// - Coverage: the strip is the triangles (v0, v1, v2) and (v1, v3, v2), either winding. Pixel
//   centres lie at half-integers; a centre exactly on an edge belongs to the triangle only when
//   the edge is a left or a top edge, so quads sharing an edge never draw a pixel twice.
//   Vertices are snapped to 1/256 pixel.
// - Texture mapping is affine per triangle. A texel coordinate is u * width (point sampling) or
//   u * width - 0.5 (bilinear), so an unrotated quad at its texture's own size maps every pixel
//   centre exactly onto a texel centre and copies the texture texel for pixel in both modes.
//   Coordinates outside the texture are clamped to its edge texels.
// - Every texel becomes a premultiplied color and a weight: weight 0 and color 0 for a texel
//   of the color key (when keying is on and the texture has a key), the texture's own alpha for
//   a 32-bit alpha texture under alpha modulation, 255 otherwise. Bilinear filtering mixes these
//   with 8-bit fractions, so the key color never bleeds into visible pixels: it only makes
//   edge pixels partly transparent.
// - Blending with the destination (whose alpha reads as 1, the buffer having none), with P the
//   filtered premultiplied color, W the filtered weight, A the diffuse alpha, D the destination
//   and d(x) = x / 255 rounded:
//     (5, 6) source alpha, inverse source alpha: P*A/255 + D*(255 - W*A/255)/255;
//     (9, 8) destination color, inverse destination alpha: P*D/255 + D*(255 - W)/255;
//   any other pair (and blending off, which is (2, 1)): the color P un-premultiplied by W is
//   blended with the factors, the result is mixed with D by the coverage (W, or 255 under alpha
//   modulation, whose source alpha is then W*A/255).
// - The fourth byte of a 32-bit destination pixel is left as it was.
#pragma once
#include "runtime/display/blend_factor.h"
#include "runtime/display/surface.h"

#include <cstdint>

// The transformed-and-lit vertex of the strip (32 bytes): screen position, depth, reciprocal
// w, diffuse and specular ARGB colors, texture coordinates.
struct TLVertex {
    float x;
    float y;
    float z;
    float rhw;
    uint32_t diffuse;
    uint32_t specular;
    float tu;
    float tv;
};
static_assert(sizeof(TLVertex) == 32);

// The render and texture-stage states a quad is drawn with.
struct QuadState {
    int32_t filterLinear = 0;    // 0 point sampling, 1 bilinear
    int32_t colorKeyEnabled = 1; // texels of the texture's color key are not drawn
    int32_t alphaModulate = 0;   // 1: texture alpha (32-bit textures) times the diffuse alpha
    int32_t blendEnabled = 1;    // 0 writes the source color
    int32_t srcBlend = BLEND_SRCALPHA;
    int32_t destBlend = BLEND_INVSRCALPHA;
};

// One triangle (or, when the quad is an exact parallelogram in both position and texture, the
// whole quad, whose two triangles then share one mapping) ready for scan conversion: three or
// four edge functions a*x + b*y + c in 1/256 pixel units, positive inside, and the texel
// coordinates as planes over the screen.
struct QuadTriangle {
    int32_t edgeCount;
    int64_t a[4];
    int64_t b[4];
    int64_t c[4];
    bool inclusive[4];
    int32_t rowBegin;
    int32_t rowEnd;
    double s0, sdx, sdy; // texel x coordinate at screen (0, 0) and its gradient
    double t0, tdx, tdy; // texel y coordinate likewise
};

// Everything needed to draw a quad's rows, made once by PrepareQuad and then only read, so
// that several threads may draw different rows of one quad at once.
struct QuadSetup {
    Surface* target;
    const Surface* texture;
    QuadTriangle triangles[2];
    int32_t triangleCount;
    int32_t rowBegin; // rows of the target the quad may touch
    int32_t rowEnd;
    uint32_t key; // texel value of the color key (RGB bits), or ~0 when nothing is keyed
    uint32_t alpha;
    int32_t textureAlpha; // texels carry their alpha (alpha modulation of a 32-bit texture)
    int32_t kernel;       // which pixel path draws the spans (chosen by PrepareQuad)
    QuadState state;
};

// Prepares a quad for drawing: false when nothing can be drawn (empty or degenerate strip,
// vertices not finite or beyond 4 million pixels, a palette surface, unknown blend factors,
// no pixel of the target touched). The diffuse alpha is taken from the first vertex.
bool PrepareQuad(QuadSetup& setup, Surface& target, const Surface& texture,
                 const TLVertex vertices[4], const QuadState& state);
// Draws the quad's pixels in target rows rowBegin to rowEnd - 1.
void DrawQuadRows(const QuadSetup& setup, int32_t rowBegin, int32_t rowEnd);
// Prepares and draws a whole quad on the calling thread.
void DrawQuad(Surface& target, const Surface& texture, const TLVertex vertices[4],
              const QuadState& state);

// Whether spans may use the processor's vector instructions (on by default where the
// processor has them); returns the previous setting. Tests compare the two paths.
bool SetQuadVectorPaths(bool enabled);
// True when the vector paths exist on this processor.
bool QuadVectorPathsAvailable();
