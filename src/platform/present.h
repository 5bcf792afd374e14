// Frames composed in memory shown in the current OpenGL window by the
// window system itself, without OpenGL: one implementation per window
// system (present_x11.cpp, present_windows.cpp), the platform record's
// presentPixels.
#pragma once

// pixels: 32-bit pixels blue, green, red, spare, top row first, stride bytes
// a row. Returns 1 when the window shows them, 0 when they are to go
// through OpenGL (no current window, a visual of another layout, an error).
int presentPixelsToWindow(const unsigned char* pixels, int width, int height, int stride);

// How the last frame was handed over: "shared memory", "plain" (copied
// through the connection), or "none".
const char* presentationTransport();
// Waits until the window shows the last frame handed over (the window system
// may still be copying it on return from presentPixelsToWindow).
void finishPresentation();
