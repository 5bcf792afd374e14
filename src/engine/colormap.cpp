// The drifting colour map: frequencies wander between 1 and 3, phases run on.
#include "engine/fpstrict.h"
#include "engine/colormap.h"

#include <cmath>

#include "engine/numeric.h"
#include "shell/platform.h"
#include "shell/state.h"

float u1, u2, u3, u4, u5, u6;

constexpr double LARGE_PHASE = 1048576.0;  // 2^20 radians

double colorMapPhase(float phase)
{
    double p = phase;
    return fabs(p) < LARGE_PHASE ? p : fmod(p, 2.0 * PI);
}

void evolveColorMap()
{
    double k = 0.001 * ApplicationData.timeFrequency;
    // The clock read as unsigned runs on across its signed wrap at 24.8 days.
    unsigned int ms = (unsigned int)elapsedTime();
    float tau = (float)(ms * k);
    u1 = (float)(cos(0.12 * tau) + 2.0);
    u2 = (float)(cos(0.13 * tau) + 2.0);
    u3 = (float)(cos(-0.16 * tau) + 2.0);
    u4 = (float)((cos((double)tau) + tau) * 1.9);
    u5 = (float)((tau - cos(-1.2 * tau)) * 1.4);
    u6 = (float)((cos(-1.4 * tau) + tau) * -1.1);
}
