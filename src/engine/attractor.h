// Random attractors: sets of half-scale maps of the plane towards the
// vertices of a regular polygon, and the blend of two maps into a matrix.
#pragma once

#include "core/records.h"

constexpr int MIN_ATTRACTOR_DEGREE = 3;   // degrees reaching the generator are
constexpr int MAX_ATTRACTOR_DEGREE = 15;  // clamped to this range

// Fills the record with a new random attractor; the caller frees the old maps first.
void allocAttractor(attractor* a);
// Releases the maps and sets count to 0.
void freeAttractor(attractor* a);
// m (six floats, row-major 2x3) := blend of from (lambda 0) and to (lambda 1).
void mapMatrix(float* m, transform from, transform to, float lambda);
// Prints "Memory allocation failed" and exits with status -1.
[[noreturn]] void allocationFailed();
