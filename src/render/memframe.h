// Frames composed in memory: on a software OpenGL the trails, the
// multi-pass filter and the points are computed by the program on both
// cores, and the finished frame is handed to the window system as it is
// (direct presentation), or uploaded once to OpenGL, which then draws the
// menu on top; the menu therefore never enters the trails.
#pragma once

// ---- Presentation of a memory frame ----
// PRESENT_DIRECT hands the frame to the window system (Platform.presentPixels),
// PRESENT_GL uploads it to OpenGL; PRESENT_AUTO tries both on the first
// frames composed in memory and keeps direct unless it measured clearly
// slower. Frames with the menu shown always go through OpenGL, which draws
// the menu on top.
enum { PRESENT_AUTO, PRESENT_GL, PRESENT_DIRECT };
extern int PresentOption;
// "direct" or "OpenGL": the presentation of memory frames without the menu.
const char* presentationName();
struct presentationstate {
    int direct;     // memory frames without the menu go straight to the window system
    char text[64];  // statistics line "Presentation : direct|OpenGL"
};
extern presentationstate Presentation;

// ---- Composition ----
// The whole frame but the menu, composed in memory; then shown. Returns 1
// when the window shows the frame already (direct presentation: there is
// nothing left to draw or swap), 0 when it was drawn into OpenGL's buffer.
void composeMemoryFrame();
int presentMemoryFrame();
// A new rendering context: the next frame starts from black, and the
// presentation is chosen again.
void memoryFrameContextChanged();
// Takes what the window shows now as the previous frame of the next memory
// frame (the change from OpenGL to memory keeps the trails).
void adoptWindowFrame();

// Seconds the calling thread's share of the last memory frame spent in the
// fade and multi-pass sums and in the points (the other thread works
// alongside), and its presentation (upload and quads, or the direct copy);
// for the frame benchmark.
struct memorysplit {
    double fadeSeconds, splatSeconds, uploadSeconds;
};
extern memorysplit MemorySplit;
