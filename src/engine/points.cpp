// The point buffer and the per-frame chaos-game step.
//
// Index
//   - Buffer: evolveAlloc
//   - Frame tables: the blended maps as columns, the channel bytes
//   - Point rule: packColor, channelIndex, map-column reads, stepPoints
//     (a group of points moved, averaged and placed on the colour map)
//   - Point step: stepPointsBody, the rule over the buffer in blocks
//   - Variants and dispatch: the body compiled per instruction set
//   - Frame: evolvePoints
#include "engine/fpstrict.h"
#include "engine/points.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/attractor.h"
#include "engine/colormap.h"
#include "engine/numeric.h"
#include "engine/random.h"
#include "core/state.h"

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
// The blended maps of this frame as columns, so that the point step fetches
// one map per point with indexed reads; a and b are the map indices i mod c1
// and i mod c2 that the colour average blends.
struct maptable {
    alignas(64) float m0[MAP_MATRIX_CAPACITY];
    alignas(64) float m1[MAP_MATRIX_CAPACITY];
    alignas(64) float m2[MAP_MATRIX_CAPACITY];
    alignas(64) float m3[MAP_MATRIX_CAPACITY];
    alignas(64) float m4[MAP_MATRIX_CAPACITY];
    alignas(64) float m5[MAP_MATRIX_CAPACITY];
    alignas(64) float a[MAP_MATRIX_CAPACITY];
    alignas(64) float b[MAP_MATRIX_CAPACITY];
    double phi, psi;  // cyclePhase and 1 - cyclePhase
};
static maptable MapTable;

// Channel value for each index of the cosine's full turn (cosTurnIndex):
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

// ---- Point rule ----
// The colour bytes of a record as one 32-bit word, alpha 255.
template <class U> static VYR_INLINE U packColor(U red, U green, U blue)
{
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return (red << 24) | (green << 16) | (blue << 8) | 0xFFu;
#else
    return red | (green << 8) | (blue << 16) | 0xFF000000u;
#endif
}

// Where colour parameters c fall on the cosine's turn for one channel.
template <class F> static VYR_INLINE typename lanetypes<F>::I channelIndex(F c, double frequency, double phase)
{
    return cosTurnIndex(convert<F>(convert<typename lanetypes<F>::D>(c) * frequency + phase));
}

// How the step reads a map column for a group of map indices: lane by lane,
// or, where the instruction set has two-register permutes and the table has
// at most 2N maps, from registers (far cheaper than one load per lane).
template <int N> struct readcolumn {
    VYR_INLINE typename lanes<N>::F operator()(const float* column, typename lanes<N>::I r) const
    {
        return readLanes<typename lanes<N>::F>(column, r);
    }
};
#if defined(__GNUC__) && !defined(__clang__)
template <int N> struct permutecolumn {
    VYR_INLINE typename lanes<N>::F operator()(const float* column, typename lanes<N>::I r) const
    {
        typename lanes<N>::F lo, hi;
        memcpy(&lo, column, sizeof lo);
        memcpy(&hi, column + N, sizeof hi);
        return __builtin_shuffle(lo, hi, r);
    }
};
#else
template <int N> struct permutecolumn : readcolumn<N> {};
#endif

// A group of points under their maps r: move, average the colour parameter
// (0.2 of the old value, 0.8 of the blended map index), and find where each
// channel falls on the cosine's turn (the bytes are read when the records are
// joined again, where the compiler can vectorise the table reads).
template <int N, class Column>
static VYR_INLINE void stepPoints(typename lanes<N>::F& x, typename lanes<N>::F& y, typename lanes<N>::F& c,
                                  typename lanes<N>::I (&channel)[3], typename lanes<N>::I r, const channelmap& cm,
                                  Column column)
{
    using F = typename lanes<N>::F;
    using D = typename lanes<N>::D;
    const maptable& t = MapTable;
    D x0 = convert<D>(x), y0 = convert<D>(y);
    x = convert<F>(convert<D>(column(t.m0, r)) * x0 + convert<D>(column(t.m1, r)) * y0 + convert<D>(column(t.m2, r)));
    y = convert<F>(convert<D>(column(t.m3, r)) * x0 + convert<D>(column(t.m4, r)) * y0 + convert<D>(column(t.m5, r)));
    D blend = convert<D>(column(t.a, r)) * t.psi + convert<D>(column(t.b, r)) * t.phi;
    c = convert<F>(0.2 * convert<D>(c) + 0.8 * blend);
    for (int k = 0; k < 3; k++) channel[k] = channelIndex(c, cm.frequency[k], cm.phase[k]);
}

// ---- Point step ----
constexpr int POINT_BLOCK = 256;  // points per pass; a multiple of RANDOM_LANES and of every lane count

// The rule over the buffer, a block at a time: the records are split into
// columns, stepped N at a time, and joined again with their colours.
template <int N, class Column>
static VYR_INLINE void stepPointsBody(point* __restrict points, int n, int mapCount, const channelmap& cm)
{
    using F = typename lanes<N>::F;
    using I = typename lanes<N>::I;
    float* __restrict f = (float*)(void*)points;  // 4 words per record, colour first
    for (int base = 0; base < n; base += POINT_BLOCK) {
        int m = n - base < POINT_BLOCK ? n - base : POINT_BLOCK;
        alignas(64) int32_t index[POINT_BLOCK];
        alignas(64) float xs[POINT_BLOCK], ys[POINT_BLOCK], cs[POINT_BLOCK];
        alignas(64) int32_t channels[3][POINT_BLOCK];
        drawMapIndices(index, m, (uint32_t)mapCount);
        float* __restrict q = f + 4 * base;
        for (int j = 0; j < m; j++) {
            xs[j] = q[4 * j + 1];
            ys[j] = q[4 * j + 2];
            cs[j] = q[4 * j + 3];
        }
        for (int j = m; j % N; j++) {  // the rest of a partial group: map 0 at the origin, not stored
            index[j] = 0;
            xs[j] = ys[j] = cs[j] = 0.0f;
        }
        for (int j = 0; j < m; j += N) {
            F x, y, c;
            I r;
            I channel[3];
            memcpy(&x, xs + j, sizeof x);
            memcpy(&y, ys + j, sizeof y);
            memcpy(&c, cs + j, sizeof c);
            memcpy(&r, index + j, sizeof r);
            stepPoints<N>(x, y, c, channel, r, cm, Column());
            memcpy(xs + j, &x, sizeof x);
            memcpy(ys + j, &y, sizeof y);
            memcpy(cs + j, &c, sizeof c);
            for (int k = 0; k < 3; k++) memcpy(channels[k] + j, &channel[k], sizeof channel[k]);
        }
        for (int j = 0; j < m; j++) {
            uint32_t color = packColor((uint32_t)ChannelBytes[channels[0][j]], (uint32_t)ChannelBytes[channels[1][j]],
                                       (uint32_t)ChannelBytes[channels[2][j]]);
            q[4 * j] = std::bit_cast<float>(color);  // the four colour bytes as one word
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
    stepPointsBody<4, readcolumn<4>>(points, n, mapCount, cm);  // SSE2 has no variable permutes
}

#if defined(__x86_64__) && defined(__GNUC__)
// Feature lists rather than "arch=x86-64-v3/v4", which clang does not take.
#define TARGET_AVX2 "avx2,fma,bmi,bmi2"
#define TARGET_AVX512 TARGET_AVX2 ",avx512f,avx512bw,avx512dq,avx512vl,avx512cd"

__attribute__((target(TARGET_AVX2))) static void stepPointsAVX2(point* points, int n, int mapCount, const channelmap& cm)
{
    stepPointsBody<8, readcolumn<8>>(points, n, mapCount, cm);  // permutes measured no faster here
}

__attribute__((target(TARGET_AVX512))) static void stepPointsAVX512(point* points, int n, int mapCount,
                                                                      const channelmap& cm)
{
    if (mapCount <= 32) stepPointsBody<16, permutecolumn<16>>(points, n, mapCount, cm);
    else stepPointsBody<16, readcolumn<16>>(points, n, mapCount, cm);
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
        float m[6];
        mapMatrix(m, s.attractor1.transforms[a], s.attractor2.transforms[b], phi);
        MapTable.m0[i] = m[0];
        MapTable.m1[i] = m[1];
        MapTable.m2[i] = m[2];
        MapTable.m3[i] = m[3];
        MapTable.m4[i] = m[4];
        MapTable.m5[i] = m[5];
        MapTable.a[i] = (float)a;
        MapTable.b[i] = (float)b;
    }
    MapTable.phi = phi;
    MapTable.psi = psi;

    fillChannelBytes(s.alpha);
    double sf = (double)s.spaceFrequency;
    channelmap cm = {{(double)u1 * sf, (double)u2 * sf, (double)u3 * sf},
                     {(double)u4, (double)u5, (double)u6}};

    if (!PointKernel) useBestPointKernel();
    PointKernel(s.points, s.pointCount, mapCount, cm);
}
