// The program's own random generators, reproducible from a seed.
//
// Index
//   - Shape draws: randomNumber, in the manner of rand()
//   - Map-index draws: RandomLanes, drawMapIndices (the chaos game)
#pragma once

#include <cstdint>

constexpr int RANDOM_MAX = 32767;

// Seeds both generators.
void seedRandom(uint32_t seed);
// One draw of 0..RANDOM_MAX, in the manner of the C library's rand().
int randomNumber();
// Draws of randomNumber since the last seedRandom.
int randomDrawCount();

// ---- Map-index draws ----
// Sixteen independent xoshiro128++ generators side by side, so that one
// round yields sixteen draws with plain lane-wise arithmetic the compiler
// turns into vector code.
constexpr int RANDOM_LANES = 16;
constexpr int MAX_INDEX_RANGE = 256;  // drawMapIndices covers ranges 1..256

struct randomlanes {
    uint32_t s0[RANDOM_LANES], s1[RANDOM_LANES], s2[RANDOM_LANES], s3[RANDOM_LANES];
};
extern randomlanes RandomLanes;

// Writes n draws, each uniform in 0..range-1 (1 <= range <= 256), to out.
// Draws come in rounds of RANDOM_LANES; the unused rest of a last partial round
// is dropped, so splitting n into multiples of RANDOM_LANES changes nothing.
inline __attribute__((always_inline)) void drawMapIndices(int32_t* out, int n, uint32_t range)
{
    randomlanes& g = RandomLanes;
    for (int base = 0; base < n; base += RANDOM_LANES) {
        int32_t round[RANDOM_LANES];
        for (int k = 0; k < RANDOM_LANES; k++) {
            uint32_t s0 = g.s0[k], s1 = g.s1[k], s2 = g.s2[k], s3 = g.s3[k];
            uint32_t sum = s0 + s3;
            uint32_t result = ((sum << 7) | (sum >> 25)) + s0;
            uint32_t t = s1 << 9;
            s2 ^= s0;
            s3 ^= s1;
            s1 ^= s2;
            s0 ^= s3;
            s2 ^= t;
            s3 = (s3 << 11) | (s3 >> 21);
            g.s0[k] = s0;
            g.s1[k] = s1;
            g.s2[k] = s2;
            g.s3[k] = s3;
            // Top 24 bits scaled to the range: 24 + 8 bits fit 32.
            round[k] = (int32_t)(((result >> 8) * range) >> 24);
        }
        if (n - base >= RANDOM_LANES) {  // a whole round: one fixed-size copy
            for (int k = 0; k < RANDOM_LANES; k++) out[base + k] = round[k];
        } else {
            for (int k = 0; k < n - base; k++) out[base + k] = round[k];
        }
    }
}

// Out-of-line form of drawMapIndices, for tests.
void randomMapIndices(int32_t* out, int n, int range);
