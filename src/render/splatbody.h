// The arithmetic of a frame composed in memory, compiled once per
// instruction set (splat.cpp portable, splat_avx2.cpp for AVX2); everything
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
//     alpha, so a disc with a hard edge is what the window receives).
//
// Index
//   - Pixels: channel scale, blend methods
//   - Row kernels: fade, weighted sum (lane groups)
//   - Points: squares and discs in a band of rows
//   - Variants: the bodies built per instruction set
#pragma once

#include <cmath>
#include <cstring>

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

// ---- Points ----
static VYR_INLINE bool rowMine(int y, int band, int bandCount) { return (y / BAND_ROWS) % bandCount == band; }

static VYR_INLINE int snap(float v) { return (int)lrintf(v * 256.0f); }

// First pixel index whose centre is at or after the fixed-point edge e.
static VYR_INLINE int firstCentre(int e) { return (e + 255) >> 8; }

constexpr int PREFETCH_AHEAD = 16;  // points

template <int METHOD, int ROUNDED>
static VYR_INLINE pixelbox splatBody(uint32_t* image, const splatjob& job, int band, int bandCount)
{
    pixelbox box = {job.width, job.height, 0, 0};
    float r = 0.5f * job.size;
    float hw = 0.5f * job.pictureWidth, hh = 0.5f * job.pictureHeight;
    float ox = (float)job.pictureX + hw, oy = (float)job.pictureY + hh;  // the picture's centre
    float left = (float)job.pictureX - r, right = (float)(job.pictureX + job.pictureWidth) + r;
    float bottom = (float)job.pictureY - r, top = (float)(job.pictureY + job.pictureHeight) + r;
    int side = (int)(job.size + 0.5f);  // square points take a whole number of pixels
    if (side < 1) side = 1;
    int evenHalf = side % 2 ? 0 : 128;  // odd sides centre on the point's pixel, even ones on its nearest corner
    float invR = 1.0f / r;
    const point* p = job.points + job.first;
    for (int i = 0; i < job.count; i++) {
        if (i + PREFETCH_AHEAD < job.count) {
            // The chaos game scatters the points over the whole image: fetch a
            // later point's pixels while this one is drawn, or each waits on memory.
            float ax = p[i + PREFETCH_AHEAD].x * hw + ox, ay = p[i + PREFETCH_AHEAD].y * hh + oy;
            if (ax >= 0 && ax < job.width && ay >= 0 && ay < job.height) {
                int top = (int)(ay + r) < job.height ? (int)(ay + r) : job.height - 1;
                for (int y = ay > r ? (int)(ay - r) : 0; y <= top; y++)
                    __builtin_prefetch(image + (size_t)y * job.width + (int)ax, 1);
            }
        }
        float cx = p[i].x * hw + ox, cy = p[i].y * hh + oy;
        if (!(cx > left && cx < right && cy > bottom && cy < top)) continue;  // also NaN
        int x0, x1, y0, y1;
        if (ROUNDED) {
            x0 = firstCentre(snap(cx - r - 0.5f)), x1 = firstCentre(snap(cx + r - 0.5f));
            y0 = firstCentre(snap(cy - r - 0.5f)), y1 = firstCentre(snap(cy + r - 0.5f));
        } else {
            x0 = ((snap(cx) + evenHalf) >> 8) - side / 2, x1 = x0 + side;
            y0 = ((snap(cy) + evenHalf) >> 8) - side / 2, y1 = y0 + side;
        }
        if (x0 < 0) x0 = 0;
        if (y0 < 0) y0 = 0;
        if (x1 > job.width) x1 = job.width;
        if (y1 > job.height) y1 = job.height;
        if (x0 >= x1) continue;
        uint32_t color;
        memcpy(&color, p[i].color, 4);
        bool drawn = false;
        for (int y = y0; y < y1; y++) {
            if (!rowMine(y, band, bandCount)) continue;
            uint32_t* row = image + (size_t)y * job.width;
            if (ROUNDED) {
                float t = (y + 0.5f - cy) * invR, t2 = t * t;
                for (int x = x0; x < x1; x++) {
                    float s = (x + 0.5f - cx) * invR;
                    if (s * s + t2 <= 1.0f) row[x] = blendPixel<METHOD>(row[x], color);
                }
            } else {
                for (int x = x0; x < x1; x++) row[x] = blendPixel<METHOD>(row[x], color);
            }
            drawn = true;
        }
        if (!drawn) continue;
        if (x0 < box.x0) box.x0 = x0;
        if (x1 > box.x1) box.x1 = x1;
        if (y0 < box.y0) box.y0 = y0;
        if (y1 > box.y1) box.y1 = y1;
    }
    return box;
}

template <int METHOD>
static VYR_INLINE pixelbox splatShape(uint32_t* image, const splatjob& job, int band, int bandCount)
{
    if (job.rounded) return splatBody<METHOD, 1>(image, job, band, bandCount);
    return splatBody<METHOD, 0>(image, job, band, bandCount);
}

static VYR_INLINE pixelbox splatAny(uint32_t* image, const splatjob& job, int band, int bandCount)
{
    switch (job.blendMethod) {
    case 0: return splatShape<0>(image, job, band, bandCount);
    case 1: return splatShape<1>(image, job, band, bandCount);
    default: return splatShape<2>(image, job, band, bandCount);
    }
}

// ---- Variants ----
void fadeAVX2(uint8_t* p, size_t n, int step, channelscale s);                   // splat_avx2.cpp
void addScaledAVX2(uint8_t* sum, const uint8_t* add, size_t n, channelscale w);  // splat_avx2.cpp
pixelbox splatAVX2(uint32_t* image, const splatjob& job, int band, int bandCount); // splat_avx2.cpp
