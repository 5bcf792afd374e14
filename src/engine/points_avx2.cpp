// The point step's body for AVX2 (x86-64-v3): eight points a group. Built
// with those instructions (see CMakeLists.txt); run only where the
// processor has them.
#include "engine/fpstrict.h"
#include "engine/pointstep.h"

#if defined(__AVX2__)
void stepPointsAVX2(point* points, int n, int mapCount, const channelmap& cm)
{
    stepPointsBody<8, readcolumn<8>>(points, n, mapCount, cm);  // permutes measured no faster here
}
#endif
