// Monitors on Windows: EnumDisplayMonitors, in coordinates of the virtual
// screen, which spans every monitor and may start left of or above the
// primary one. WM_DISPLAYCHANGE reaches the full-screen window through a
// window procedure put in front of GLUT's. GLUT puts a full-screen window
// back on one monitor some frames after it is made, so the window is also
// covered again whenever its rectangle is not the virtual screen's. The same
// procedure reports the window losing the foreground.
//
// Index
//   - Window: saverWindow, displayChangeProc
//   - Monitors: readMonitors, coverMonitors, monitorsChanged, fullScreenModeBits
//   - Pointer: screenPointer
//   - Density: displayScale
#include "platform/monitors.h"

#include <GL/freeglut.h>
#include <windows.h>

#include "core/platform.h"
#include "core/windowstate.h"

// ---- Window ----
static HWND SaverWindow = nullptr;      // the full-screen window kept over the monitors
static WNDPROC GlutWindowProc = nullptr;
static int DisplayChanged = 0;

static LRESULT CALLBACK displayChangeProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_DISPLAYCHANGE) DisplayChanged = 1;
    if (message == WM_ACTIVATEAPP && !w) WindowEvents.activated(0);  // another program's window took the foreground
    return CallWindowProc(GlutWindowProc, window, message, w, l);
}

// The window of the current rendering context, with displayChangeProc in front of its procedure.
static HWND saverWindow()
{
    HWND current = WindowFromDC(wglGetCurrentDC());
    if (current && current != SaverWindow) {
        SaverWindow = current;
        GlutWindowProc = (WNDPROC)SetWindowLongPtr(current, GWLP_WNDPROC, (LONG_PTR)displayChangeProc);
        DisplayChanged = 1;  // covered again at the first step: GLUT sizes a full-screen window late
    }
    return SaverWindow;
}

// ---- Monitors ----
static RECT virtualScreen()
{
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

static BOOL CALLBACK addSystemMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfo(monitor, &info)) return TRUE;
    RECT v = virtualScreen();
    RECT m = info.rcMonitor;
    pixelrect r = {(int)(m.left - v.left), (int)(m.top - v.top), (int)(m.right - m.left), (int)(m.bottom - m.top)};
    addMonitor(r, (info.dwFlags & MONITORINFOF_PRIMARY) != 0);
    return TRUE;
}

void readMonitors(int fullScreen)
{
    windowstate& s = WindowState;
    s.monitorCount = 0;
    if (!fullScreen) return;
    saverWindow();
    EnumDisplayMonitors(nullptr, nullptr, addSystemMonitor, 0);
    RECT v = virtualScreen();
    if (s.monitorCount == 1 && s.monitors[0].x == 0 && s.monitors[0].y == 0 && s.monitors[0].width == v.right - v.left &&
        s.monitors[0].height == v.bottom - v.top) {
        s.monitorCount = 0;  // one monitor: the window is the picture
    }
}

void coverMonitors()
{
    HWND window = saverWindow();
    RECT v = virtualScreen();
    if (!window) return;
    SetWindowLongPtr(window, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    SetWindowPos(window, HWND_TOPMOST, v.left, v.top, v.right - v.left, v.bottom - v.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    SetForegroundWindow(window);  // keys reach it whichever monitor was clicked last
}

// Shown without a title bar from the start; coverMonitors makes it the popup.
unsigned int fullScreenModeBits() { return GLUT_BORDERLESS; }

int monitorsChanged(int fullScreen)
{
    RECT w, v = virtualScreen();
    if (SaverWindow && fullScreen && GetWindowRect(SaverWindow, &w) &&
        (w.left != v.left || w.top != v.top || w.right != v.right || w.bottom != v.bottom)) {
        DisplayChanged = 1;  // GLUT put its full-screen window back on one monitor
    }
    int changed = DisplayChanged;
    DisplayChanged = 0;
    return changed;
}

// ---- Pointer ----
int screenPointer(int* x, int* y)
{
    POINT p;
    if (!GetCursorPos(&p)) return 0;
    *x = p.x;
    *y = p.y;
    return 1;
}

// ---- Density ----
float displayScale()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    float scale = (float)(int)(dpi * 4 / 96.0 + 0.5) / 4;
    return scale > 1 ? scale : 1;
}
