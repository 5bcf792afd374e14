// The point cloud: one 16-byte record per point, handed to OpenGL as a
// GL_C4UB_V2F interleaved array, and the chaos-game step that moves it.
#pragma once

#include <cstdint>

#include "core/records.h"

constexpr int MAP_MATRIX_CAPACITY = 15 * 15;  // blended maps held per frame
constexpr int MAX_POINT_COUNT = 1 << 27;      // 2 GiB of points; keeps sizes in int range

// Brings the buffer to desiredPointCount records.
void evolveAlloc();
// Rebuilds the blended maps for this phase; moves and recolours every point once.
void evolvePoints();

// ---- Instruction-set variants of the point step (for tests and the benchmark) ----
// Number of variants built into this program (the first is the portable one).
int pointKernelCount();
// Makes variant i the one evolvePoints uses; returns its name, or null when
// this processor cannot run it (the choice is then left unchanged).
const char* usePointKernel(int i);
// Picks the fastest variant the processor supports (done on first use anyway).
const char* useBestPointKernel();
