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

#include "display/present_cloud.h"
#include "platform/present.h"

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    makeCloud();
    presentCloudFrames(strcmp(argv[1], "direct") == 0 ? PRESENT_DIRECT : PRESENT_GL, 14);
    glFinish();
    finishPresentation();
    POINT corner = {0, 0};
    ClientToScreen(WindowFromDC(wglGetCurrentDC()), &corner);
    printf("shown %ld %ld %d %d %s\n", corner.x, corner.y, CLOUD_WIDTH, CLOUD_HEIGHT, presentationTransport());
    fflush(stdout);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(10)) pumpEvents();
    return 0;
}
