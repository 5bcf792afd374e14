// The window in use as its back end reports it: the monitors it covers, the
// display's scale and the rendering context's generation; and the pictures drawn in it, one per
// monitor, which the engine's exposure and both renderers share.
//
// Index
//   - windowstate, addMonitor
//   - Pictures: pictureCount, pictureRect, pictureArea, picturePointSize
#pragma once

// ---- windowstate ----
constexpr int MONITOR_LIMIT = 16;

// A rectangle of window pixels, origin at the top-left corner, y downwards.
struct pixelrect {
    int x, y;
    int width, height;
};

struct windowstate {
    int activeGameMode;           // the full-screen window is GLUT's game mode (else a
                                  // borderless window covering the screen)
    int monitorCount;             // pictures in the window, one per monitor it covers;
                                  // 0: one picture filling the window
    pixelrect monitors[MONITOR_LIMIT];  // each monitor's part of the window
    int contextGeneration;        // rendering contexts made so far; textures and kept
                                  // frames belong to one generation
    float scale;                  // the display's dots per inch over 96, in quarter steps
    double compositorWait;        // seconds slept until the compositor wanted a frame, in all;
                                  // a pace, not a cost of drawing or presenting
};

constexpr windowstate INITIAL_WINDOW_STATE = {0, 0, {}, 0, 1, 0};

extern windowstate WindowState;

// Adds a monitor's part of the window as its back end reads it: the primary
// first (the menu is drawn on it), a clone of a listed rectangle not again,
// nothing empty and nothing beyond MONITOR_LIMIT.
void addMonitor(pixelrect r, int primary);

// ---- Pictures ----
// A window spanning several monitors shows a picture on each, so that none
// is cut at a seam.
int pictureCount();
// Picture i in OpenGL window coordinates (origin bottom-left).
pixelrect pictureRect(int i);
// Pixels of the largest picture.
long long pictureArea();
// The point diameter in picture i: the exposure's size for the largest
// picture, scaled by this one's linear size.
float picturePointSize(int i);
