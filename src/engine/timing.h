// The animation step and its clock: morph cycles and frame-rate regulation.
#pragma once

#include <cstdint>

constexpr int MINIMUM_POINT_COUNT = 300;
constexpr int FPS_MEASURE_FRAMES = 16;  // frames between two measurements
constexpr int WINDOW_TITLE_SIZE = 96;

// One animation step, in its fixed order: the window check, then evolveAnimation.
void evolve();
// The step without the window check: buffer, clock, points, exposure, colours, statistics.
void evolveAnimation();
// Reads the clock: ends cycles, eases the phase, measures and regulates every 16 frames.
void evolveTime();
// Milliseconds from since to now on the wrapping 32-bit clock (0 .. 2^32-1).
unsigned int elapsedSince(int since, int now);
// The window became hidden or fully covered: remembers when, so that the
// clock can skip the pause. Does nothing while paused.
void pauseAnimation();
// The window shows again: moves the cycle start and the last frame-rate
// measurement forward by the pause, so that the morph goes on where it
// stopped and the pause never counts as slow frames. Does nothing unless paused.
void resumeAnimation();

// ---- Run time ----
// The GLUT clock is a signed 32-bit count of milliseconds that wraps after
// 24.8 days; the run time adds up the steps between its readings in 64 bits,
// so that it keeps growing for as long as the program runs.
struct runclock {
    int lastReading;  // GLUT clock at the last reading, ms
    int64_t total;    // ms since GLUT started
};
extern runclock RunClock;
// Reads the clock and returns the run time in ms.
int64_t runTime();
