// The animation step and what drives it: the idle step of the main loop, and the pause while the window cannot be seen.
#pragma once

#include "engine/animation.h"

constexpr int LIMIT_CPU_SLEEP_MS = 12;  // sleep per step with "Limit CPU usage"

// One animation step (the program checks its window before it): evolveAnimation.
void evolve();
// Buffer, clock, points, exposure, colours, statistics.
void evolveAnimation();
// 1 when the idle step would run a step: not paused, the last frame drawn.
int stepDue();
// Idle report of the window back end: one animation step, then a redisplay;
// nothing while the window is hidden or the last step's frame is not drawn yet.
void idleFunc();
// The window back end reports whether its window can be seen (1) or is
// hidden or fully covered (0): the animation pauses and resumes.
void windowShown(int shown);
// The window became hidden or fully covered: remembers when, so that the
// clock can skip the pause. Does nothing while paused.
void pauseAnimation();
// The window shows again: moves the cycle start and the last frame-rate
// measurement forward by the pause, so that the morph goes on where it
// stopped and the pause never counts as slow frames. Does nothing unless paused.
void resumeAnimation();
