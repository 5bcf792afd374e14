// Random attractors: sets of half-scale maps of the plane towards the
// vertices of a regular polygon, and the blend of two maps into a matrix.
#pragma once

constexpr int MIN_ATTRACTOR_DEGREE = 3;   // degrees reaching the generator are
constexpr int MAX_ATTRACTOR_DEGREE = 15;  // clamped to this range

struct transform {
    float translation;  // polar angle of the translation (length 0.5), radians
    float rotation;     // rotation of the linear part, radians
    int flipX;          // x scale is 0.5 - flipX; always 1 when generated
    int flipY;          // y scale is 0.5 - flipY
};

struct attractor {
    int count;              // number of maps, 2 .. degree-1
    int degree;             // vertex slots of the polygon, 3 .. 15
    transform* transforms;  // count maps, owned (heap)
};

// Fills the record with a new random attractor; the caller frees the old maps first.
void allocAttractor(attractor* a);
// Releases the maps and sets count to 0.
void freeAttractor(attractor* a);
// m (six floats, row-major 2x3) := blend of from (lambda 0) and to (lambda 1).
void mapMatrix(float* m, transform from, transform to, float lambda);
// Prints "Memory allocation failed" and exits with status -1.
[[noreturn]] void allocationFailed();
