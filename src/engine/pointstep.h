// The point step's body, compiled once per instruction set: the portable
// one in points.cpp, the AVX2 and AVX-512 ones in files of their own built
// with those instruction sets, so that every lane helper they use is compiled
// for the same registers. Everything here has internal linkage: no copy
// built for one instruction set can stand in for another's.
//
// Index
//   - Frame tables: the blended maps as columns, the channel bytes
//   - Point rule: packColor, channelIndex, map-column reads, stepPoints
//   - Point step: stepPointsBody, the rule over the buffer in blocks
//   - Variants: the bodies built per instruction set
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/numeric.h"
#include "engine/points.h"
#include "engine/random.h"

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
extern maptable MapTable;

// Channel value for each index of the cosine's full turn (cosTurnIndex):
// trunc((cos + 2) * 85 * alpha), saturated at 255 instead of wrapping.
extern int32_t ChannelBytes[COS_TURN_SIZE];

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
    using D = typename lanetypes<F>::D;
    return cosTurnIndex(__builtin_convertvector(__builtin_convertvector(c, D) * frequency + phase, F));
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
    // The double lanes are converted in place (builtins, not helper calls):
    // no function takes or returns a group wider than the float group.
    D x0 = __builtin_convertvector(x, D), y0 = __builtin_convertvector(y, D);
    D m0 = __builtin_convertvector(column(t.m0, r), D), m1 = __builtin_convertvector(column(t.m1, r), D);
    D m2 = __builtin_convertvector(column(t.m2, r), D), m3 = __builtin_convertvector(column(t.m3, r), D);
    D m4 = __builtin_convertvector(column(t.m4, r), D), m5 = __builtin_convertvector(column(t.m5, r), D);
    x = __builtin_convertvector(m0 * x0 + m1 * y0 + m2, F);
    y = __builtin_convertvector(m3 * x0 + m4 * y0 + m5, F);
    D blend = __builtin_convertvector(column(t.a, r), D) * t.psi + __builtin_convertvector(column(t.b, r), D) * t.phi;
    c = __builtin_convertvector(0.2 * __builtin_convertvector(c, D) + 0.8 * blend, F);
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
            q[4 * j] = bitsAs<float>(color);  // the four colour bytes as one word
            q[4 * j + 1] = xs[j];
            q[4 * j + 2] = ys[j];
            q[4 * j + 3] = cs[j];
        }
    }
}

// ---- Variants ----
typedef void (*pointkernel)(point*, int, int, const channelmap&);

void stepPointsAVX2(point* points, int n, int mapCount, const channelmap& cm);    // points_avx2.cpp
void stepPointsAVX512(point* points, int n, int mapCount, const channelmap& cm);  // points_avx512.cpp
