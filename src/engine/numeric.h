// Small numeric helpers shared by the engine and the renderer.
#pragma once

#include "engine/lanes.h"

constexpr int COS_TABLE_SIZE = 4096;                // entries over the half turn [0, pi)
constexpr int COS_TURN_SIZE = 2 * COS_TABLE_SIZE;   // turn indices over the full turn [0, 2 pi)
constexpr double PI = 3.141592653589793;

extern float CosTable[COS_TABLE_SIZE];

// Fills CosTable; called once at start-up.
void initCos();
// Table-driven cosine, even, period 2*pi up to one table step.
float cosTable(float x);
// The CosTable entry cosTable(x) reads (0 for arguments too large to index).
int cosTableIndex(float x);
// Where x falls on the table's full turn: the nearest multiple of
// pi/COS_TABLE_SIZE to |x|, modulo COS_TURN_SIZE, or 0 when that multiple
// does not fit 32 bits (and for NaN); turn indices from COS_TABLE_SIZE on
// read CosTable[COS_TURN_SIZE - 1 - r]. The one rule for a single
// float (cosTable) and for lane groups (the point step). Without branches, so
// that it vectorises: the range test is a signed compare of the bits of the
// non-negative q (NaN and infinity compare above 2^31), and for q >= 0,
// t + (q - t >= 0.5) rounds like roundf (q - t is exact).
template <class F> static VYR_INLINE typename lanetypes<F>::I cosTurnIndex(F x)
{
    using I = typename lanetypes<F>::I;
    F a = bitsAs<F>(bitsAs<I>(x) & 0x7FFFFFFF);  // |x|
    F q = scaledInDouble(a, double(COS_TABLE_SIZE), PI);
    I bits = bitsAs<I>(q) & 0x7FFFFFFF;
    F inRange = bitsAs<F>(bits & maskOf<I>(bits < 0x4F000000));  // q < 2^31, not NaN
    I t = convert<I>(inRange);
    I e = t - maskOf<I>(inRange - convert<F>(t) >= 0.5f);  // a mask is -1
    return e & (COS_TURN_SIZE - 1);
}
// Greatest common divisor (Euclid, truncating remainder).
int pgcd(int a, int b);
// Least common multiple of two map counts.
int ppcm(int a, int b);
// Smallest power of two not below n (1 for n <= 1).
int nextPowerOfTwo(int n);
// Easing curve of the morph cycle: 0->0, 0.5->0.5, 1->1.
float mapExp(float x, float power);
