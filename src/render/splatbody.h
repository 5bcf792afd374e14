// The arithmetic of a frame composed in memory, compiled once per
// instruction set (splat.cpp portable, splat_avx2.cpp for AVX2,
// splat_avx512.cpp for AVX-512); everything
// here has internal linkage, so no copy built for one set stands in for
// another's. Every rule here is the one
// the software rasteriser applies to the same OpenGL calls, on 8-bit
// channels:
//   - blending works on bytes (the fade's alpha is fadeAlphaByte), and a
//     product of bytes s d is (t + t / 256 + 128) / 256 with t = s d;
//   - a texture modulated by a colour c is v / 255 * c * 255 in floats,
//     rounded to the nearest byte (ties to even);
//   - a square point of size s is n pixels wide, n the nearest whole number
//     to s (at least 1): for odd n centred on the pixel that holds the
//     centre c, for even n on the pixel corner nearest to c (c snapped to
//     1/256 pixel);
//   - a rounded point is drawn as a quad of side s around its centre whose
//     fragments farther than s/2 from the centre are discarded (the blend
//     functions of the three methods do not read the coverage it writes to
//     alpha, so a disc with a hard edge is what the window receives); a
//     smooth point smaller than 2 is drawn as one of size 2.
//
// Index
//   - Pixels: channel scale, blend methods
//   - Row kernels: fade, weighted sum (lane groups)
//   - Spans: one colour blended into a run of pixels, per instruction set
//   - Points: sorted into bands, then squares and discs in a band of rows
//   - Variants: the bodies built per instruction set
#pragma once

#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "engine/lanes.h"
#include "render/splat.h"

// ---- Pixels ----
static VYR_INLINE float clampUnit(float v) { return v > 0 ? v < 1 ? v : 1 : 0; }  // NaN gives 0

// The product of bytes a and b over 255, as 8-bit blending computes it; the
// sum stays within 16 bits.
template <class U> static VYR_INLINE U mulBytes(U a, U b)
{
    U t = a * b;
    return (t + (t >> 8) + 128) >> 8;
}

constexpr float INVERSE_255 = 1.0f / 255.0f;
constexpr float ROUNDING = 8388608.0f;  // 2^23: adding and taking it away rounds to an integer, ties to even

// v modulated by c, for a channel or a lane group of channels.
template <class F, class I> static VYR_INLINE I modulate(I v, float c)
{
    F f = convert<F>(v) * INVERSE_255 * c * 255.0f;
    return convert<I>(f + ROUNDING - ROUNDING);
}

static VYR_INLINE uint32_t scaleChannel(uint32_t v, channelscale k)
{
    return k.modulate ? modulate<float>(v, k.factor) : mulBytes(v, (uint32_t)k.byte);
}

template <int METHOD> static VYR_INLINE uint32_t blendPixel(uint32_t d, uint32_t s)
{
    if constexpr (METHOD == 2) return s;  // maximum: the last point wins
    uint32_t out = 0;
    for (int c = 0; c < 32; c += 8) {
        uint32_t dc = (d >> c) & 255, sc = (s >> c) & 255;
        uint32_t v = METHOD == 0 ? dc + mulBytes(sc, 255 - dc) : dc + sc;  // logarithmic, linear
        out |= (v > 255 ? 255 : v) << c;
    }
    return out;
}

// ---- Row kernels ----
// Channels in blocks of N bytes (a vector register's worth of 16-bit words),
// widened to words for the blend factor, and as two halves of N / 2 floats
// for the modulation.
template <int N> struct blocklanes {
    typedef uint8_t B __attribute__((vector_size(N)));
    typedef uint16_t W __attribute__((vector_size(2 * N)));
    typedef uint16_t H __attribute__((vector_size(N)));  // half of W
    typedef typename lanes<N / 2>::I I;
    typedef typename lanes<N / 2>::F F;
};

template <int N> static VYR_INLINE typename blocklanes<N>::W modulateBlock(typename blocklanes<N>::W w, float c)
{
    typedef blocklanes<N> L;
    typename L::H half[2];
    memcpy(half, &w, sizeof w);
    for (typename L::H& h : half) h = convert<typename L::H>(modulate<typename L::F>(convert<typename L::I>(h), c));
    memcpy(&w, half, sizeof w);
    return w;
}

template <class W> static VYR_INLINE W lessStep(W w, int step)
{
    W s = W{} + (uint16_t)step;
    return w - (w < s ? w : s);
}

template <int N> static VYR_INLINE void fadeBody(uint8_t* p, size_t n, int step, channelscale scale)
{
    typedef typename blocklanes<N>::B B;
    typedef typename blocklanes<N>::W W;
    W k = W{} + (uint16_t)scale.byte;
    size_t i = 0;
    for (; i + N <= n; i += N) {
        B b;
        memcpy(&b, p + i, N);
        W w = lessStep(convert<W>(b), step);
        b = convert<B>(scale.modulate ? modulateBlock<N>(w, scale.factor) : mulBytes(w, k));
        memcpy(p + i, &b, N);
    }
    for (; i < n; i++) p[i] = (uint8_t)scaleChannel(uint32_t(p[i] > step ? p[i] - step : 0), scale);
}

// The weights are modulations.
template <int N> static VYR_INLINE void addScaledBody(uint8_t* sum, const uint8_t* add, size_t n, channelscale w)
{
    typedef typename blocklanes<N>::B B;
    typedef typename blocklanes<N>::W W;
    W top = W{} + (uint16_t)255;
    size_t i = 0;
    for (; i + N <= n; i += N) {
        B a, b, none = {};
        memcpy(&b, add + i, N);
        if (!memcmp(&b, &none, N)) continue;  // no point of the pass here (most of the box at low counts)
        memcpy(&a, sum + i, N);
        W u = convert<W>(a) + modulateBlock<N>(convert<W>(b), w.factor);
        a = convert<B>(u < top ? u : top);
        memcpy(sum + i, &a, N);
    }
    for (; i < n; i++) {
        uint32_t u = sum[i] + scaleChannel(add[i], w);
        sum[i] = uint8_t(u < 255 ? u : 255);
    }
}

// ---- Spans ----
// One colour blended into n >= 1 pixels from p on: whole groups of pixels
// at once, the last group under a mask where the instruction set has masked
// loads and stores (pixels past the span may belong to the other thread's
// rows, so they are never written, not even unchanged).
#if defined(__SSE2__)
// Four pixels: logarithmic d + s (255 - d) / 255, linear saturating sum, or s.
template <int METHOD> static VYR_INLINE __m128i blendFour(__m128i d, __m128i s)
{
    if constexpr (METHOD == 2) return s;
    if constexpr (METHOD == 1) return _mm_adds_epu8(d, s);
#if defined(__AVX2__)
    __m256i dw = _mm256_cvtepu8_epi16(d), sw = _mm256_cvtepu8_epi16(s);
    __m256i t = _mm256_mullo_epi16(sw, _mm256_xor_si256(dw, _mm256_set1_epi16(255)));
    t = _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), _mm256_set1_epi16(128)), 8);
    __m256i r = _mm256_add_epi16(dw, t);
    return _mm_packus_epi16(_mm256_castsi256_si128(r), _mm256_extracti128_si256(r, 1));
#else
    __m128i zero = _mm_setzero_si128(), top = _mm_set1_epi16(255), half = _mm_set1_epi16(128);
    __m128i sw = _mm_unpacklo_epi8(s, zero);  // the same colour in every pixel
    __m128i out[2];
    for (int i = 0; i < 2; i++) {
        __m128i dw = i ? _mm_unpackhi_epi8(d, zero) : _mm_unpacklo_epi8(d, zero);
        __m128i t = _mm_mullo_epi16(sw, _mm_xor_si128(dw, top));
        t = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), half), 8);
        out[i] = _mm_add_epi16(dw, t);
    }
    return _mm_packus_epi16(out[0], out[1]);
#endif
}
#endif

#if defined(__AVX512BW__) && defined(__AVX512VL__)
// Eight pixels in 16-bit lanes of one register.
template <int METHOD> static VYR_INLINE __m256i blendEight(__m256i d, __m256i s)
{
    if constexpr (METHOD == 2) return s;
    if constexpr (METHOD == 1) return _mm256_adds_epu8(d, s);
    __m512i dw = _mm512_cvtepu8_epi16(d), sw = _mm512_cvtepu8_epi16(s);
    __m512i t = _mm512_mullo_epi16(sw, _mm512_xor_si512(dw, _mm512_set1_epi16(255)));
    t = _mm512_srli_epi16(_mm512_add_epi16(_mm512_add_epi16(t, _mm512_srli_epi16(t, 8)), _mm512_set1_epi16(128)), 8);
    return _mm512_cvtepi16_epi8(_mm512_add_epi16(dw, t));
}

template <int METHOD> static VYR_INLINE void blendSpan(uint32_t* p, int n, uint32_t color)
{
    __m256i s = _mm256_set1_epi32((int)color);
    for (; n >= 8; n -= 8, p += 8)
        _mm256_storeu_si256((__m256i*)p, blendEight<METHOD>(_mm256_loadu_si256((const __m256i*)p), s));
    if (n == 0) return;
    __mmask8 m = (__mmask8)((1u << n) - 1);
    _mm256_mask_storeu_epi32(p, m, blendEight<METHOD>(_mm256_maskz_loadu_epi32(m, p), s));
}
#elif defined(__AVX2__)
alignas(16) static const int32_t SPAN_MASKS[8] = {-1, -1, -1, -1, 0, 0, 0, 0};

template <int METHOD> static VYR_INLINE void blendSpan(uint32_t* p, int n, uint32_t color)
{
    __m128i s = _mm_set1_epi32((int)color);
    for (; n >= 4; n -= 4, p += 4)
        _mm_storeu_si128((__m128i*)p, blendFour<METHOD>(_mm_loadu_si128((const __m128i*)p), s));
    if (n == 0) return;
    __m128i m = _mm_loadu_si128((const __m128i*)(SPAN_MASKS + 4 - n));
    _mm_maskstore_epi32((int*)p, m, blendFour<METHOD>(_mm_maskload_epi32((const int*)p, m), s));
}
#elif defined(__SSE2__)
template <int METHOD> static VYR_INLINE void blendSpan(uint32_t* p, int n, uint32_t color)
{
    __m128i s = _mm_set1_epi32((int)color);
    for (; n >= 4; n -= 4, p += 4)
        _mm_storeu_si128((__m128i*)p, blendFour<METHOD>(_mm_loadu_si128((const __m128i*)p), s));
    for (; n > 0; n--, p++) *p = (uint32_t)_mm_cvtsi128_si32(blendFour<METHOD>(_mm_cvtsi32_si128((int)*p), s));
}
#else
template <int METHOD> static VYR_INLINE void blendSpan(uint32_t* p, int n, uint32_t color)
{
    for (int i = 0; i < n; i++) p[i] = blendPixel<METHOD>(p[i], color);
}
#endif

// ---- Points ----
// v * 256 rounded to the nearest integer (ties to even), inline.
static VYR_INLINE int snap(float v)
{
#if defined(__SSE2__)
    return _mm_cvtss_si32(_mm_set_ss(v * 256.0f));
#else
    return (int)lrintf(v * 256.0f);
#endif
}

// The point's colour in the frame's byte order (red and blue change places).
static VYR_INLINE uint32_t frameColor(const point& p)
{
    uint32_t c;
    memcpy(&c, p.color, 4);
    return (c & 0xFF00FF00u) | (((c << 16) | (c >> 16)) & 0x00FF00FFu);  // a rotation swaps bytes 0 and 2
}

static VYR_INLINE double squareRoot(double v)  // v >= 0; no error path
{
#if defined(__SSE2__)
    return _mm_cvtsd_f64(_mm_sqrt_sd(_mm_setzero_pd(), _mm_set_sd(v)));
#else
    return std::sqrt(v);
#endif
}

static VYR_INLINE int squareSide(float size)
{
    int side = (int)(size + 0.5f);  // square points take a whole number of pixels
    return side < 1 ? 1 : side;
}

// v in 1/DISC_UNIT pixel, rounded to the nearest (exact from 512 pixels on).
static VYR_INLINE int32_t fine(float v)
{
#if defined(__SSE2__)
    return _mm_cvtss_si32(_mm_set_ss(v * (float)DISC_UNIT));
#else
    return (int32_t)lrintf(v * (float)DISC_UNIT);
#endif
}

// First pixel whose centre lies at or after the edge e, and last whose
// centre lies before it (1/256 pixel): the rasteriser's edge rule.
static VYR_INLINE int firstCentre(int e) { return (e + 127) >> 8; }
static VYR_INLINE int lastCentreBefore(int e) { return (e - 129) >> 8; }

template <int ROUNDED>
static VYR_INLINE void binBody(splatbin* bins, const splatjob& job, const discspans& spans, int bandCount)
{
    float r = 0.5f * (ROUNDED ? drawnDiscSize(job.size) : job.size);
    float hw = 0.5f * job.pictureWidth, hh = 0.5f * job.pictureHeight;
    float ox = (float)job.pictureX + hw, oy = (float)job.pictureY + hh;  // the picture's centre
    float left = (float)job.pictureX - r, right = (float)(job.pictureX + job.pictureWidth) + r;
    float bottom = (float)job.pictureY - r, top = (float)(job.pictureY + job.pictureHeight) + r;
    int side = squareSide(job.size);
    int evenHalf = side % 2 ? 0 : 128;  // odd sides centre on the point's pixel, even ones on its nearest corner
    const int w = job.width, h = job.height;
    // OpenGL keeps a point's fragments within the picture's viewport (and the image).
    const int clipX0 = job.pictureX > 0 ? job.pictureX : 0, clipY0 = job.pictureY > 0 ? job.pictureY : 0;
    const int clipX1 = job.pictureX + job.pictureWidth < w ? job.pictureX + job.pictureWidth - 1 : w - 1;
    const int clipY1 = job.pictureY + job.pictureHeight < h ? job.pictureY + job.pictureHeight - 1 : h - 1;
#if defined(__SSE4_1__)
    const __m128i clipLow = _mm_setr_epi32(clipX0, INT32_MIN, clipY0, INT32_MIN);
    const __m128i clipHigh = _mm_setr_epi32(INT32_MAX, clipX1, INT32_MAX, clipY1);
#endif
    int32_t flip = h * (int32_t)DISC_UNIT;  // OpenGL's rows count up from the bottom, the image's down
    splatentry* out[BAND_LIMIT] = {bins[0].entries + bins[0].count, bins[bandCount - 1].entries + bins[bandCount - 1].count};
    splatentry* start[BAND_LIMIT] = {out[0], out[1]};
    const int bandMask = bandCount - 1;
    const point* p = job.points + job.first;
    for (int i = 0; i < job.count; i++) {
        float cx = p[i].x * hw + ox, cy = p[i].y * hh + oy;
        if (!(cx > left && cx < right && cy > bottom && cy < top)) continue;  // also NaN
        splatentry e;
        int rowTop, rowBottom;  // image rows
#if defined(__SSE4_1__)
        __m128i q;  // first and last column, first and last OpenGL row (bottom up), clipped
        if (ROUNDED) {
            // The quad around the disc, corners snapped to 1/256 pixel, bounds it.
            __m128 corners = _mm_add_ps(_mm_setr_ps(cx, cx, cy, cy), _mm_setr_ps(-r, r, -r, r));
            q = _mm_cvtps_epi32(_mm_mul_ps(corners, _mm_set1_ps(256.0f)));
            q = _mm_srai_epi32(_mm_add_epi32(q, _mm_setr_epi32(127, -129, 127, -129)), 8);
        } else {
            int x0 = ((snap(cx) + evenHalf) >> 8) - side / 2, y0 = ((snap(cy) + evenHalf) >> 8) - side / 2;
            q = _mm_add_epi32(_mm_setr_epi32(x0, x0, y0, y0), _mm_setr_epi32(0, side - 1, 0, side - 1));
        }
        q = _mm_min_epi32(_mm_max_epi32(q, clipLow), clipHigh);
        // Columns as they are, rows turned top first: left, right, top, bottom.
        q = _mm_add_epi32(_mm_sign_epi32(_mm_shuffle_epi32(q, _MM_SHUFFLE(2, 3, 1, 0)), _mm_setr_epi32(1, 1, -1, -1)),
                          _mm_setr_epi32(0, 0, h - 1, h - 1));
        if (_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(q, _mm_shuffle_epi32(q, _MM_SHUFFLE(2, 3, 0, 1))))) & 5)
            continue;  // left > right or top > bottom
        _mm_storel_epi64((__m128i*)&e.left, _mm_packs_epi32(q, q));
        rowTop = _mm_extract_epi32(q, 2), rowBottom = _mm_extract_epi32(q, 3);
#else
        int x0, x1, y0, y1;  // OpenGL's pixels, rows bottom up
        if (ROUNDED) {
            x0 = firstCentre(snap(cx - r)), x1 = lastCentreBefore(snap(cx + r));
            y0 = firstCentre(snap(cy - r)), y1 = lastCentreBefore(snap(cy + r));
        } else {
            x0 = ((snap(cx) + evenHalf) >> 8) - side / 2, x1 = x0 + side - 1;
            y0 = ((snap(cy) + evenHalf) >> 8) - side / 2, y1 = y0 + side - 1;
        }
        if (x0 < clipX0) x0 = clipX0;
        if (x1 > clipX1) x1 = clipX1;
        if (y0 < clipY0) y0 = clipY0;
        if (y1 > clipY1) y1 = clipY1;
        if (x0 > x1 || y0 > y1) continue;
        rowTop = h - 1 - y1, rowBottom = h - 1 - y0;
        e.left = (int16_t)x0, e.right = (int16_t)x1, e.top = (int16_t)rowTop, e.bottom = (int16_t)rowBottom;
#endif
        if (ROUNDED) e.x = fine(cx), e.y = flip - fine(cy);
        e.color = frameColor(p[i]);
        // Rows are never negative; a point whose rows reach past its band's
        // (into one or more others) goes to both bands, each draws its rows.
        unsigned firstBand = (unsigned)rowTop / BAND_ROWS;
        int b0 = int(firstBand & bandMask);
        *out[b0]++ = e;
        if (bandMask && firstBand != (unsigned)rowBottom / BAND_ROWS) *out[b0 ^ 1]++ = e;
    }
    for (int b = 0; b < bandCount; b++) bins[b].count += int(out[b] - start[b]);
}

constexpr int PREFETCH_AHEAD = 12;  // entries

// Narrow discs (radius up to 2 pixels, the sizes that come with many
// points): a row's pixels are lanes of one register, each tested by its
// squared distance from the centre's column, computed once per disc
// (|dx| < 65536, so the square fits 32 bits).
#if defined(__AVX512BW__) && defined(__AVX512VL__)
constexpr int NARROW_LANES = 8;
typedef __m256i lanesquares;
// What every row of one disc shares: its lanes within the quad, its colour.
struct narrowdisc {
    __mmask8 lanes;
    __m256i color;
};
static VYR_INLINE narrowdisc narrowDisc(int n, uint32_t color)
{
    return {(__mmask8)((1u << n) - 1), _mm256_set1_epi32((int)color)};
}
static VYR_INLINE lanesquares laneSquares(int32_t dx0)
{
    const int s = (int)DISC_UNIT;
    __m256i dx = _mm256_add_epi32(_mm256_set1_epi32(dx0), _mm256_setr_epi32(0, s, 2 * s, 3 * s, 4 * s, 5 * s, 6 * s, 7 * s));
    return _mm256_mullo_epi32(dx, dx);
}
static VYR_INLINE lanesquares laneBroadcast(uint32_t v) { return _mm256_set1_epi32((int)v); }
static VYR_INLINE lanesquares laneAdd(lanesquares a, lanesquares b) { return _mm256_add_epi32(a, b); }
template <int METHOD>
static VYR_INLINE void blendNarrowRow(uint32_t* p, lanesquares squares, lanesquares limit, const narrowdisc& d)
{
    __mmask8 m = _mm256_mask_cmple_epu32_mask(d.lanes, squares, limit);
    _mm256_mask_storeu_epi32(p, m, blendEight<METHOD>(_mm256_maskz_loadu_epi32(m, p), d.color));
}
#elif defined(__AVX2__)
constexpr int NARROW_LANES = 4;
typedef __m128i lanesquares;
struct narrowdisc {
    __m128i lanes;
    __m128i color;
};
static VYR_INLINE narrowdisc narrowDisc(int n, uint32_t color)
{
    return {_mm_cmpgt_epi32(_mm_set1_epi32(n), _mm_setr_epi32(0, 1, 2, 3)), _mm_set1_epi32((int)color)};
}
static VYR_INLINE lanesquares laneSquares(int32_t dx0)
{
    const int s = (int)DISC_UNIT;
    __m128i dx = _mm_add_epi32(_mm_set1_epi32(dx0), _mm_setr_epi32(0, s, 2 * s, 3 * s));
    return _mm_mullo_epi32(dx, dx);
}
static VYR_INLINE lanesquares laneBroadcast(uint32_t v) { return _mm_set1_epi32((int)v); }
static VYR_INLINE lanesquares laneAdd(lanesquares a, lanesquares b) { return _mm_add_epi32(a, b); }
template <int METHOD>
static VYR_INLINE void blendNarrowRow(uint32_t* p, lanesquares squares, lanesquares limit, const narrowdisc& d)
{
    __m128i inside = _mm_cmpeq_epi32(_mm_min_epu32(squares, limit), squares);  // squares <= limit, unsigned
    __m128i m = _mm_and_si128(inside, d.lanes);
    _mm_maskstore_epi32((int*)p, m, blendFour<METHOD>(_mm_maskload_epi32((const int*)p, m), d.color));
}
#else
constexpr int NARROW_LANES = 0;  // the spans below instead
#endif

template <int METHOD, int ROUNDED, int BOX>
static VYR_INLINE pixelbox splatBody(uint32_t* image, const splatjob& job, const discspans& spans,
                                     const splatentry* e, int count, int band, int bandCount)
{
    pixelbox box = {job.width, job.height, 0, 0};
    const int w = job.width, bandMask = bandCount - 1;
    const int64_t r2 = spans.radiusSquared;  // read once: the image's stores might change it for all the compiler knows
#if defined(__AVX2__)
    const bool narrow = spans.radius <= 2 * DISC_UNIT;
    const lanesquares rowGrowth = laneBroadcast((uint32_t)(2 * DISC_UNIT * DISC_UNIT));
    const lanesquares limit = laneBroadcast((uint32_t)r2);
#endif
    for (int i = 0; i < count; i++) {
        if (i + PREFETCH_AHEAD < count) {
            // The chaos game scatters the points over the whole image: fetch a
            // later point's pixels while this one is drawn, or each waits on memory.
            const splatentry& a = e[i + PREFETCH_AHEAD];
            // Three rows at once (a row past the point's, even past the image,
            // costs no more than the test: prefetches never fault), the rest of
            // the first 16 one by one; addresses as integers, not as pointers
            // past the image.
            uintptr_t q = (uintptr_t)(image + (size_t)a.top * w + a.left), row = (uintptr_t)w * 4;
            __builtin_prefetch((const void*)q, 1);
            __builtin_prefetch((const void*)(q + row), 1);
            __builtin_prefetch((const void*)(q + 2 * row), 1);
            q += 3 * row;
            for (int y = a.top + 3; y <= a.bottom && y < a.top + 16; y++, q += row) __builtin_prefetch((const void*)q, 1);
        }
        const splatentry p = e[i];  // a copy: the image's stores cannot change it
        const int64_t cx = p.x, cy = p.y;
        const int left = p.left, right = p.right, top = p.top, bottom = p.bottom;
        const bool across = ((unsigned)top / BAND_ROWS) != ((unsigned)bottom / BAND_ROWS);  // rows of both bands
#if defined(__AVX2__)
        if (ROUNDED && narrow && right - left < NARROW_LANES) {
            // Each lane's squared distance from the centre, row after row: the
            // square of the row's distance grows by (2 dy + 1) DISC_UNIT^2 a row.
            // Within the quad every sum stays below 2^32, so wrapping steps
            // give it exactly.
            int64_t dy = (int64_t)top * DISC_UNIT + DISC_UNIT / 2 - cy;
            lanesquares distances = laneAdd(laneSquares((int32_t)((int64_t)left * DISC_UNIT + DISC_UNIT / 2 - cx)),
                                            laneBroadcast((uint32_t)(dy * dy)));
            lanesquares growth = laneBroadcast((uint32_t)((2 * dy + DISC_UNIT) * DISC_UNIT));
            const narrowdisc disc = narrowDisc(right - left + 1, p.color);
            uint32_t* row = image + (size_t)top * w + left;
            for (int y = top; y <= bottom;
                 y++, row += w, dy += DISC_UNIT, distances = laneAdd(distances, growth), growth = laneAdd(growth, rowGrowth)) {
                if (across && int(((unsigned)y / BAND_ROWS) & bandMask) != band) continue;
                if (BOX && dy * dy > r2) continue;  // a row without pixels adds nothing to the box
                blendNarrowRow<METHOD>(row, distances, limit, disc);  // no lane inside: nothing written
                if (BOX) {
                    if (y < box.y0) box.y0 = y;
                    if (y + 1 > box.y1) box.y1 = y + 1;
                }
            }
            if (BOX && box.y0 < box.y1) {
                if (left < box.x0) box.x0 = left;
                if (right + 1 > box.x1) box.x1 = right + 1;
            }
            continue;
        }
#endif
        int x0 = left, x1 = right;
        uint32_t* row = image + (size_t)top * w;
        for (int y = top; y <= bottom; y++, row += w) {
            if (across && int(((unsigned)y / BAND_ROWS) & bandMask) != band) continue;
            if (ROUNDED) {  // the span: centres within sqrt(r^2 - dy^2) of the centre's column
                int64_t dy = (int64_t)y * DISC_UNIT + DISC_UNIT / 2 - cy, rest = r2 - dy * dy;
                if (rest < 0) continue;
                int64_t half = (int64_t)squareRoot((double)rest);  // exact below 2^52
                x0 = (int)((cx - half - DISC_UNIT / 2 + DISC_UNIT - 1) >> DISC_BITS);
                x1 = (int)((cx + half - DISC_UNIT / 2) >> DISC_BITS);
                if (x0 < left) x0 = left;
                if (x1 > right) x1 = right;
                if (x0 > x1) continue;
            }
            blendSpan<METHOD>(row + x0, x1 - x0 + 1, p.color);
            if (BOX) {
                if (y < box.y0) box.y0 = y;
                if (y + 1 > box.y1) box.y1 = y + 1;
            }
        }
        if (BOX && box.y0 < box.y1) {  // the quad bounds what the rows drew
            if (left < box.x0) box.x0 = left;
            if (right + 1 > box.x1) box.x1 = right + 1;
        }
    }
    if (BOX && box.y0 >= box.y1) box.x0 = box.x1 = 0;
    return box;
}

template <int METHOD, int BOX>
static VYR_INLINE pixelbox splatShape(uint32_t* image, const splatjob& job, const discspans& spans,
                                      const splatentry* e, int count, int band, int bandCount)
{
    if (job.rounded) return splatBody<METHOD, 1, BOX>(image, job, spans, e, count, band, bandCount);
    return splatBody<METHOD, 0, BOX>(image, job, spans, e, count, band, bandCount);
}

// The box is wanted by the multi-pass filter only (its passes add and clear it).
template <int BOX>
static VYR_INLINE pixelbox splatMethod(uint32_t* image, const splatjob& job, const discspans& spans,
                                       const splatentry* e, int count, int band, int bandCount)
{
    switch (job.blendMethod) {
    case 0: return splatShape<0, BOX>(image, job, spans, e, count, band, bandCount);
    case 1: return splatShape<1, BOX>(image, job, spans, e, count, band, bandCount);
    default: return splatShape<2, BOX>(image, job, spans, e, count, band, bandCount);
    }
}

static VYR_INLINE pixelbox splatAny(uint32_t* image, const splatjob& job, const discspans& spans,
                                    const splatentry* e, int count, int band, int bandCount, int box)
{
    if (box) return splatMethod<1>(image, job, spans, e, count, band, bandCount);
    return splatMethod<0>(image, job, spans, e, count, band, bandCount);
}

static VYR_INLINE void binAny(splatbin* bins, const splatjob& job, const discspans& spans, int bandCount)
{
    if (job.rounded) binBody<1>(bins, job, spans, bandCount);
    else binBody<0>(bins, job, spans, bandCount);
}

// ---- Variants ----
struct splatkernels {
    const char* name;
    void (*fade)(uint8_t*, size_t, int, channelscale);
    void (*addScaled)(uint8_t*, const uint8_t*, size_t, channelscale);
    void (*bin)(splatbin*, const splatjob&, const discspans&, int);
    pixelbox (*splat)(uint32_t*, const splatjob&, const discspans&, const splatentry*, int, int, int, int);
};

// The bodies of one instruction set as a kernel record.
#define VYR_SPLAT_KERNELS(NAME, LABEL, LANES)                                                                           \
    static void fadeKernel(uint8_t* p, size_t n, int step, channelscale s) { fadeBody<LANES>(p, n, step, s); }     \
    static void addScaledKernel(uint8_t* s, const uint8_t* a, size_t n, channelscale w)                            \
    {                                                                                                              \
        addScaledBody<LANES>(s, a, n, w);                                                                          \
    }                                                                                                              \
    static void binKernel(splatbin* b, const splatjob& j, const discspans& s, int n) { binAny(b, j, s, n); }       \
    static pixelbox splatKernel(uint32_t* i, const splatjob& j, const discspans& s, const splatentry* e, int c,     \
                                int band, int bands, int box)                                                      \
    {                                                                                                              \
        return splatAny(i, j, s, e, c, band, bands, box);                                                          \
    }                                                                                                              \
    const splatkernels NAME = {LABEL, fadeKernel, addScaledKernel, binKernel, splatKernel};

extern const splatkernels AVX2_SPLAT;    // splat_avx2.cpp
extern const splatkernels AVX512_SPLAT;  // splat_avx512.cpp
