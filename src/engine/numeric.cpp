// Placeholder until the engine lands.
#include "engine/numeric.h"
float CosTable[COS_TABLE_SIZE];
void initCos() {}
float cosTable(float) { return 1.0f; }
int pgcd(int a, int b) { while (b) { int t = a % b; a = b; b = t; } return a; }
int ppcm(int a, int b) { return b ? a * b / pgcd(b, a % b) : 0; }
int nextPowerOfTwo(int n) { int p = 1; while (p < n) p *= 2; return p; }
float mapExp(float x, float) { return x; }
