// Small numeric helpers shared by the engine and the renderer.
#pragma once

constexpr int COS_TABLE_SIZE = 4096;  // entries over the half turn [0, pi)
constexpr double PI = 3.141592653589793;

extern float CosTable[COS_TABLE_SIZE];

// Fills CosTable; called once at start-up.
void initCos();
// Table-driven cosine, even, period 2*pi up to one table step.
float cosTable(float x);
// The CosTable entry cosTable(x) reads: 0..4095 (0 for arguments too large to index).
int cosTableIndex(float x);
// Greatest common divisor (Euclid, truncating remainder).
int pgcd(int a, int b);
// Least common multiple of two map counts.
int ppcm(int a, int b);
// Smallest power of two not below n (1 for n <= 1).
int nextPowerOfTwo(int n);
// Easing curve of the morph cycle: 0->0, 0.5->0.5, 1->1.
float mapExp(float x, float power);
