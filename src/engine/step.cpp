// The animation step and what drives it.
//
// Index
//   - Animation step: evolve, evolveAnimation
//   - Idle step: stepDue, idleFunc
//   - Pause while hidden: windowShown, pauseAnimation, resumeAnimation
#include "engine/step.h"

#include "core/platform.h"
#include "core/appdata.h"
#include "engine/clock.h"
#include "engine/colormap.h"
#include "engine/exposure.h"
#include "engine/points.h"
#include "engine/statistics.h"
#include "engine/timing.h"

animationstate Animation = {0, 0, 0, 0};

void frameDrawn() { Animation.framePending = 0; }

// ---- Animation step ----
void evolve() { evolveAnimation(); }

void evolveAnimation()
{
    evolveAlloc();
    evolveTime();
    evolvePoints();
    evolveProxy();
    evolveColorMap();
    evolveStatistics();
}

// ---- Idle step ----
// Only drawn frames count for the frame-rate measurement: a step whose frame
// has not been drawn (the window was hidden) is not followed by another.
int stepDue() { return !Animation.paused && !Animation.framePending; }

void idleFunc()
{
    if (!stepDue()) return;
    evolve();
    Animation.framePending = 1;
    Platform.postRedisplay();
    if (ApplicationData.limitCPUUsage) Sleep(LIMIT_CPU_SLEEP_MS);
}

// ---- Pause while hidden ----
void windowShown(int shown)
{
    if (!shown) {
        pauseAnimation();
        return;
    }
    resumeAnimation();
    Animation.framePending = 0;  // the window system may have dropped it
}

void pauseAnimation()
{
    if (Animation.paused) return;
    Animation.paused = 1;
    Animation.pauseStart = elapsedTime();
}

void resumeAnimation()
{
    applicationdata& s = ApplicationData;
    if (!Animation.paused) return;
    Animation.paused = 0;
    int pause = (int)elapsedSince(Animation.pauseStart, elapsedTime());
    s.cycleStart = addMs(s.cycleStart, pause);
    s.lastFPSTime = addMs(s.lastFPSTime, pause);
    Animation.framePending = 0;  // a frame dropped while hidden is not waited for
}
