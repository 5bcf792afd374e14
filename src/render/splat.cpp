// A frame composed in memory: the public row kernels and point splat, the
// portable variant, and the choice of the fastest variant the processor
// runs. The rules themselves are in splatbody.h.
//
// Index
//   - Channel scales
//   - Variants and dispatch
#include "engine/fpstrict.h"
#include "render/splatbody.h"

#include "core/cpu.h"

// ---- Channel scales ----
channelscale blendFactor(int alpha) { return {0, 255 - (alpha > 0 ? alpha < 255 ? alpha : 255 : 0), 0}; }

channelscale modulation(float c) { return {1, 0, clampUnit(c)}; }

// ---- Variants and dispatch ----
struct splatkernels {
    const char* name;
    void (*fade)(uint8_t*, size_t, int, channelscale);
    void (*addScaled)(uint8_t*, const uint8_t*, size_t, channelscale);
    pixelbox (*splat)(uint32_t*, const splatjob&, int, int);
};

static void fadePortable(uint8_t* p, size_t n, int step, channelscale s) { fadeBody<8>(p, n, step, s); }
static void addScaledPortable(uint8_t* s, const uint8_t* a, size_t n, channelscale w) { addScaledBody<8>(s, a, n, w); }
static pixelbox splatPortable(uint32_t* image, const splatjob& job, int band, int bandCount)
{
    return splatAny(image, job, band, bandCount);
}
static const splatkernels PORTABLE_SPLAT = {"portable", fadePortable, addScaledPortable, splatPortable};

#if defined(__x86_64__) && defined(__GNUC__)
static const splatkernels AVX2_SPLAT = {"x86-64-v3", fadeAVX2, addScaledAVX2, splatAVX2};
#endif

static const splatkernels* splatKernels()
{
    static const splatkernels* chosen = nullptr;
    if (chosen) return chosen;
    chosen = &PORTABLE_SPLAT;
#if defined(__x86_64__) && defined(__GNUC__)
    if (cpuRunsX86_64v3()) chosen = &AVX2_SPLAT;
#endif
    return chosen;
}

const char* splatKernelName() { return splatKernels()->name; }

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

pixelbox splatPoints(uint32_t* image, const splatjob& job, int band, int bandCount)
{
    return splatKernels()->splat(image, job, band, bandCount);
}
