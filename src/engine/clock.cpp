// The run clock.
//
// Index
//   - Clock arithmetic: elapsedSince, addMs
//   - Run time: runTime
#include "engine/clock.h"

#include "core/platform.h"

// ---- Clock arithmetic ----
// The difference taken modulo 2^32 stays right across the wrap.
unsigned int elapsedSince(int since, int now) { return (unsigned int)now - (unsigned int)since; }

int addMs(int t, int ms) { return (int)((unsigned int)t + (unsigned int)ms); }

// ---- Run time ----
runclock RunClock = {0, 0};

// Readings come with every drawn frame, far closer than the 49.7 days the
// unsigned difference spans (a window hidden that long would only lose whole
// turns of the clock, a shift of the colours).
int64_t runTime()
{
    int now = elapsedTime();
    RunClock.total += elapsedSince(RunClock.lastReading, now);
    RunClock.lastReading = now;
    return RunClock.total;
}
