// The memory frame's bodies for AVX2 (x86-64-v3): 16 channels a block, four
// pixels of a span at once. Built with those instructions (see
// CMakeLists.txt); run only where the processor has them.
#include "engine/fpstrict.h"
#include "render/splatbody.h"

#if defined(__AVX2__)
VYR_SPLAT_KERNELS(AVX2_SPLAT, "x86-64-v3", 16)
#endif
