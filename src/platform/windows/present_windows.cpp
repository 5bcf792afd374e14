// Frames shown straight in the OpenGL window on Windows: the frame is a
// top-down 32-bit DIB (blue, green, red, spare: the layout it is kept in)
// drawn into the window's device context with SetDIBitsToDevice, without
// OpenGL. The window is the one whose context is current, so the GLUT
// window and the preview's child alike.
#include "platform/present.h"

#include <windows.h>

static const char* Transport = "none";

int presentPixelsToWindow(const unsigned char* pixels, int width, int height, int stride)
{
    HDC dc = wglGetCurrentDC();
    if (!dc || stride % 4) return 0;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = stride / 4;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    int rows = SetDIBitsToDevice(dc, 0, 0, (DWORD)width, (DWORD)height, 0, 0, 0, (UINT)height, pixels, &info,
                                 DIB_RGB_COLORS);
    GdiFlush();
    if (rows <= 0) return 0;
    Transport = "DIB";
    return 1;
}

const char* presentationTransport() { return Transport; }

void finishPresentation() {}  // GdiFlush has waited
