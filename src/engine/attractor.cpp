// Attractor generation and the blend of two maps.
//
// Index
//   - Failure: allocationFailed
//   - Generation: allocAttractor, freeAttractor
//   - Blend: mapMatrix
#include "engine/fpstrict.h"
#include "engine/attractor.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/numeric.h"
#include "engine/random.h"
#include "core/appdata.h"

// ---- Failure ----
void allocationFailed()
{
    puts("Memory allocation failed");
    exit(-1);
}

// ---- Generation ----
static int clampDegree(int d)
{
    if (d < MIN_ATTRACTOR_DEGREE) return MIN_ATTRACTOR_DEGREE;
    if (d > MAX_ATTRACTOR_DEGREE) return MAX_ATTRACTOR_DEGREE;
    return d;
}

void allocAttractor(attractor* a)
{
    // Degrees outside 3..15 would divide by zero or overrun the matrix table.
    int lo = clampDegree(ApplicationData.minDegree);
    int hi = clampDegree(ApplicationData.maxDegree);
    if (hi < lo) hi = lo;

    int degree = lo == hi ? hi : lo + randomNumber() % (hi - lo + 1);
    int b = randomNumber() % (degree / 2);
    int count = b == 0 ? degree - 1 : degree - b;

    int* used = (int*)calloc((size_t)degree, sizeof(int));
    transform* transforms = (transform*)malloc((size_t)count * sizeof(transform));
    if (!used || !transforms) allocationFailed();

    for (int i = 0; i < count; i++) {
        int s = randomNumber() % (degree - i);
        int k = randomNumber() % degree;
        transforms[i].rotation = (float)(k * 2.0 * PI / degree);
        transforms[i].flipX = 1;
        transforms[i].flipY = randomNumber() % 2;
        int j = 0;
        for (;; j++) {
            if (used[j]) continue;
            if (s == 0) break;
            s--;
        }
        used[j] = 1;
        transforms[i].translation = (float)((2 * j + 1) * PI / degree);
    }
    free(used);

    a->count = count;
    a->degree = degree;
    a->transforms = transforms;
}

void freeAttractor(attractor* a)
{
    free(a->transforms);
    a->transforms = nullptr;
    a->count = 0;
}

// ---- Blend ----
void mapMatrix(float* m, transform from, transform to, float lambda)
{
    float mu = 1.0f - lambda;
    float theta = (float)((double)(float)(from.rotation * mu) + (double)to.rotation * lambda);
    float phi = (float)((double)(float)(from.translation * mu) + (double)to.translation * lambda);
    double sx = 0.5 - ((double)from.flipX * mu + (double)to.flipX * lambda);
    float sy = (float)(0.5 - ((double)from.flipY * mu + (double)to.flipY * lambda));
    m[0] = (float)(sx * cos((double)theta));
    m[1] = (float)(-(double)sy * sin((double)theta));
    m[2] = (float)(0.5 * cos((double)phi));
    m[3] = (float)(sx * sin((double)theta));
    m[4] = (float)((double)sy * cos((double)theta));
    m[5] = (float)(0.5 * sin((double)phi));
}
