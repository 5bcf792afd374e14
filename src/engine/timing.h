// The morph cycle and the frame-rate regulation.
#pragma once

constexpr int MINIMUM_POINT_COUNT = 300;
constexpr int FPS_MEASURE_FRAMES = 16;  // frames between two measurements
constexpr int WINDOW_TITLE_SIZE = 96;

// Reads the clock: ends cycles, eases the phase, measures and regulates every 16 frames.
void evolveTime();
