// Vector kernels of the quad rasterizer: 32-bit spans eight pixels at a time with AVX2,
// chosen at run time. They compute exactly what the plain path computes, in 16-bit lanes.
#include "runtime/display/quad_spans.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define VECTOR_TARGET __attribute__((target("avx2")))

namespace {
// Eight pixels in 16-bit lanes: low holds pixels 0, 1, 4, 5 and high pixels 2, 3, 6, 7, the
// order in which byte unpacking splits a 256-bit register.
struct Wide {
    __m256i low;
    __m256i high;
};

VECTOR_TARGET inline Wide Widen(__m256i pixels)
{
    __m256i zero = _mm256_setzero_si256();
    return {_mm256_unpacklo_epi8(pixels, zero), _mm256_unpackhi_epi8(pixels, zero)};
}

// x / 255 rounded, exact for every x up to 255 * 255.
VECTOR_TARGET inline __m256i Div255(__m256i x)
{
    return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

// (a * (256 - f) + b * f + 128) / 256: every product and sum stays below 65536.
VECTOR_TARGET inline __m256i Lerp(__m256i a, __m256i b, __m256i f)
{
    __m256i weighted =
        _mm256_add_epi16(_mm256_mullo_epi16(a, _mm256_sub_epi16(_mm256_set1_epi16(256), f)),
                         _mm256_mullo_epi16(b, f));
    return _mm256_srli_epi16(_mm256_add_epi16(weighted, _mm256_set1_epi16(128)), 8);
}

// Key texels become transparent black, every other texel opaque.
VECTOR_TARGET inline __m256i KeyTexels(__m256i texels, __m256i key)
{
    __m256i color = _mm256_and_si256(texels, _mm256_set1_epi32(0x00FFFFFF));
    __m256i keyed = _mm256_cmpeq_epi32(color, key);
    return _mm256_andnot_si256(keyed,
                               _mm256_or_si256(color, _mm256_set1_epi32(int32_t(0xFF000000))));
}

VECTOR_TARGET inline __m256i Clamp(__m256i v, __m256i high)
{
    return _mm256_min_epi32(_mm256_max_epi32(v, _mm256_setzero_si256()), high);
}

struct Lanes {
    __m256i key, maxX, maxY, pitch, alpha;
    const int* texels;
};

// Eight texels by their indices. Hardware gathers are slow on several processors that have
// them; plain loads are never slower.
VECTOR_TARGET inline __m256i Gather(const Lanes& lanes, __m256i x, __m256i rowStart)
{
    alignas(32) int32_t index[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(index), _mm256_add_epi32(rowStart, x));
    const int* t = lanes.texels;
    __m128i low = _mm_setr_epi32(t[index[0]], t[index[1]], t[index[2]], t[index[3]]);
    __m128i high = _mm_setr_epi32(t[index[4]], t[index[5]], t[index[6]], t[index[7]]);
    return KeyTexels(_mm256_set_m128i(high, low), lanes.key);
}

VECTOR_TARGET inline __m128i TwoPairs(const int* first, const int* second)
{
    __m128d low = _mm_castsi128_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first)));
    return _mm_castpd_si128(_mm_loadh_pd(low, reinterpret_cast<const double*>(second)));
}

// Two neighbouring texels per pixel: the pairs at the indices, split into the left texels
// and the right texels.
VECTOR_TARGET inline void GatherPairs(const Lanes& lanes, __m256i index, __m256i& left,
                                      __m256i& right)
{
    alignas(32) int32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), index);
    const int* t = lanes.texels;
    __m128i p01 = TwoPairs(t + at[0], t + at[1]), p23 = TwoPairs(t + at[2], t + at[3]);
    __m128i p45 = TwoPairs(t + at[4], t + at[5]), p67 = TwoPairs(t + at[6], t + at[7]);
    __m256 a = _mm256_castsi256_ps(_mm256_set_m128i(p45, p01));
    __m256 b = _mm256_castsi256_ps(_mm256_set_m128i(p67, p23));
    left =
        KeyTexels(_mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0))), lanes.key);
    right =
        KeyTexels(_mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1))), lanes.key);
}

VECTOR_TARGET inline Wide FetchPoint(const Lanes& lanes, __m256i s, __m256i t)
{
    __m256i x = Clamp(_mm256_srai_epi32(s, 16), lanes.maxX);
    __m256i y = Clamp(_mm256_srai_epi32(t, 16), lanes.maxY);
    return Widen(Gather(lanes, x, _mm256_mullo_epi32(y, lanes.pitch)));
}

// Each pixel's 8-bit fraction in all four of its 16-bit lanes, in the order of Wide.
VECTOR_TARGET inline Wide SpreadFraction(__m256i fraction)
{
    __m256i both = _mm256_or_si256(fraction, _mm256_slli_epi32(fraction, 16));
    return {_mm256_unpacklo_epi32(both, both), _mm256_unpackhi_epi32(both, both)};
}

// Bilinear texels from pairs of neighbours. Where the right neighbour would lie beyond the
// last column (or the left before the first), the pair moves inside and the fraction goes
// to 256 (or 0), which picks the same edge texel the clamp would.
VECTOR_TARGET inline Wide FetchBilinear(const Lanes& lanes, __m256i s, __m256i t)
{
    __m256i s8 = _mm256_srai_epi32(s, 8), t8 = _mm256_srai_epi32(t, 8);
    __m256i x = _mm256_srai_epi32(s8, 8), y = _mm256_srai_epi32(t8, 8);
    __m256i one = _mm256_set1_epi32(1), low8 = _mm256_set1_epi32(255);
    __m256i fx = _mm256_and_si256(s8, low8);
    __m256i lastPair = _mm256_sub_epi32(lanes.maxX, one);
    __m256i beyond = _mm256_cmpgt_epi32(x, lastPair);
    __m256i before = _mm256_cmpgt_epi32(_mm256_setzero_si256(), x);
    fx = _mm256_blendv_epi8(fx, _mm256_set1_epi32(256), beyond);
    fx = _mm256_andnot_si256(before, fx);
    __m256i x0 = _mm256_min_epi32(_mm256_max_epi32(x, _mm256_setzero_si256()), lastPair);
    __m256i row0 = _mm256_mullo_epi32(Clamp(y, lanes.maxY), lanes.pitch);
    __m256i row1 = _mm256_mullo_epi32(Clamp(_mm256_add_epi32(y, one), lanes.maxY), lanes.pitch);
    __m256i c00, c10, c01, c11;
    GatherPairs(lanes, _mm256_add_epi32(row0, x0), c00, c10);
    GatherPairs(lanes, _mm256_add_epi32(row1, x0), c01, c11);
    Wide a = Widen(c00), b = Widen(c10), c = Widen(c01), d = Widen(c11);
    Wide wx = SpreadFraction(fx);
    Wide wy = SpreadFraction(_mm256_and_si256(t8, low8));
    return {Lerp(Lerp(a.low, b.low, wx.low), Lerp(c.low, d.low, wx.low), wy.low),
            Lerp(Lerp(a.high, b.high, wx.high), Lerp(c.high, d.high, wx.high), wy.high)};
}

// Copies word 3 of every pixel (its weight) into its four words.
VECTOR_TARGET inline __m256i SpreadWeight(__m256i v)
{
    const __m256i pattern =
        _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15, 6, 7, 6, 7, 6, 7,
                         6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
    return _mm256_shuffle_epi8(v, pattern);
}

// Factors (5, 6): P*A/255 + D*(255 - W*A/255)/255. The weight word of the scaled source is
// W*A/255 itself.
VECTOR_TARGET inline __m256i Over(__m256i sample, __m256i dest, __m256i alpha)
{
    __m256i source = Div255(_mm256_mullo_epi16(sample, alpha));
    __m256i keep = _mm256_sub_epi16(_mm256_set1_epi16(255), SpreadWeight(source));
    return _mm256_add_epi16(source, Div255(_mm256_mullo_epi16(dest, keep)));
}

// Factors (9, 8): P*D/255 + D*(255 - W)/255.
VECTOR_TARGET inline __m256i Multiply(__m256i sample, __m256i dest)
{
    __m256i keep = _mm256_sub_epi16(_mm256_set1_epi16(255), SpreadWeight(sample));
    return _mm256_add_epi16(Div255(_mm256_mullo_epi16(sample, dest)),
                            Div255(_mm256_mullo_epi16(dest, keep)));
}

template <SpanBlend B>
VECTOR_TARGET inline void Store(const Lanes& lanes, Wide sample, uint32_t* dst)
{
    __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst));
    Wide dest = Widen(raw);
    Wide out;
    if constexpr (B == BLEND_OVER)
        out = {Over(sample.low, dest.low, lanes.alpha), Over(sample.high, dest.high, lanes.alpha)};
    else
        out = {Multiply(sample.low, dest.low), Multiply(sample.high, dest.high)};
    __m256i packed = _mm256_packus_epi16(out.low, out.high);
    __m256i spare = _mm256_set1_epi32(int32_t(0xFF000000));
    packed = _mm256_or_si256(_mm256_andnot_si256(spare, packed), _mm256_and_si256(spare, raw));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), packed);
}

// Factors (9, 8) for eight texels copied one to one (the light): where none is keyed, every
// weight is 255 and the blend is P*D/255 alone. White texels keep the destination and black
// ones make it black, exactly, without it.
VECTOR_TARGET inline void MultiplyCopy(const Lanes& lanes, const uint32_t* texels, uint32_t* dst)
{
    __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels));
    __m256i white = _mm256_set1_epi32(0x00FFFFFF);
    __m256i color = _mm256_and_si256(raw, white);
    __m256i keyed = _mm256_cmpeq_epi32(color, lanes.key);
    if (!_mm256_testz_si256(keyed, keyed)) {
        Store<BLEND_MULTIPLY>(lanes, Widen(KeyTexels(raw, lanes.key)), dst);
        return;
    }
    __m256i spare = _mm256_set1_epi32(int32_t(0xFF000000));
    __m256i dest = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst));
    if (_mm256_testz_si256(color, color)) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), _mm256_and_si256(dest, spare));
        return;
    }
    if (_mm256_testc_si256(color, white))
        return;
    Wide light = Widen(color), under = Widen(dest);
    __m256i packed = _mm256_packus_epi16(Div255(_mm256_mullo_epi16(light.low, under.low)),
                                         Div255(_mm256_mullo_epi16(light.high, under.high)));
    packed = _mm256_or_si256(_mm256_andnot_si256(spare, packed), _mm256_and_si256(spare, dest));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), packed);
}

// Eight pixels' filtered texels. Eight keyed texels are blended like any others: a test
// for them saves arithmetic but costs more than it saves where sprites' edges make the branch
// unpredictable.
template <SpanFetch F>
VECTOR_TARGET inline Wide Fetch(const Lanes& lanes, const Span32& span, int32_t i, __m256i s,
                                __m256i t)
{
    if constexpr (F == FETCH_CONTIGUOUS) {
        const uint32_t* row = span.texels + static_cast<intptr_t>(span.t >> 16) * span.texelPitch;
        __m256i texels =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + (span.s >> 16) + i));
        return Widen(KeyTexels(texels, lanes.key));
    } else if constexpr (F == FETCH_POINT) {
        return FetchPoint(lanes, s, t);
    } else {
        return FetchBilinear(lanes, s, t);
    }
}

template <SpanFetch F, SpanBlend B>
VECTOR_TARGET void DrawSpan32(const Span32& span)
{
    Lanes lanes{_mm256_set1_epi32(int32_t(span.key)),   _mm256_set1_epi32(span.maxX),
                _mm256_set1_epi32(span.maxY),           _mm256_set1_epi32(span.texelPitch),
                _mm256_set1_epi16(int16_t(span.alpha)), reinterpret_cast<const int*>(span.texels)};
    __m256i steps = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i s = _mm256_add_epi32(_mm256_set1_epi32(span.s),
                                 _mm256_mullo_epi32(steps, _mm256_set1_epi32(span.ds)));
    __m256i t = _mm256_add_epi32(_mm256_set1_epi32(span.t),
                                 _mm256_mullo_epi32(steps, _mm256_set1_epi32(span.dt)));
    __m256i ds8 = _mm256_set1_epi32(int32_t(uint32_t(span.ds) * 8u));
    __m256i dt8 = _mm256_set1_epi32(int32_t(uint32_t(span.dt) * 8u));
    int32_t i = 0;
    if constexpr (F == FETCH_CONTIGUOUS && B == BLEND_MULTIPLY) {
        const uint32_t* row =
            span.texels + static_cast<intptr_t>(span.t >> 16) * span.texelPitch + (span.s >> 16);
        for (; i + 8 <= span.count; i += 8)
            MultiplyCopy(lanes, row + i, span.dst + i);
        s = _mm256_add_epi32(s, _mm256_set1_epi32(int32_t(uint32_t(span.ds) * uint32_t(i))));
        t = _mm256_add_epi32(t, _mm256_set1_epi32(int32_t(uint32_t(span.dt) * uint32_t(i))));
    }
    for (; i + 8 <= span.count; i += 8) {
        Store<B>(lanes, Fetch<F>(lanes, span, i, s, t), span.dst + i);
        s = _mm256_add_epi32(s, ds8);
        t = _mm256_add_epi32(t, dt8);
    }
    int32_t rest = span.count - i;
    if (rest == 0)
        return;
    // The last few pixels go through a small buffer; their texels are fetched one by one
    // with clamped coordinates, so nothing is read beyond the texture.
    uint32_t buffer[8] = {};
    std::memcpy(buffer, span.dst + i, rest * sizeof(uint32_t));
    if constexpr (F == FETCH_BILINEAR)
        Store<B>(lanes, FetchBilinear(lanes, s, t), buffer);
    else
        Store<B>(lanes, FetchPoint(lanes, s, t), buffer);
    std::memcpy(span.dst + i, buffer, rest * sizeof(uint32_t));
}

bool HasAvx2()
{
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}
} // namespace

Span32Kernel VectorSpan32Kernel(SpanFetch fetch, SpanBlend blend)
{
    if (!HasAvx2())
        return nullptr;
    static const Span32Kernel kernels[3][2] = {
        {DrawSpan32<FETCH_POINT, BLEND_OVER>, DrawSpan32<FETCH_POINT, BLEND_MULTIPLY>},
        {DrawSpan32<FETCH_BILINEAR, BLEND_OVER>, DrawSpan32<FETCH_BILINEAR, BLEND_MULTIPLY>},
        {DrawSpan32<FETCH_CONTIGUOUS, BLEND_OVER>, DrawSpan32<FETCH_CONTIGUOUS, BLEND_MULTIPLY>},
    };
    return kernels[fetch][blend];
}

#elif !defined(__wasm_simd128__)

// quad_spans_simd128.cpp has the kernels of WebAssembly's SIMD.
Span32Kernel VectorSpan32Kernel(SpanFetch, SpanBlend)
{
    return nullptr;
}

#endif
