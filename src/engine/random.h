// The program's own random generators, reproducible from a seed.
#pragma once

#include <cstdint>

constexpr int RANDOM_MAX = 32767;

// Seeds both generators.
void seedRandom(uint32_t seed);
// One draw of 0..RANDOM_MAX, in the manner of the C library's rand().
int randomNumber();
