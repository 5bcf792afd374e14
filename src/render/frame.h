// Drawing one frame: the renderer chosen for it (OpenGL, or the frame
// composed in memory), the menu on top, the frame presented.
//
// Index
//   - rendererstate
//   - Reports: frameContextChanged, reshapeFunc, displayFunc
//   - Renderer of each frame
#pragma once

#include "render/rendering.h"

// ---- rendererstate ----
constexpr int RENDERER_TEXT_SIZE = 64;

struct rendererstate {
    int memoryFrames;                     // the last frame was composed in memory
    char rendererText[RENDERER_TEXT_SIZE];  // statistics line "Renderer : memory|OpenGL"
};

extern rendererstate Renderer;

// ---- Reports ----
// A window with a new rendering context is in use: the texture names and the
// kept frame of the previous context mean nothing in it, and the automatic
// renderer choice is made again.
void frameContextChanged();
// Resize report: records the window size.
void reshapeFunc(int w, int h);
// Frame report: draws the frame and presents it.
void displayFunc();

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
