// One fixed cloud composed in memory, shown in a new window by the way of
// presentation named on the command line (gl or direct), for the Windows
// tests to compare what the screen shows:
//
//   vyr-test-present gl|direct
//       Draws 14 frames of the moving cloud, prints "shown X Y W H
//       TRANSPORT" (the window's client area on the screen, and how the last
//       frame went: "DIB" or "none"), and keeps the window 5 s more.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "display/glut_test.h"
#include "platform/present.h"
#include "render/memframe.h"

constexpr int W = 200, H = 150, CLOUD_POINTS = 3000;
static point Cloud[CLOUD_POINTS];

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    uint32_t s = 99;  // points over the whole window, colours of every kind
    auto next = [&s]() { return ((s = s * 1664525u + 1013904223u) >> 8) / float(1 << 24); };
    for (point& p : Cloud) p = {{uint8_t(next() * 255), uint8_t(next() * 255), uint8_t(next() * 255), 255}, next() * 2 - 1, next() * 2 - 1, 0};
    resetHiddenMenu();
    RenderOptions.renderer = RENDERER_MEMORY;
    PresentOption = strcmp(argv[1], "direct") == 0 ? PRESENT_DIRECT : PRESENT_GL;
    ApplicationData.points = Cloud;
    ApplicationData.pointCount = CLOUD_POINTS;
    ApplicationData.pointSize = 2.5f;
    ApplicationData.motionBlur = 1;
    createTestWindow(W, H, GLUT_RGB | GLUT_DOUBLE);
    reshapeFunc(W, H);
    for (int i = 0; i < 14; i++) {
        for (point& p : Cloud) p.x = p.x > 0.99f ? -1 : p.x + 0.004f;  // moving: trails differ from frame to frame
        displayFunc();
    }
    glFinish();
    finishPresentation();
    POINT corner = {0, 0};
    ClientToScreen(WindowFromDC(wglGetCurrentDC()), &corner);
    printf("shown %ld %ld %d %d %s\n", corner.x, corner.y, W, H, presentationTransport());
    fflush(stdout);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(10)) pumpEvents();
    return 0;
}
