// The memory frame's bodies for AVX2 (x86-64-v3): 16 channels a block.
// Built with those instructions (see CMakeLists.txt); run only where the
// processor has them.
#include "engine/fpstrict.h"
#include "render/splatbody.h"

#if defined(__AVX2__)
void fadeAVX2(uint8_t* p, size_t n, int step, channelscale s) { fadeBody<16>(p, n, step, s); }

void addScaledAVX2(uint8_t* sum, const uint8_t* add, size_t n, channelscale w) { addScaledBody<16>(sum, add, n, w); }

pixelbox splatAVX2(uint32_t* image, const splatjob& job, int band, int bandCount)
{
    return splatAny(image, job, band, bandCount);
}
#endif
