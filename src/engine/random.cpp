// Random generators: a 15-bit draw for attractor shapes and seed points, and
// the lane generators of the chaos game, both seeded from one number.
#include "engine/random.h"

// SplitMix64: spreads one seed over many independent state words.
static constexpr uint64_t splitMix(uint64_t* x)
{
    uint64_t z = (*x += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

static constexpr void seedLanes(randomlanes* lanes, uint64_t* x)
{
    for (int k = 0; k < RANDOM_LANES; k++) {
        uint64_t a = splitMix(x), b = splitMix(x);
        lanes->s0[k] = (uint32_t)a;
        lanes->s1[k] = (uint32_t)(a >> 32);
        lanes->s2[k] = (uint32_t)b;
        lanes->s3[k] = (uint32_t)(b >> 32) | 1u;  // never all zero
    }
}

static constexpr randomlanes unseededLanes()
{
    randomlanes lanes = {};
    uint64_t x = 0;
    seedLanes(&lanes, &x);
    return lanes;
}

// Usable before seedRandom, though the program always seeds first.
randomlanes RandomLanes = unseededLanes();
static uint64_t ShapeState = 0x853c49e6748fea9bull;
static unsigned int ShapeDraws = 0;  // wraps instead of overflowing on long runs

void seedRandom(uint32_t seed)
{
    uint64_t x = seed;
    ShapeState = splitMix(&x);
    ShapeDraws = 0;
    seedLanes(&RandomLanes, &x);
}

// PCG-XSH-RR on a 64-bit LCG; the top 15 of its 32 output bits.
int randomNumber()
{
    uint64_t old = ShapeState;
    ShapeDraws++;
    ShapeState = old * 6364136223846793005ull + 1442695040888963407ull;
    uint32_t xorShifted = (uint32_t)(((old >> 18) ^ old) >> 27);
    uint32_t rot = (uint32_t)(old >> 59);
    uint32_t out = (xorShifted >> rot) | (xorShifted << ((32 - rot) & 31));
    return (int)(out >> 17);
}

int randomDrawCount() { return (int)ShapeDraws; }

void randomMapIndices(int32_t* out, int n, int range) { drawMapIndices(out, n, (uint32_t)range); }
