// The animation step and its clock: morph cycles and frame-rate regulation.
#pragma once

constexpr int MINIMUM_POINT_COUNT = 300;
constexpr int FPS_MEASURE_FRAMES = 16;  // frames between two measurements
constexpr int WINDOW_TITLE_SIZE = 96;

// One animation step, in its fixed order.
void evolve();
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
