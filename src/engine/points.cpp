// The point buffer and the per-frame chaos-game step.
//
// Index
//   - Buffer: evolveAlloc
//   - Frame tables: the channel bytes (the step's body is in pointstep.h)
//   - Variants and dispatch: the body compiled per instruction set
//   - Frame: evolvePoints
#include "engine/fpstrict.h"
#include "engine/points.h"
#include "engine/pointstep.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/attractor.h"
#include "engine/colormap.h"
#include "engine/numeric.h"
#include "engine/random.h"
#include "core/appdata.h"
#include "core/cpu.h"

// ---- Buffer ----
void evolveAlloc()
{
    applicationdata& s = ApplicationData;
    int desired = s.desiredPointCount;
    if (desired < 1) desired = 1;
    if (desired > MAX_POINT_COUNT) desired = MAX_POINT_COUNT;
    if (s.pointCount == desired) return;

    point* points = (point*)realloc(s.points, (size_t)desired * sizeof(point));
    if (!points) allocationFailed();
    s.points = points;

    if (s.pointCount == 0) {
        float a = (float)(randomNumber() * 2.0 * PI / RANDOM_MAX);
        float rho = (float)(randomNumber() / (double)RANDOM_MAX);
        points[0].x = (float)(rho * cos((double)a));
        points[0].y = (float)(rho * sin((double)a));
        points[0].color[3] = 255;
        points[0].colorParam = 0.0f;
    }
    for (int i = s.pointCount; i < desired; i++) points[i] = points[0];
    s.pointCount = desired;
}

// ---- Frame tables ----
maptable MapTable;
int32_t ChannelBytes[COS_TURN_SIZE];

static void fillChannelBytes(float alpha)
{
    double scale = 85.0 * (double)alpha;
    for (int i = 0; i < COS_TABLE_SIZE; i++) {
        double v = ((double)CosTable[i] + 2.0) * scale;
        int32_t b = v >= 255.0 ? 255 : (int32_t)v;
        ChannelBytes[i] = b;
        ChannelBytes[COS_TURN_SIZE - 1 - i] = b;
    }
}

// ---- Variants and dispatch ----
static void stepPointsPortable(point* points, int n, int mapCount, const channelmap& cm)
{
    stepPointsBody<4, readcolumn<4>>(points, n, mapCount, cm);  // SSE2 has no variable permutes
}

#if defined(__x86_64__) && defined(__GNUC__)
static int supportsAVX512()
{
    return cpuRunsX86_64v3() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512cd");
}
#endif

struct pointkernelvariant {
    const char* name;
    pointkernel kernel;
    int (*supported)();
};

static int always() { return 1; }

static const pointkernelvariant POINT_KERNELS[] = {
    {"portable", stepPointsPortable, always},
#if defined(__x86_64__) && defined(__GNUC__)
    {"x86-64-v3", stepPointsAVX2, cpuRunsX86_64v3},
    {"x86-64-v4", stepPointsAVX512, supportsAVX512},
#endif
};
constexpr int POINT_KERNEL_COUNT = (int)(sizeof(POINT_KERNELS) / sizeof(POINT_KERNELS[0]));

static pointkernel PointKernel = nullptr;

int pointKernelCount() { return POINT_KERNEL_COUNT; }

const char* usePointKernel(int i)
{
    if (i < 0 || i >= POINT_KERNEL_COUNT || !POINT_KERNELS[i].supported()) return nullptr;
    PointKernel = POINT_KERNELS[i].kernel;
    return POINT_KERNELS[i].name;
}

const char* useBestPointKernel()
{
    for (int i = POINT_KERNEL_COUNT - 1; i > 0; i--) {
        if (POINT_KERNELS[i].supported()) return usePointKernel(i);
    }
    return usePointKernel(0);
}

// ---- Frame ----
void evolvePoints()
{
    applicationdata& s = ApplicationData;
    int c1 = s.attractor1.count, c2 = s.attractor2.count;
    if (c1 < 1 || c2 < 1 || !s.attractor1.transforms || !s.attractor2.transforms) return;

    float phi = s.cyclePhase;
    float psi = 1.0f - phi;
    int mapCount = ppcm(c1, c2);
    // Counts above 15 could ask for more maps than the table holds.
    if (mapCount > MAP_MATRIX_CAPACITY || mapCount < 1) mapCount = MAP_MATRIX_CAPACITY;

    for (int i = 0; i < mapCount; i++) {
        int a = i % c1, b = i % c2;
        float m[6];
        mapMatrix(m, s.attractor1.transforms[a], s.attractor2.transforms[b], phi);
        MapTable.m0[i] = m[0];
        MapTable.m1[i] = m[1];
        MapTable.m2[i] = m[2];
        MapTable.m3[i] = m[3];
        MapTable.m4[i] = m[4];
        MapTable.m5[i] = m[5];
        MapTable.a[i] = (float)a;
        MapTable.b[i] = (float)b;
    }
    MapTable.phi = phi;
    MapTable.psi = psi;

    fillChannelBytes(s.alpha);
    double sf = (double)s.spaceFrequency;
    channelmap cm = {{(double)u1 * sf, (double)u2 * sf, (double)u3 * sf},
                     {(double)u4, (double)u5, (double)u6}};

    if (!PointKernel) useBestPointKernel();
    PointKernel(s.points, s.pointCount, mapCount, cm);
}
