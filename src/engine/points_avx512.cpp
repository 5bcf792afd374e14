// The point step's body for AVX-512 (x86-64-v4): sixteen points a group.
// Built with those instructions (see CMakeLists.txt); run only where the
// processor has them.
#include "engine/fpstrict.h"
#include "engine/pointstep.h"

#if defined(__AVX512F__)
void stepPointsAVX512(point* points, int n, int mapCount, const channelmap& cm)
{
    if (mapCount <= 32) stepPointsBody<16, permutecolumn<16>>(points, n, mapCount, cm);
    else stepPointsBody<16, readcolumn<16>>(points, n, mapCount, cm);
}
#endif
