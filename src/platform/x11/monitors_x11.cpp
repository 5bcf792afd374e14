// Monitors on X11: the XRandR 1.5 monitor list, else Xinerama's screens, read
// on a display connection of this file's own, which also receives RandR's
// screen-change events. The full-screen window stands at the root window's
// origin, so root coordinates are window coordinates.
//
// Index
//   - Connection
//   - Monitors: readMonitors, coverMonitors, monitorsChanged
//   - Pointer: screenPointer
//   - Density: displayScale
#include "platform/monitors.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

#include "core/windowstate.h"

// ---- Connection ----
struct monitorconnection {
    Display* display;  // null until first needed, or when the display cannot be opened
    int tried;
    int randrEvents;   // RandR's first event code; -1 without RandR
    int randrMonitors; // the server has RandR 1.5 monitors
    Window window;     // the full-screen window being kept over the monitors
    unsigned long long layout;  // the monitor list as last read (a hash)
    int layoutChanged; // the server's list differs from it: a change not yet read
};

static monitorconnection Monitors = {nullptr, 0, -1, 0, 0, 0, 0};

static Display* monitorDisplay()
{
    if (Monitors.tried) return Monitors.display;
    Monitors.tried = 1;
    Display* d = XOpenDisplay(nullptr);
    Monitors.display = d;
    if (!d) return nullptr;
    int events, errors, major = 0, minor = 0;
    if (XRRQueryExtension(d, &events, &errors) && XRRQueryVersion(d, &major, &minor)) {
        Monitors.randrEvents = events;
        Monitors.randrMonitors = major > 1 || (major == 1 && minor >= 5);
        // Screen size, outputs switched on or off, modes changed.
        XRRSelectInput(d, DefaultRootWindow(d), RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
        XFlush(d);
    }
    return d;
}

// ---- Monitors ----
// The server's monitor list now, as a hash of every rectangle; 0 without RandR 1.5.
static unsigned long long layoutNow(Display* d)
{
    if (!Monitors.randrMonitors) return 0;
    int n = 0;
    XRRMonitorInfo* m = XRRGetMonitors(d, DefaultRootWindow(d), True, &n);
    unsigned long long h = 1469598103934665603ull;
    for (int i = 0; i < n; i++) {
        for (long long v : {(long long)m[i].x, (long long)m[i].y, (long long)m[i].width, (long long)m[i].height, (long long)m[i].primary})
            h = (h ^ (unsigned long long)v) * 1099511628211ull;
    }
    if (m) XRRFreeMonitors(m);
    return h;
}

void readMonitors(int fullScreen)
{
    windowstate& s = WindowState;
    s.monitorCount = 0;
    Display* d = monitorDisplay();
    if (!d) return;
    Monitors.layout = layoutNow(d);
    Monitors.layoutChanged = 0;
    if (!fullScreen) return;
    Window root = DefaultRootWindow(d);
    int n = 0;
    if (Monitors.randrMonitors) {
        XRRMonitorInfo* m = XRRGetMonitors(d, root, True, &n);
        for (int i = 0; i < n; i++) addMonitor({m[i].x, m[i].y, m[i].width, m[i].height}, m[i].primary);
        if (m) XRRFreeMonitors(m);
    }
    if (s.monitorCount == 0 && XineramaIsActive(d)) {
        XineramaScreenInfo* screens = XineramaQueryScreens(d, &n);
        for (int i = 0; i < n; i++)
            addMonitor({screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height}, 0);
        if (screens) XFree(screens);
    }
    XWindowAttributes a;
    if (s.monitorCount == 1 && XGetWindowAttributes(d, root, &a) && s.monitors[0].x == 0 && s.monitors[0].y == 0 &&
        s.monitors[0].width == a.width && s.monitors[0].height == a.height) {
        s.monitorCount = 0;  // one monitor showing the whole screen: the window is the picture
    }
}

void coverMonitors()
{
    Display* d = monitorDisplay();
    if (!d) return;
    if (Window current = glXGetCurrentDrawable()) Monitors.window = current;  // a new window after a mode change
    XWindowAttributes a;
    if (!Monitors.window || !XGetWindowAttributes(d, DefaultRootWindow(d), &a)) return;
    XMoveResizeWindow(d, Monitors.window, 0, 0, (unsigned)a.width, (unsigned)a.height);
    XFlush(d);
}

unsigned int fullScreenModeBits() { return 0; }

int monitorsChanged(int fullScreen)
{
    Display* d = monitorDisplay();
    if (!d) return 0;
    int changed = Monitors.layoutChanged;
    Monitors.layoutChanged = 0;
    while (XPending(d)) {
        XEvent e;
        XNextEvent(d, &e);
        if (Monitors.randrEvents < 0) continue;
        if (e.type == Monitors.randrEvents + RRScreenChangeNotify) XRRUpdateConfiguration(&e);
        if (e.type == Monitors.randrEvents + RRScreenChangeNotify || e.type == Monitors.randrEvents + RRNotify) changed = 1;
    }
    return changed;
}

// ---- Pointer ----
int screenPointer(int* x, int* y)
{
    Display* d = monitorDisplay();
    Window root, child;
    int rootX, rootY, windowX, windowY;
    unsigned int buttons;
    if (!d || !XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rootX, &rootY, &windowX, &windowY, &buttons))
        return 0;
    // The server moves the pointer onto a monitor when the layout changes,
    // and may tell of the change only after it: ask for the layout itself.
    if (layoutNow(d) != Monitors.layout) Monitors.layoutChanged = 1;
    *x = rootX;
    *y = rootY;
    return 1;
}

// ---- Density ----
// The Xft.dpi resource of the RESOURCE_MANAGER property (as xrdb sets it), or 0.
static double resourceDpi(Display* d)
{
    const char* resources = XResourceManagerString(d);
    if (!resources) return 0;
    XrmInitialize();
    XrmDatabase db = XrmGetStringDatabase(resources);
    if (!db) return 0;
    char* type = nullptr;
    XrmValue value = {0, nullptr};
    double dpi = 0;
    if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) dpi = atof(value.addr);
    XrmDestroyDatabase(db);
    return dpi;
}

float displayScale()
{
    Display* d = monitorDisplay();
    if (!d) return 1;
    double dpi = resourceDpi(d);
    int screen = DefaultScreen(d);
    if (!(dpi > 0) && DisplayWidthMM(d, screen) > 0) dpi = DisplayWidth(d, screen) * 25.4 / DisplayWidthMM(d, screen);
    float scale = (float)(std::round(dpi / 96.0 * 4) / 4);
    return scale > 1 ? scale : 1;
}
