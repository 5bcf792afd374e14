// The animation step and its clock: morph cycles and frame-rate regulation.
#pragma once

constexpr int MINIMUM_POINT_COUNT = 300;

// One animation step, in its fixed order.
void evolve();
// Reads the clock: ends cycles, eases the phase, measures and regulates every 16 frames.
void evolveTime();
