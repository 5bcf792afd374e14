// The point buffer and the per-frame chaos-game step.
//
// Index
//   - Buffer: evolveAlloc
//   - Frame tables: the blended maps as columns, the channel bytes
//   - Point step: stepPoints (one body, compiled per instruction set)
//   - Variants and dispatch
//   - Frame: evolvePoints
#include "engine/fpstrict.h"
#include "engine/points.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#if !defined(__clang__)
// GCC 12 reports the undefined upper halves inside the AVX-512 intrinsics.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#endif

#include "engine/attractor.h"
#include "engine/colormap.h"
#include "engine/numeric.h"
#include "engine/random.h"
#include "shell/state.h"

// ---- Buffer ----
void evolveAlloc()
{
    applicationdata& s = ApplicationData;
    int desired = s.desiredPointCount;
    if (desired < 1) desired = 1;
    if (desired > MAX_POINT_COUNT) desired = MAX_POINT_COUNT;
    if (s.pointCount == desired) return;

    point* points = (point*)realloc(s.points, (size_t)desired * sizeof(point));
    if (!points) allocationFailed();
    s.points = points;

    if (s.pointCount == 0) {
        float a = (float)(randomNumber() * 2.0 * PI / 32767.0);
        float rho = (float)(randomNumber() / 32767.0);
        points[0].x = (float)(rho * cos((double)a));
        points[0].y = (float)(rho * sin((double)a));
        points[0].color[3] = 255;
        points[0].colorParam = 0.0f;
    }
    for (int i = s.pointCount; i < desired; i++) points[i] = points[0];
    s.pointCount = desired;
}

// ---- Frame tables ----
// The blended maps of this frame as seven columns, so that the point step can
// fetch one map per point with indexed loads; W holds 0.8 * (a*psi + b*phi).
struct maptable {
    float m0[MAP_MATRIX_CAPACITY], m1[MAP_MATRIX_CAPACITY], m2[MAP_MATRIX_CAPACITY];
    float m3[MAP_MATRIX_CAPACITY], m4[MAP_MATRIX_CAPACITY], m5[MAP_MATRIX_CAPACITY];
    double w[MAP_MATRIX_CAPACITY];
    float a[MAP_MATRIX_CAPACITY], b[MAP_MATRIX_CAPACITY];  // map indices i mod c1, i mod c2
    float phi, psi;
};
static maptable MapTable;

// Channel value for each raw cosine index 0..8191 (the mirrored half included):
// trunc((cos + 2) * 85 * alpha), saturated at 255 instead of wrapping.
static int32_t ChannelBytes[8192];

static void fillChannelBytes(float alpha)
{
    double scale = 85.0 * (double)alpha;
    for (int i = 0; i < COS_TABLE_SIZE; i++) {
        double v = ((double)CosTable[i] + 2.0) * scale;
        int32_t b = v >= 255.0 ? 255 : (int32_t)v;
        ChannelBytes[i] = b;
        ChannelBytes[8191 - i] = b;
    }
}

// Colour-map factors of this frame, one per channel.
struct channelmap {
    double frequency[3];  // u1..u3 times the space frequency
    double phase[3];      // u4..u6
};

// ---- Point step ----
constexpr int POINT_BLOCK = 256;  // points per pass; a multiple of RANDOM_LANES

// cosTable's raw index e mod 8192 of an argument (0 when e does not fit 32 bits);
// ChannelBytes folds the mirrored half.
static inline __attribute__((always_inline)) int32_t rawCosIndex(float arg)
{
    float q = (float)((double)fabsf(arg) * 4096.0 / PI);
    float qc = q < 2147483648.0f ? q : 0.0f;  // too large or NaN: entry 0
    int32_t t = (int32_t)qc;
    int32_t e = t + ((qc - (float)t) >= 0.5f ? 1 : 0);  // roundf for q >= 0
    return e & 8191;
}

// Raw cosine indices of the three channels for m colour parameters (plain form).
static inline __attribute__((always_inline)) void
colorIndicesPlain(const float* cs, int32_t* raw0, int32_t* raw1, int32_t* raw2, int m, const channelmap& cm)
{
    const double k0 = cm.frequency[0], k1 = cm.frequency[1], k2 = cm.frequency[2];
    const double p0 = cm.phase[0], p1 = cm.phase[1], p2 = cm.phase[2];
    for (int j = 0; j < m; j++) {
        double c = (double)cs[j];
        raw0[j] = rawCosIndex((float)(c * k0 + p0));
        raw1[j] = rawCosIndex((float)(c * k1 + p1));
        raw2[j] = rawCosIndex((float)(c * k2 + p2));
    }
}

template <void (*colorIndices)(const float*, int32_t*, int32_t*, int32_t*, int, const channelmap&)>
static inline __attribute__((always_inline)) void
stepPointsBody(point* __restrict points, int n, int mapCount, const channelmap& cm)
{
    const maptable& t = MapTable;
    float* __restrict f = (float*)(void*)points;  // 4 floats per record, colour first

    for (int base = 0; base < n; base += POINT_BLOCK) {
        int m = n - base < POINT_BLOCK ? n - base : POINT_BLOCK;
        int32_t index[POINT_BLOCK];
        float xs[POINT_BLOCK], ys[POINT_BLOCK];
        alignas(64) float cs[POINT_BLOCK];
        alignas(64) int32_t raw0[POINT_BLOCK], raw1[POINT_BLOCK], raw2[POINT_BLOCK];
        drawMapIndices(index, m, (uint32_t)mapCount);
        float* __restrict q = f + 4 * base;

        for (int j = 0; j < m; j++) {
            xs[j] = q[4 * j + 1];
            ys[j] = q[4 * j + 2];
            cs[j] = q[4 * j + 3];
        }
        // Move and average the colour parameter.
        for (int j = 0; j < m; j++) {
            int64_t r = index[j];  // 64-bit: lets the double column be gathered
            double x = xs[j], y = ys[j];
            xs[j] = (float)((double)t.m0[r] * x + (double)t.m1[r] * y + (double)t.m2[r]);
            ys[j] = (float)((double)t.m3[r] * x + (double)t.m4[r] * y + (double)t.m5[r]);
            cs[j] = (float)(0.2 * (double)cs[j] + t.w[r]);
        }
        // Colour: three table cosines (vector forms work on whole groups of 16).
        for (int j = m; j < POINT_BLOCK && (j & 15); j++) cs[j] = 0.0f;
        colorIndices(cs, raw0, raw1, raw2, m, cm);
        for (int j = 0; j < m; j++) {
            uint32_t red = (uint32_t)ChannelBytes[raw0[j]];
            uint32_t green = (uint32_t)ChannelBytes[raw1[j]];
            uint32_t blue = (uint32_t)ChannelBytes[raw2[j]];
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
            uint32_t color = (red << 24) | (green << 16) | (blue << 8) | 0xFFu;
#else
            uint32_t color = red | (green << 8) | (blue << 16) | 0xFF000000u;
#endif
            memcpy(q + 4 * j, &color, 4);  // the four colour bytes, without type punning
            q[4 * j + 1] = xs[j];
            q[4 * j + 2] = ys[j];
            q[4 * j + 3] = cs[j];
        }
    }
}

// ---- Variants and dispatch ----
typedef void (*pointkernel)(point*, int, int, const channelmap&);

static void stepPointsPortable(point* points, int n, int mapCount, const channelmap& cm)
{
    stepPointsBody<colorIndicesPlain>(points, n, mapCount, cm);
}

#if defined(__x86_64__) && defined(__GNUC__)
// The colour indices with explicit vector code: the compiler does not vectorise
// the float/double round trips of rawCosIndex. Same operations, same roundings;
// an out-of-range conversion gives 0x80000000, whose low 13 bits are the entry 0
// that rawCosIndex picks for huge arguments and NaN.
// Feature lists rather than "arch=x86-64-v3/v4", which clang does not take.
#define TARGET_AVX2 "avx2,fma,bmi,bmi2"
#if defined(__clang__)
#define TARGET_AVX512 TARGET_AVX2 ",avx512f,avx512bw,avx512dq,avx512vl,avx512cd"
#else
#define TARGET_AVX512 TARGET_AVX2 ",avx512f,avx512bw,avx512dq,avx512vl,avx512cd,prefer-vector-width=512"
#endif
#define VYR_AVX2 __attribute__((target(TARGET_AVX2), always_inline)) inline
#define VYR_AVX512 __attribute__((target(TARGET_AVX512), always_inline)) inline

VYR_AVX2 __m128 cosArgumentsAVX2(__m128 c, __m256d k, __m256d p)
{
    __m256d arg = _mm256_add_pd(_mm256_mul_pd(_mm256_cvtps_pd(c), k), p);
    __m128 a = _mm_andnot_ps(_mm_set1_ps(-0.0f), _mm256_cvtpd_ps(arg));
    __m256d q = _mm256_div_pd(_mm256_mul_pd(_mm256_cvtps_pd(a), _mm256_set1_pd(4096.0)), _mm256_set1_pd(PI));
    return _mm256_cvtpd_ps(q);
}

VYR_AVX2 __m256i rawIndicesAVX2(__m256 q)
{
    __m256 t = _mm256_round_ps(q, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    __m256 up = _mm256_and_ps(_mm256_cmp_ps(_mm256_sub_ps(q, t), _mm256_set1_ps(0.5f), _CMP_GE_OQ), _mm256_set1_ps(1.0f));
    __m256i e = _mm256_cvttps_epi32(_mm256_add_ps(t, up));
    return _mm256_and_si256(e, _mm256_set1_epi32(8191));
}

__attribute__((target(TARGET_AVX2))) static void colorIndicesAVX2(const float* cs, int32_t* raw0, int32_t* raw1, int32_t* raw2, int m, const channelmap& cm)
{
    int32_t* raw[3] = {raw0, raw1, raw2};
    for (int ch = 0; ch < 3; ch++) {
        __m256d k = _mm256_set1_pd(cm.frequency[ch]), p = _mm256_set1_pd(cm.phase[ch]);
        for (int j = 0; j < m; j += 8) {
            __m256 c = _mm256_load_ps(cs + j);
            __m128 lo = cosArgumentsAVX2(_mm256_castps256_ps128(c), k, p);
            __m128 hi = cosArgumentsAVX2(_mm256_extractf128_ps(c, 1), k, p);
            __m256 q = _mm256_insertf128_ps(_mm256_castps128_ps256(lo), hi, 1);
            _mm256_store_si256((__m256i*)(raw[ch] + j), rawIndicesAVX2(q));
        }
    }
}

VYR_AVX512 __m256 cosArgumentsAVX512(__m256 c, __m512d k, __m512d p)
{
    __m512d arg = _mm512_add_pd(_mm512_mul_pd(_mm512_cvtps_pd(c), k), p);
    __m256 a = _mm256_andnot_ps(_mm256_set1_ps(-0.0f), _mm512_cvtpd_ps(arg));
    __m512d q = _mm512_div_pd(_mm512_mul_pd(_mm512_cvtps_pd(a), _mm512_set1_pd(4096.0)), _mm512_set1_pd(PI));
    return _mm512_cvtpd_ps(q);
}

__attribute__((target(TARGET_AVX2))) static void
stepPointsAVX2(point* points, int n, int mapCount, const channelmap& cm)
{
    stepPointsBody<colorIndicesAVX2>(points, n, mapCount, cm);
}

// One point at a time, for the records after the last whole group of 16.
static inline __attribute__((always_inline)) void
stepPointPlain(float* q, int32_t r, const channelmap& cm)
{
    const maptable& t = MapTable;
    double x = q[1], y = q[2];
    q[1] = (float)((double)t.m0[r] * x + (double)t.m1[r] * y + (double)t.m2[r]);
    q[2] = (float)((double)t.m3[r] * x + (double)t.m4[r] * y + (double)t.m5[r]);
    float c = (float)(0.2 * (double)q[3] + t.w[r]);
    q[3] = c;
    uint32_t red = (uint32_t)ChannelBytes[rawCosIndex((float)(c * cm.frequency[0] + cm.phase[0]))];
    uint32_t green = (uint32_t)ChannelBytes[rawCosIndex((float)(c * cm.frequency[1] + cm.phase[1]))];
    uint32_t blue = (uint32_t)ChannelBytes[rawCosIndex((float)(c * cm.frequency[2] + cm.phase[2]))];
    uint32_t color = red | (green << 8) | (blue << 16) | 0xFF000000u;  // x86: little-endian
    memcpy(q, &color, 4);
}

// 4x4 transposes inside each 128-bit lane: 16 records <-> colour, x, y and
// colorParam vectors. Lane element i of quarter k is record 4i + k.
VYR_AVX512 void transposeAVX512(__m512& a, __m512& b, __m512& c, __m512& d)
{
    __m512 t0 = _mm512_unpacklo_ps(a, b), t1 = _mm512_unpackhi_ps(a, b);
    __m512 t2 = _mm512_unpacklo_ps(c, d), t3 = _mm512_unpackhi_ps(c, d);
    a = _mm512_shuffle_ps(t0, t2, 0x44);
    b = _mm512_shuffle_ps(t0, t2, 0xEE);
    c = _mm512_shuffle_ps(t1, t3, 0x44);
    d = _mm512_shuffle_ps(t1, t3, 0xEE);
}

// A column of up to 32 entries looked up by a permute across two registers
// (gathers are slow on some processors, permutes are not).
struct column32 {
    __m512 lo, hi;
};

VYR_AVX512 column32 loadColumn(const float* column)
{
    return {_mm512_loadu_ps(column), _mm512_loadu_ps(column + 16)};
}

VYR_AVX512 __m512 lookup(const column32& c, __m512i r) { return _mm512_permutex2var_ps(c.lo, r, c.hi); }

VYR_AVX512 __m512d lowWide(__m512 v) { return _mm512_cvtps_pd(_mm512_castps512_ps256(v)); }
VYR_AVX512 __m512d highWide(__m512 v) { return _mm512_cvtps_pd(_mm512_extractf32x8_ps(v, 1)); }
VYR_AVX512 __m512 joinHalves(__m256 lo, __m256 hi) { return _mm512_insertf32x8(_mm512_castps256_ps512(lo), hi, 1); }

// (float)(a * x + b * y + c) with the products and sums in double.
VYR_AVX512 __m512 affineAVX512(__m512 a, __m512 b, __m512 c, __m512 x, __m512 y)
{
    __m512d lo = _mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(lowWide(a), lowWide(x)), _mm512_mul_pd(lowWide(b), lowWide(y))),
                               lowWide(c));
    __m512d hi = _mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(highWide(a), highWide(x)), _mm512_mul_pd(highWide(b), highWide(y))),
                               highWide(c));
    return joinHalves(_mm512_cvtpd_ps(lo), _mm512_cvtpd_ps(hi));
}

// (float)(0.2 * c + 0.8 * (a * psi + b * phi)), as the table's w column computes it.
VYR_AVX512 __m256 paramHalf(__m512d c, __m512d a, __m512d b, __m512d psi, __m512d phi)
{
    __m512d v = _mm512_add_pd(_mm512_mul_pd(a, psi), _mm512_mul_pd(b, phi));
    return _mm512_cvtpd_ps(_mm512_add_pd(_mm512_mul_pd(_mm512_set1_pd(0.2), c), _mm512_mul_pd(_mm512_set1_pd(0.8), v)));
}

VYR_AVX512 __m512i channelAVX512(__m512 c, double frequency, double phase)
{
    __m512d k = _mm512_set1_pd(frequency), p = _mm512_set1_pd(phase);
    __m512 q = joinHalves(cosArgumentsAVX512(_mm512_castps512_ps256(c), k, p),
                          cosArgumentsAVX512(_mm512_extractf32x8_ps(c, 1), k, p));
    __m512 t = _mm512_roundscale_ps(q, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    __mmask16 up = _mm512_cmp_ps_mask(_mm512_sub_ps(q, t), _mm512_set1_ps(0.5f), _CMP_GE_OQ);
    __m512 e = _mm512_mask_add_ps(t, up, t, _mm512_set1_ps(1.0f));
    __m512i raw = _mm512_and_si512(_mm512_cvttps_epi32(e), _mm512_set1_epi32(8191));
    return _mm512_i32gather_epi32(raw, ChannelBytes, 4);
}

__attribute__((target(TARGET_AVX512))) static void
stepPointsAVX512(point* points, int n, int mapCount, const channelmap& cm)
{
    if (mapCount > 32) {
        stepPointsBody<colorIndicesAVX2>(points, n, mapCount, cm);
        return;
    }
    const maptable& t = MapTable;
    const column32 m0 = loadColumn(t.m0), m1 = loadColumn(t.m1), m2 = loadColumn(t.m2);
    const column32 m3 = loadColumn(t.m3), m4 = loadColumn(t.m4), m5 = loadColumn(t.m5);
    const column32 ca = loadColumn(t.a), cb = loadColumn(t.b);
    const __m512d phi = _mm512_set1_pd(t.phi), psi = _mm512_set1_pd(t.psi);
    float* f = (float*)(void*)points;
    // Index order after the transpose: element 4k + i holds record 4i + k.
    const __m512i order = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    for (int base = 0; base < n; base += POINT_BLOCK) {
        int m = n - base < POINT_BLOCK ? n - base : POINT_BLOCK;
        alignas(64) int32_t index[POINT_BLOCK];
        drawMapIndices(index, m, (uint32_t)mapCount);
        float* q = f + 4 * base;
        int whole = m & ~15;
        for (int j = 0; j < whole; j += 16) {
            float* g = q + 4 * j;
            __m512 colour = _mm512_loadu_ps(g), x = _mm512_loadu_ps(g + 16);
            __m512 y = _mm512_loadu_ps(g + 32), c = _mm512_loadu_ps(g + 48);
            transposeAVX512(colour, x, y, c);  // now colour, x, y, colorParam
            __m512i r = _mm512_permutexvar_epi32(order, _mm512_load_si512((const void*)(index + j)));
            __m512 nx = affineAVX512(lookup(m0, r), lookup(m1, r), lookup(m2, r), x, y);
            __m512 ny = affineAVX512(lookup(m3, r), lookup(m4, r), lookup(m5, r), x, y);
            __m512 a = lookup(ca, r), b = lookup(cb, r);
            __m512 nc = joinHalves(paramHalf(lowWide(c), lowWide(a), lowWide(b), psi, phi),
                                   paramHalf(highWide(c), highWide(a), highWide(b), psi, phi));
            __m512i red = channelAVX512(nc, cm.frequency[0], cm.phase[0]);
            __m512i green = channelAVX512(nc, cm.frequency[1], cm.phase[1]);
            __m512i blue = channelAVX512(nc, cm.frequency[2], cm.phase[2]);
            __m512i rgba = _mm512_or_si512(_mm512_or_si512(red, _mm512_slli_epi32(green, 8)),
                                           _mm512_or_si512(_mm512_slli_epi32(blue, 16), _mm512_set1_epi32((int)0xFF000000u)));
            __m512 out0 = _mm512_castsi512_ps(rgba), out1 = nx, out2 = ny, out3 = nc;
            transposeAVX512(out0, out1, out2, out3);
            _mm512_storeu_ps(g, out0);
            _mm512_storeu_ps(g + 16, out1);
            _mm512_storeu_ps(g + 32, out2);
            _mm512_storeu_ps(g + 48, out3);
        }
        for (int j = whole; j < m; j++) stepPointPlain(q + 4 * j, index[j], cm);
    }
}

static int supportsAVX2()
{
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi") &&
           __builtin_cpu_supports("bmi2");
}
static int supportsAVX512()
{
    return supportsAVX2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512cd");
}
#endif

struct pointkernelvariant {
    const char* name;
    pointkernel kernel;
    int (*supported)();
};

static int always() { return 1; }

static const pointkernelvariant POINT_KERNELS[] = {
    {"portable", stepPointsPortable, always},
#if defined(__x86_64__) && defined(__GNUC__)
    {"x86-64-v3", stepPointsAVX2, supportsAVX2},
    {"x86-64-v4", stepPointsAVX512, supportsAVX512},
#endif
};
constexpr int POINT_KERNEL_COUNT = (int)(sizeof(POINT_KERNELS) / sizeof(POINT_KERNELS[0]));

static pointkernel PointKernel = nullptr;

int pointKernelCount() { return POINT_KERNEL_COUNT; }

const char* usePointKernel(int i)
{
    if (i < 0 || i >= POINT_KERNEL_COUNT || !POINT_KERNELS[i].supported()) return nullptr;
    PointKernel = POINT_KERNELS[i].kernel;
    return POINT_KERNELS[i].name;
}

const char* useBestPointKernel()
{
    for (int i = POINT_KERNEL_COUNT - 1; i > 0; i--) {
        if (POINT_KERNELS[i].supported()) return usePointKernel(i);
    }
    return usePointKernel(0);
}

// ---- Frame ----
void evolvePoints()
{
    applicationdata& s = ApplicationData;
    int c1 = s.attractor1.count, c2 = s.attractor2.count;
    if (c1 < 1 || c2 < 1 || !s.attractor1.transforms || !s.attractor2.transforms) return;

    float phi = s.cyclePhase;
    float psi = 1.0f - phi;
    int mapCount = ppcm(c1, c2);
    // Counts above 15 could ask for more maps than the table holds.
    if (mapCount > MAP_MATRIX_CAPACITY || mapCount < 1) mapCount = MAP_MATRIX_CAPACITY;

    for (int i = 0; i < mapCount; i++) {
        int a = i % c1, b = i % c2;
        float* m = s.mapMatrices[i];
        mapMatrix(m, s.attractor1.transforms[a], s.attractor2.transforms[b], phi);
        MapTable.m0[i] = m[0];
        MapTable.m1[i] = m[1];
        MapTable.m2[i] = m[2];
        MapTable.m3[i] = m[3];
        MapTable.m4[i] = m[4];
        MapTable.m5[i] = m[5];
        MapTable.w[i] = 0.8 * ((double)a * psi + (double)b * phi);
        MapTable.a[i] = (float)a;
        MapTable.b[i] = (float)b;
    }
    MapTable.phi = phi;
    MapTable.psi = psi;

    fillChannelBytes(s.alpha);
    double sf = (double)s.spaceFrequency;
    channelmap cm = {{(double)u1 * sf, (double)u2 * sf, (double)u3 * sf},
                     {colorMapPhase(u4), colorMapPhase(u5), colorMapPhase(u6)}};

    if (!PointKernel) useBestPointKernel();
    PointKernel(s.points, s.pointCount, mapCount, cm);
}
