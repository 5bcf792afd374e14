// The arithmetic of a frame composed in memory. Every rule here is the one
// the software rasteriser applies to the same OpenGL calls, on 8-bit
// channels:
//   - blending works on bytes (the fade's alpha is fadeAlphaByte), and a product of bytes s d is (t + t / 256 + 128) / 256 with t = s d;
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
//   - Variants and dispatch
#include "engine/fpstrict.h"
#include "render/splat.h"

#include <cmath>
#include <cstring>

#include "engine/lanes.h"

// ---- Pixels ----
static VYR_INLINE float clampUnit(float v) { return v > 0 ? v < 1 ? v : 1 : 0; }  // NaN gives 0

channelscale blendFactor(int alpha) { return {0, 255 - (alpha > 0 ? alpha < 255 ? alpha : 255 : 0), 0}; }

channelscale modulation(float c) { return {1, 0, clampUnit(c)}; }

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
// Channels in blocks: N bytes widened to 16 bits for the blend factor; 16
// bytes as two groups of eight floats for the modulation (conversions of
// narrower groups do not map onto single instructions).
template <int N> struct bytelanes {
    typedef uint8_t B __attribute__((vector_size(N)));
    typedef uint16_t W __attribute__((vector_size(2 * N)));
};
typedef bytelanes<16>::B Bytes16;
typedef bytelanes<16>::W Words16;
typedef bytelanes<8>::W Words8;
typedef lanes<8>::I Ints8;
typedef lanes<8>::F Floats8;

static VYR_INLINE Words16 modulate16(Words16 w, float c)
{
    Words8 lo = __builtin_shufflevector(w, w, 0, 1, 2, 3, 4, 5, 6, 7);
    Words8 hi = __builtin_shufflevector(w, w, 8, 9, 10, 11, 12, 13, 14, 15);
    Words8 a = convert<Words8>(modulate<Floats8>(convert<Ints8>(lo), c));
    Words8 b = convert<Words8>(modulate<Floats8>(convert<Ints8>(hi), c));
    return __builtin_shufflevector(a, b, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
}

template <class W> static VYR_INLINE W lessStep(W w, int step)
{
    W s = W{} + (uint16_t)step;
    return w - (w < s ? w : s);
}

template <int N> static VYR_INLINE void fadeBody(uint8_t* p, size_t n, int step, channelscale scale)
{
    typedef typename bytelanes<N>::B B;
    typedef typename bytelanes<N>::W W;
    size_t i = 0;
    if (scale.modulate) {
        for (; i + 16 <= n; i += 16) {
            Bytes16 b;
            memcpy(&b, p + i, 16);
            b = convert<Bytes16>(modulate16(lessStep(convert<Words16>(b), step), scale.factor));
            memcpy(p + i, &b, 16);
        }
    } else {
        W k = W{} + (uint16_t)scale.byte;
        for (; i + N <= n; i += N) {
            B b;
            memcpy(&b, p + i, N);
            b = convert<B>(mulBytes(lessStep(convert<W>(b), step), k));
            memcpy(p + i, &b, N);
        }
    }
    for (; i < n; i++) p[i] = (uint8_t)scaleChannel(uint32_t(p[i] > step ? p[i] - step : 0), scale);
}

// The weights are modulations.
static VYR_INLINE void addScaledBody(uint8_t* sum, const uint8_t* add, size_t n, channelscale w)
{
    Words16 top = Words16{} + (uint16_t)255;
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        uint64_t half[2];
        memcpy(half, add + i, 16);
        if (!(half[0] | half[1])) continue;  // no point of the pass here (most of the box at low counts)
        Bytes16 a, b;
        memcpy(&a, sum + i, 16);
        memcpy(&b, add + i, 16);
        Words16 u = convert<Words16>(a) + modulate16(convert<Words16>(b), w.factor);
        a = convert<Bytes16>(u < top ? u : top);
        memcpy(sum + i, &a, 16);
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

template <int METHOD, int ROUNDED>
static VYR_INLINE pixelbox splatBody(uint32_t* image, const splatjob& job, int band, int bandCount)
{
    pixelbox box = {job.width, job.height, 0, 0};
    float hw = 0.5f * job.width, hh = 0.5f * job.height;
    float r = 0.5f * job.size;
    int side = (int)(job.size + 0.5f);  // square points take a whole number of pixels
    if (side < 1) side = 1;
    int evenHalf = side % 2 ? 0 : 128;  // odd sides centre on the point's pixel, even ones on its nearest corner
    float invR = 1.0f / r;
    const point* p = job.points + job.first;
    for (int i = 0; i < job.count; i++) {
        float cx = p[i].x * hw + hw, cy = p[i].y * hh + hh;
        if (!(cx > -r && cx < job.width + r && cy > -r && cy < job.height + r)) continue;  // also NaN
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

// ---- Variants and dispatch ----
struct splatkernels {
    const char* name;
    void (*fade)(uint8_t*, size_t, int, channelscale);
    void (*addScaled)(uint8_t*, const uint8_t*, size_t, channelscale);
    pixelbox (*splat)(uint32_t*, const splatjob&, int, int);
};

static void fadePortable(uint8_t* p, size_t n, int step, channelscale s) { fadeBody<16>(p, n, step, s); }
static void addScaledPortable(uint8_t* s, const uint8_t* a, size_t n, channelscale w) { addScaledBody(s, a, n, w); }
static pixelbox splatPortable(uint32_t* image, const splatjob& job, int band, int bandCount)
{
    return splatAny(image, job, band, bandCount);
}
static const splatkernels PORTABLE_SPLAT = {"portable", fadePortable, addScaledPortable, splatPortable};

#if defined(__x86_64__) && defined(__GNUC__)
#define TARGET_AVX2 "avx2,fma,bmi,bmi2"
__attribute__((target(TARGET_AVX2))) static void fadeAVX2(uint8_t* p, size_t n, int step, channelscale s)
{
    fadeBody<32>(p, n, step, s);
}
__attribute__((target(TARGET_AVX2))) static void addScaledAVX2(uint8_t* s, const uint8_t* a, size_t n, channelscale w)
{
    addScaledBody(s, a, n, w);
}
__attribute__((target(TARGET_AVX2))) static pixelbox splatAVX2(uint32_t* image, const splatjob& job, int band,
                                                                int bandCount)
{
    return splatAny(image, job, band, bandCount);
}
static const splatkernels AVX2_SPLAT = {"x86-64-v3", fadeAVX2, addScaledAVX2, splatAVX2};
#endif

static const splatkernels* splatKernels()
{
    static const splatkernels* chosen = nullptr;
    if (chosen) return chosen;
    chosen = &PORTABLE_SPLAT;
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi") &&
        __builtin_cpu_supports("bmi2"))
        chosen = &AVX2_SPLAT;
#endif
    return chosen;
}

const char* splatKernelName() { return splatKernels()->name; }

void fadeRows(uint32_t* image, int width, int y0, int y1, int step, channelscale scale)
{
    if (y1 <= y0) return;
    splatKernels()->fade((uint8_t*)(image + (size_t)y0 * width), (size_t)(y1 - y0) * width * 4, step, scale);
}

void addScaledRows(uint32_t* sum, const uint32_t* add, int width, int x0, int x1, int y0, int y1, channelscale w)
{
    if (x1 <= x0) return;
    for (int y = y0; y < y1; y++) {
        size_t o = (size_t)y * width + x0;
        splatKernels()->addScaled((uint8_t*)(sum + o), (const uint8_t*)(add + o), (size_t)(x1 - x0) * 4, w);
    }
}

pixelbox splatPoints(uint32_t* image, const splatjob& job, int band, int bandCount)
{
    return splatKernels()->splat(image, job, band, bandCount);
}
