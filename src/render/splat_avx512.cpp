// The memory frame's bodies for AVX-512 (x86-64-v4): 32 channels a block,
// eight pixels of a span at once under a mask. Built with those
// instructions (see CMakeLists.txt); run only where the processor has them.
#include "engine/fpstrict.h"
// GCC 12's _mm512_cvtepi16_epi8 passes an unset vector as its unused source.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "render/splatbody.h"

#if defined(__AVX512BW__) && defined(__AVX512VL__)
VYR_SPLAT_KERNELS(AVX512_SPLAT, "x86-64-v4", 32)
#endif
