// Frames composed in memory: on a software OpenGL the trails, the
// multi-pass filter and the points are computed by the program on both
// cores and the finished frame is uploaded once; OpenGL then draws the menu
// on top, which therefore never enters the trails.
#pragma once

// ---- Renderer of each frame ----
// Called at the start of displayFunc: 1 when this frame is composed in
// memory. Under RENDERER_AUTO a software OpenGL without multisampling tries
// both ways on the first frames and keeps memory unless OpenGL measured
// clearly faster.
int beginRendererFrame();
// Called once the frame is drawn, before the menu: closes the frame's timing
// and, when the next frame changes renderer, hands the picture over.
void endRendererFrame();
// "memory" or "OpenGL": the renderer of the last frame.
const char* rendererName();

// ---- Composition ----
// The whole frame but the menu, composed in memory; then drawn over the window.
void composeMemoryFrame();
void presentMemoryFrame();
// A new rendering context: the next frame starts from black, and the
// automatic choice is made again.
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
