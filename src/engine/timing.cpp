// The morph cycle and the frame-rate regulation.
//
// Index
//   - Morph cycle and regulation: evolveTime
#include "engine/fpstrict.h"
#include "engine/timing.h"

#include <cstdio>

#include "core/platform.h"
#include "core/appdata.h"
#include "core/run.h"
#include "engine/attractor.h"
#include "engine/clock.h"
#include "engine/numeric.h"
#include "engine/points.h"
#include "engine/animation.h"

// ---- Morph cycle and regulation ----
static void endCycle()
{
    applicationdata& s = ApplicationData;
    freeAttractor(&s.attractor1);
    s.attractor1 = s.attractor2;
    allocAttractor(&s.attractor2);
}

void evolveTime()
{
    applicationdata& s = ApplicationData;
    int now = elapsedTime();

    int period = s.period < 1 ? 1 : s.period;
    unsigned int q = elapsedSince(s.cycleStart, now) / (unsigned int)period;
    // Cycles beyond the last two would retire at once what they generate:
    // skip them (after a suspended machine wakes) instead of drawing each one.
    if (q > 2) {
        s.cycleStart = addMs(s.cycleStart, (int)((q - 2) * (unsigned int)period));
        q = 2;
    }
    for (unsigned int i = 0; i < q; i++) {
        endCycle();
        s.cycleStart = addMs(s.cycleStart, period);
    }

    double f = (double)elapsedSince(s.cycleStart, now) / period;
    s.cyclePhase = mapExp((float)f, s.elasticity);

    // Counted modulo 2^32: past its signed range the count wraps (instead of
    // overflowing) and, 2^32 being a multiple of 16, keeps the measuring rhythm.
    unsigned int frame = (unsigned int)s.frameCount + 1u;
    s.frameCount = (int)frame;
    if (frame % FPS_MEASURE_FRAMES != FPS_MEASURE_FRAMES - 1) return;

    s.measuredFPS = (float)(11200.0 / ((double)elapsedSince(s.lastFPSTime, now) + 1.0) + 0.3 * s.measuredFPS);
    s.lastFPSTime = now;

    double ratio = (double)s.measuredFPS / s.desiredFPS;
    double n = s.desiredPointCount;
    double next = n;
    if (ratio > 1.05) next = n + n * (1.0 - 1.0 / ratio);
    else if (ratio < 0.95) next = n - n * (1.0 - ratio);
    if (next > MAX_POINT_COUNT) next = MAX_POINT_COUNT;  // also keeps the conversion defined
    if (next != next) next = n;                           // NaN from a zero requested rate
    s.desiredPointCount = (int)next;

    if (ratio > 1.05) Animation.tooSlow = 0;  // recovered: faster than requested again
    if (s.desiredPointCount < MINIMUM_POINT_COUNT) {
        s.desiredPointCount = MINIMUM_POINT_COUNT;
        // Once each time the floor is reached, and never into a host's log.
        if (!Animation.tooSlow && !Run.hosted) {
            puts("Your system is TOO SLOW to run this program at the requested frame rate. Please lower it to "
                 "improve image quality (its value MUST be less than the screen refresh rate if you are using "
                 "double buffered mode, since the display cannot go faster than the screen in this case).");
        }
        Animation.tooSlow = 1;
    }

    char title[WINDOW_TITLE_SIZE];
    snprintf(title, sizeof title, "VYR (%.0f FPS , %d points)", (double)s.measuredFPS, s.pointCount);
    Platform.setWindowTitle(title);
}
