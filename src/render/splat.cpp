// A frame composed in memory: the public row kernels and point splat, the
// disc spans, the portable variant, and the choice of the fastest variant
// the processor runs. The rules themselves are in splatbody.h.
//
// Index
//   - Channel scales
//   - Disc sizes
//   - Variants and dispatch
#include "engine/fpstrict.h"
#include "render/splatbody.h"

#include <cstring>

#include "core/cpu.h"

// ---- Channel scales ----
channelscale blendFactor(int alpha) { return {0, 255 - (alpha > 0 ? alpha < 255 ? alpha : 255 : 0), 0}; }

channelscale modulation(float c) { return {1, 0, clampUnit(c)}; }

// ---- Disc sizes ----
float drawnDiscSize(float size) { return size < 2.0f ? 2.0f : size; }

void prepareDiscSpans(discspans* spans, float size)
{
    double radius = 0.5 * drawnDiscSize(size) * (double)DISC_UNIT;
    spans->radius = (int64_t)radius;
    spans->radiusSquared = (int64_t)(radius * radius);  // exact: a float's square fits a double
}

// ---- Variants and dispatch ----
VYR_SPLAT_KERNELS(PORTABLE_SPLAT, "portable", 8)

// The variants this processor runs, fastest last.
static int runnableKernels(const splatkernels** out)
{
    int n = 0;
    out[n++] = &PORTABLE_SPLAT;
#if defined(__x86_64__) && defined(__GNUC__)
    if (!cpuRunsX86_64v3()) return n;
    out[n++] = &AVX2_SPLAT;
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl"))
        out[n++] = &AVX512_SPLAT;
#endif
    return n;
}

static const splatkernels* Chosen = nullptr;

static const splatkernels* splatKernels()
{
    if (Chosen) return Chosen;
    const splatkernels* k[3];
    return Chosen = k[runnableKernels(k) - 1];
}

const char* splatKernelName() { return splatKernels()->name; }

int useSplatKernel(const char* name)
{
    const splatkernels* k[3];
    for (int i = runnableKernels(k) - 1; i >= 0; i--)
        if (!strcmp(k[i]->name, name)) return Chosen = k[i], 1;
    return 0;
}

void fadeRows(uint32_t* image, int width, int y0, int y1, int step, channelscale scale)
{
    if (y1 <= y0) return;
    splatKernels()->fade((uint8_t*)(image + (size_t)y0 * width), (size_t)(y1 - y0) * width * 4, step, scale);
}

void addScaledRows(uint32_t* sum, const uint32_t* add, int width, int x0, int x1, int y0, int y1, channelscale w)
{
    if (x1 <= x0) return;
    for (int y = y0; y < y1; y++) {
        size_t o = (size_t)y * width + x0;
        splatKernels()->addScaled((uint8_t*)(sum + o), (const uint8_t*)(add + o), (size_t)(x1 - x0) * 4, w);
    }
}

void binPoints(splatbin* bins, const splatjob& job, const discspans& spans, int bandCount)
{
    splatKernels()->bin(bins, job, spans, bandCount);
}

pixelbox splatBin(uint32_t* image, const splatjob& job, const discspans& spans, const splatentry* entries, int count,
                  int band, int bandCount, int box)
{
    return splatKernels()->splat(image, job, spans, entries, count, band, bandCount, box);
}
