// The drifting colour map: frequencies wander between 1 and 3, phases run on.
//
// Index
//   - Coefficients at a time: colorMapAt
//   - Step: evolveColorMap
#include "engine/fpstrict.h"
#include "engine/colormap.h"

#include <cmath>

#include "engine/numeric.h"
#include "engine/clock.h"
#include "core/appdata.h"

float u1, u2, u3, u4, u5, u6;

// ---- Coefficients at a time ----
constexpr float LARGE_PHASE = 1048576.0f;  // 2^20 radians, about a week at time frequency 1

static double asComputed(double phase) { return phase; }
static double withinTurn(double phase) { return fmod(phase, 2.0 * PI); }

// The six coefficients at the scaled time tau (seconds times the time
// frequency); each phase passes through reduce before it becomes a float.
static void colorMapAt(double tau, double (*reduce)(double))
{
    u1 = (float)(cos(0.12 * tau) + 2.0);
    u2 = (float)(cos(0.13 * tau) + 2.0);
    u3 = (float)(cos(-0.16 * tau) + 2.0);
    u4 = (float)reduce((cos(tau) + tau) * 1.9);
    u5 = (float)reduce((tau - cos(-1.2 * tau)) * 1.4);
    u6 = (float)reduce((cos(-1.4 * tau) + tau) * -1.1);
}

// ---- Step ----
// While the phases are below 2^20 radians the time is rounded to a float
// first, as it always was, so that these colours stay exactly as they were.
// Beyond that a float time moves in steps of several frames and float phases
// leave the range of the table cosine; there the time and the phases stay in
// double and the phases are reduced to one turn, which the periodic cosine
// does not see, so the drift stays as smooth as on the first day.
void evolveColorMap()
{
    double k = 0.001 * ApplicationData.timeFrequency;
    double ms = (double)runTime();
    colorMapAt((float)(ms * k), asComputed);
    if (fabsf(u4) < LARGE_PHASE && fabsf(u5) < LARGE_PHASE && fabsf(u6) < LARGE_PHASE) return;
    colorMapAt(ms * k, withinTurn);
}
