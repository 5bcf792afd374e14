// The moving cloud that the presentation tests show by each way, on X11
// (present_test.cpp) and under wine (windows/present.cpp): the same frames,
// so that each way's pixels can be compared with OpenGL's.
#pragma once

#include "display/glut_test.h"
#include "render/memframe.h"

constexpr int CLOUD_WIDTH = 200, CLOUD_HEIGHT = 150, CLOUD_POINTS = 3000;
inline point Cloud[CLOUD_POINTS];

// Points over the whole window, colours of every kind.
inline void makeCloud()
{
    uint32_t s = 99;
    auto next = [&s]() { return ((s = s * 1664525u + 1013904223u) >> 8) / float(1 << 24); };
    for (point& p : Cloud) p = {{uint8_t(next() * 255), uint8_t(next() * 255), uint8_t(next() * 255), 255}, next() * 2 - 1, next() * 2 - 1, 0};
}

// A double-buffered window, as the program's, and frames of the cloud
// composed in memory and presented by the way chosen; returns the window.
inline int presentCloudFrames(int choice, int frames)
{
    resetHiddenMenu();
    RenderOptions.renderer = RENDERER_MEMORY;
    PresentOption = choice;
    ApplicationData.points = Cloud;
    ApplicationData.pointCount = CLOUD_POINTS;
    ApplicationData.pointSize = 2.5f;
    ApplicationData.motionBlur = 1;
    int window = createTestWindow(CLOUD_WIDTH, CLOUD_HEIGHT, GLUT_RGB | GLUT_DOUBLE);
    reshapeFunc(CLOUD_WIDTH, CLOUD_HEIGHT);
    for (int i = 0; i < frames; i++) {
        for (point& p : Cloud) p.x = p.x > 0.99f ? -1 : p.x + 0.004f;  // moving: the trails differ from frame to frame
        displayFunc();
    }
    return window;
}
