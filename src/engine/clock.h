// The run clock: arithmetic on the wrapping 32-bit millisecond counter of the
// platform, and the 64-bit run time added up from its readings.
#pragma once

#include <cstdint>

// Milliseconds from since to now on the wrapping 32-bit clock (0 .. 2^32-1).
unsigned int elapsedSince(int since, int now);
// t moved forward by ms on the wrapping clock.
int addMs(int t, int ms);

// The platform clock is a signed 32-bit count of milliseconds that wraps
// after 24.8 days; the run time adds up the steps between its readings in 64
// bits, so that it keeps growing for as long as the program runs.
struct runclock {
    int lastReading;  // platform clock at the last reading, ms
    int64_t total;    // ms since the clock started
};
extern runclock RunClock;
// Reads the clock and returns the run time in ms.
int64_t runTime();
