// Vector kernels of the quad rasterizer for WebAssembly's 128-bit SIMD: 32-bit spans four
// pixels at a time, in 16-bit lanes, computing exactly what the plain path computes. The same
// steps as the AVX2 kernels, at half their width.
#include "runtime/display/quad_spans.h"

#if defined(__wasm_simd128__)
#include <cstring>
#include <wasm_simd128.h>

namespace {
// Four pixels in 16-bit lanes: low holds pixels 0 and 1, high pixels 2 and 3.
struct Wide {
    v128_t low;
    v128_t high;
};

inline Wide Widen(v128_t pixels)
{
    return {wasm_u16x8_extend_low_u8x16(pixels), wasm_u16x8_extend_high_u8x16(pixels)};
}

// x / 255 rounded, exact for every x up to 255 * 255: with t = x + 128, (t + t / 256) / 256.
inline v128_t Div255(v128_t x)
{
    v128_t t = wasm_i16x8_add(x, wasm_i16x8_splat(128));
    return wasm_u16x8_shr(wasm_i16x8_add(t, wasm_u16x8_shr(t, 8)), 8);
}

// (a * (256 - f) + b * f + 128) / 256: every product and sum stays below 65536.
inline v128_t Lerp(v128_t a, v128_t b, v128_t f)
{
    v128_t weighted = wasm_i16x8_add(wasm_i16x8_mul(a, wasm_i16x8_sub(wasm_i16x8_splat(256), f)),
                                     wasm_i16x8_mul(b, f));
    return wasm_u16x8_shr(wasm_i16x8_add(weighted, wasm_i16x8_splat(128)), 8);
}

// Key texels become transparent black, every other texel opaque. The key is compared with
// the texels made opaque: it is the color key with an opaque top byte, or 0, which no opaque
// texel equals, when nothing is keyed.
inline v128_t OpaqueTexels(v128_t texels)
{
    return wasm_v128_or(texels, wasm_i32x4_splat(int32_t(0xFF000000)));
}

inline v128_t KeyTexels(v128_t texels, v128_t key)
{
    v128_t opaque = OpaqueTexels(texels);
    return wasm_v128_andnot(opaque, wasm_i32x4_eq(opaque, key));
}

inline v128_t Clamp(v128_t v, v128_t high)
{
    return wasm_i32x4_min(wasm_i32x4_max(v, wasm_i32x4_splat(0)), high);
}

struct Lanes {
    v128_t key, maxX, maxY, pitch, alpha; // key as KeyTexels takes it
    const int32_t* texels;
};

// Four texels by their indices; WebAssembly has no gather.
inline v128_t Gather(const Lanes& lanes, v128_t index)
{
    const int32_t* t = lanes.texels;
    return KeyTexels(
        wasm_i32x4_make(t[wasm_i32x4_extract_lane(index, 0)], t[wasm_i32x4_extract_lane(index, 1)],
                        t[wasm_i32x4_extract_lane(index, 2)], t[wasm_i32x4_extract_lane(index, 3)]),
        lanes.key);
}

// Four texels by their indices and their right neighbours, a pair at a time: one 64-bit
// load gives both texels of a pixel, half the loads of gathering them one by one.
struct Pair {
    v128_t left;
    v128_t right;
};

inline Pair GatherPairs(const Lanes& lanes, v128_t index)
{
    const int32_t* t = lanes.texels;
    v128_t pairs01 = wasm_v128_load64_zero(t + wasm_i32x4_extract_lane(index, 0));
    pairs01 = wasm_v128_load64_lane(t + wasm_i32x4_extract_lane(index, 1), pairs01, 1);
    v128_t pairs23 = wasm_v128_load64_zero(t + wasm_i32x4_extract_lane(index, 2));
    pairs23 = wasm_v128_load64_lane(t + wasm_i32x4_extract_lane(index, 3), pairs23, 1);
    return {KeyTexels(wasm_i32x4_shuffle(pairs01, pairs23, 0, 2, 4, 6), lanes.key),
            KeyTexels(wasm_i32x4_shuffle(pairs01, pairs23, 1, 3, 5, 7), lanes.key)};
}

inline Wide FetchPoint(const Lanes& lanes, v128_t s, v128_t t)
{
    v128_t x = Clamp(wasm_i32x4_shr(s, 16), lanes.maxX);
    v128_t y = Clamp(wasm_i32x4_shr(t, 16), lanes.maxY);
    return Widen(Gather(lanes, wasm_i32x4_add(wasm_i32x4_mul(y, lanes.pitch), x)));
}

// Each pixel's fraction (0 to 256) in all four of its 16-bit lanes, in the order of Wide.
inline Wide SpreadFraction(v128_t fraction)
{
    return {wasm_i8x16_shuffle(fraction, fraction, 0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5),
            wasm_i8x16_shuffle(fraction, fraction, 8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13,
                               12, 13)};
}

// Bilinear texels from pairs of neighbours. Where the right neighbour would lie beyond the
// last column (or the left before the first), the pair moves inside and the fraction goes
// to 256 (or 0), which picks the same edge texel the clamp would. Four pixels whose texels
// are all keyed are left as they are (visible false), without the filter's arithmetic.
inline Wide FetchBilinear(const Lanes& lanes, v128_t s, v128_t t, bool& visible)
{
    v128_t s8 = wasm_i32x4_shr(s, 8), t8 = wasm_i32x4_shr(t, 8);
    v128_t x = wasm_i32x4_shr(s8, 8), y = wasm_i32x4_shr(t8, 8);
    v128_t one = wasm_i32x4_splat(1), low8 = wasm_i32x4_splat(255), zero = wasm_i32x4_splat(0);
    v128_t fx = wasm_v128_and(s8, low8);
    v128_t lastPair = wasm_i32x4_sub(lanes.maxX, one);
    fx = wasm_v128_bitselect(wasm_i32x4_splat(256), fx, wasm_i32x4_gt(x, lastPair));
    fx = wasm_v128_andnot(fx, wasm_i32x4_gt(zero, x));
    v128_t x0 = wasm_i32x4_min(wasm_i32x4_max(x, zero), lastPair);
    v128_t row0 = wasm_i32x4_mul(Clamp(y, lanes.maxY), lanes.pitch);
    v128_t row1 = wasm_i32x4_mul(Clamp(wasm_i32x4_add(y, one), lanes.maxY), lanes.pitch);
    Pair top = GatherPairs(lanes, wasm_i32x4_add(row0, x0));
    Pair bottom = GatherPairs(lanes, wasm_i32x4_add(row1, x0));
    v128_t c00 = top.left, c10 = top.right, c01 = bottom.left, c11 = bottom.right;
    if (!wasm_v128_any_true(wasm_v128_or(wasm_v128_or(c00, c10), wasm_v128_or(c01, c11)))) {
        visible = false;
        return {c00, c00};
    }
    Wide a = Widen(c00), b = Widen(c10), c = Widen(c01), d = Widen(c11);
    Wide wx = SpreadFraction(fx);
    Wide wy = SpreadFraction(wasm_v128_and(t8, low8));
    return {Lerp(Lerp(a.low, b.low, wx.low), Lerp(c.low, d.low, wx.low), wy.low),
            Lerp(Lerp(a.high, b.high, wx.high), Lerp(c.high, d.high, wx.high), wy.high)};
}

// Copies word 3 of every pixel (its weight) into its four words.
inline v128_t SpreadWeight(v128_t v)
{
    return wasm_i8x16_shuffle(v, v, 6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
}

// Factors (5, 6): P*A/255 + D*(255 - W*A/255)/255. The weight word of the scaled source is
// W*A/255 itself.
inline v128_t Over(v128_t sample, v128_t dest, v128_t alpha)
{
    v128_t source = Div255(wasm_i16x8_mul(sample, alpha));
    v128_t keep = wasm_i16x8_sub(wasm_i16x8_splat(255), SpreadWeight(source));
    return wasm_i16x8_add(source, Div255(wasm_i16x8_mul(dest, keep)));
}

// Factors (9, 8): P*D/255 + D*(255 - W)/255.
inline v128_t Multiply(v128_t sample, v128_t dest)
{
    v128_t keep = wasm_i16x8_sub(wasm_i16x8_splat(255), SpreadWeight(sample));
    return wasm_i16x8_add(Div255(wasm_i16x8_mul(sample, dest)), Div255(wasm_i16x8_mul(dest, keep)));
}

template <SpanBlend B>
inline void Store(const Lanes& lanes, Wide sample, uint32_t* dst)
{
    v128_t raw = wasm_v128_load(dst);
    Wide dest = Widen(raw);
    Wide out;
    if constexpr (B == BLEND_OVER)
        out = {Over(sample.low, dest.low, lanes.alpha), Over(sample.high, dest.high, lanes.alpha)};
    else
        out = {Multiply(sample.low, dest.low), Multiply(sample.high, dest.high)};
    v128_t packed = wasm_u8x16_narrow_i16x8(out.low, out.high);
    v128_t spare = wasm_i32x4_splat(int32_t(0xFF000000));
    wasm_v128_store(dst, wasm_v128_bitselect(raw, packed, spare));
}

// Four pixels' filtered texels; visible turns false when all of them are keyed, which leaves
// the destination as it is under both blends (weight 0 keeps every pixel). Copies are looked
// at only under OVER: the light, multiplied, has no key.
// Factors (9, 8) for four texels copied one to one (the light): where none is keyed, every
// weight is 255 and the blend is P*D/255 alone, the products taken straight from the bytes.
// White texels keep the destination and black ones make it black, exactly, without it.
// With nothing keyed, the look for keyed texels is skipped.
inline void MultiplyCopy(const Lanes& lanes, bool keyed, const uint32_t* texels, uint32_t* dst)
{
    v128_t color = wasm_v128_and(wasm_v128_load(texels), wasm_i32x4_splat(0x00FFFFFF));
    if (keyed && wasm_v128_any_true(wasm_i32x4_eq(OpaqueTexels(color), lanes.key))) {
        Store<BLEND_MULTIPLY>(lanes, Widen(KeyTexels(wasm_v128_load(texels), lanes.key)), dst);
        return;
    }
    v128_t spare = wasm_i32x4_splat(int32_t(0xFF000000));
    v128_t dest = wasm_v128_load(dst);
    if (!wasm_v128_any_true(color)) {
        wasm_v128_store(dst, wasm_v128_and(dest, spare));
        return;
    }
    if (wasm_i32x4_all_true(wasm_i32x4_eq(color, wasm_i32x4_splat(0x00FFFFFF))))
        return;
    v128_t low = Div255(wasm_u16x8_extmul_low_u8x16(color, dest));
    v128_t high = Div255(wasm_u16x8_extmul_high_u8x16(color, dest));
    wasm_v128_store(dst, wasm_v128_bitselect(dest, wasm_u8x16_narrow_i16x8(low, high), spare));
}

template <SpanFetch F, SpanBlend B>
inline Wide Fetch(const Lanes& lanes, const Span32& span, int32_t i, v128_t s, v128_t t,
                  bool& visible)
{
    if constexpr (F == FETCH_CONTIGUOUS) {
        const uint32_t* row = span.texels + static_cast<intptr_t>(span.t >> 16) * span.texelPitch;
        v128_t texels = KeyTexels(wasm_v128_load(row + (span.s >> 16) + i), lanes.key);
        if constexpr (B == BLEND_OVER)
            visible = wasm_v128_any_true(texels);
        return Widen(texels);
    } else if constexpr (F == FETCH_POINT) {
        return FetchPoint(lanes, s, t);
    } else {
        return FetchBilinear(lanes, s, t, visible);
    }
}

template <SpanFetch F, SpanBlend B>
void DrawSpan32(const Span32& span)
{
    bool keyed = span.key <= 0x00FFFFFFu;
    Lanes lanes{wasm_i32x4_splat(keyed ? int32_t(span.key | 0xFF000000u) : 0),
                wasm_i32x4_splat(span.maxX),
                wasm_i32x4_splat(span.maxY),
                wasm_i32x4_splat(span.texelPitch),
                wasm_i16x8_splat(int16_t(span.alpha)),
                reinterpret_cast<const int32_t*>(span.texels)};
    v128_t steps = wasm_i32x4_make(0, 1, 2, 3);
    v128_t s =
        wasm_i32x4_add(wasm_i32x4_splat(span.s), wasm_i32x4_mul(steps, wasm_i32x4_splat(span.ds)));
    v128_t t =
        wasm_i32x4_add(wasm_i32x4_splat(span.t), wasm_i32x4_mul(steps, wasm_i32x4_splat(span.dt)));
    v128_t ds4 = wasm_i32x4_splat(int32_t(uint32_t(span.ds) * 4u));
    v128_t dt4 = wasm_i32x4_splat(int32_t(uint32_t(span.dt) * 4u));
    int32_t i = 0;
    if constexpr (F == FETCH_CONTIGUOUS && B == BLEND_MULTIPLY) {
        const uint32_t* row =
            span.texels + static_cast<intptr_t>(span.t >> 16) * span.texelPitch + (span.s >> 16);
        for (; i + 4 <= span.count; i += 4)
            MultiplyCopy(lanes, keyed, row + i, span.dst + i);
        s = wasm_i32x4_add(s, wasm_i32x4_splat(int32_t(uint32_t(span.ds) * uint32_t(i))));
        t = wasm_i32x4_add(t, wasm_i32x4_splat(int32_t(uint32_t(span.dt) * uint32_t(i))));
    }
    for (; i + 4 <= span.count; i += 4) {
        bool visible = true;
        Wide sample = Fetch<F, B>(lanes, span, i, s, t, visible);
        if (visible)
            Store<B>(lanes, sample, span.dst + i);
        s = wasm_i32x4_add(s, ds4);
        t = wasm_i32x4_add(t, dt4);
    }
    int32_t rest = span.count - i;
    if (rest == 0)
        return;
    // The last few pixels go through a small buffer; their texels are fetched one by one
    // with clamped coordinates, so nothing is read beyond the texture.
    bool visible = true;
    Wide sample;
    if constexpr (F == FETCH_BILINEAR)
        sample = FetchBilinear(lanes, s, t, visible);
    else
        sample = FetchPoint(lanes, s, t);
    if (!visible)
        return;
    uint32_t buffer[4] = {};
    std::memcpy(buffer, span.dst + i, rest * sizeof(uint32_t));
    Store<B>(lanes, sample, buffer);
    std::memcpy(span.dst + i, buffer, rest * sizeof(uint32_t));
}
} // namespace

Span32Kernel VectorSpan32Kernel(SpanFetch fetch, SpanBlend blend)
{
    static const Span32Kernel kernels[3][2] = {
        {DrawSpan32<FETCH_POINT, BLEND_OVER>, DrawSpan32<FETCH_POINT, BLEND_MULTIPLY>},
        {DrawSpan32<FETCH_BILINEAR, BLEND_OVER>, DrawSpan32<FETCH_BILINEAR, BLEND_MULTIPLY>},
        {DrawSpan32<FETCH_CONTIGUOUS, BLEND_OVER>, DrawSpan32<FETCH_CONTIGUOUS, BLEND_MULTIPLY>},
    };
    return kernels[fetch][blend];
}
#endif
