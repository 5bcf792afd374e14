// Frames composed in memory: on a software OpenGL the trails, the
// multi-pass filter and the points are computed by the program on both
// cores and the finished frame is uploaded once; OpenGL then draws the menu
// on top, which therefore never enters the trails.
#pragma once

// ---- Composition ----
// The whole frame but the menu, composed in memory; then drawn over the window.
void composeMemoryFrame();
void presentMemoryFrame();
// A new rendering context: the next frame starts from black.
void memoryFrameContextChanged();
// Takes what the window shows now as the previous frame of the next memory
// frame (the change from OpenGL to memory keeps the trails).
void adoptWindowFrame();

// Seconds the calling thread's share of the last memory frame spent in the
// fade and multi-pass sums and in the points (the other thread works
// alongside), and the upload and quad; for the frame benchmark.
struct memorysplit {
    double fadeSeconds, splatSeconds, uploadSeconds;
};
extern memorysplit MemorySplit;
