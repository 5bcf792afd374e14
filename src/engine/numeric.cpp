// Numeric helpers.
//
// Index
//   - Cosine table: initCos, cosTableIndex, cosTable
//   - Integers: pgcd, ppcm, nextPowerOfTwo
//   - Easing: mapExp
#include "engine/fpstrict.h"
#include "engine/numeric.h"

#include <cmath>

float CosTable[COS_TABLE_SIZE];

// ---- Cosine table ----
void initCos()
{
    for (int i = 0; i < COS_TABLE_SIZE; i++) CosTable[i] = (float)cos(i * PI * (1.0 / COS_TABLE_SIZE));
}

int cosTableIndex(float x)
{
    int r = cosTurnIndex(x);
    return r < COS_TABLE_SIZE ? r : COS_TURN_SIZE - 1 - r;  // the second half mirrors onto the first
}

float cosTable(float x) { return CosTable[cosTableIndex(x)]; }

// ---- Integers ----
int pgcd(int a, int b)
{
    while (b != 0) {
        int t = a % b;
        a = b;
        b = t;
    }
    return a;
}

int ppcm(int a, int b)
{
    if (b != 0) return a * b / pgcd(b, a % b);
    return a != 0 ? a * b / a : 0;
}

int nextPowerOfTwo(int n)
{
    int p = 1;
    while (p < n && p < (1 << 30)) p *= 2;
    return p;
}

// ---- Easing ----
float mapExp(float x, float power)
{
    if (x < 0.5f) return (float)(0.5 * pow(2.0 * x, (double)power));
    return (float)(1.0 - 0.5 * pow(2.0 - 2.0 * x, (double)power));
}
