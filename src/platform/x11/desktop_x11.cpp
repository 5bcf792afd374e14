// The wallpaper's desktop window on X11 (desktop.h). The window manager reads
// the window's type and state when it first maps it, so they are set before
// the window is mapped; without a window manager the window is lowered by
// hand.
#include "platform/x11/desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>

static Display* DesktopDisplay;  // kept open: closing it would destroy the window
static Window Desktop;

static Atom atom(const char* name) { return XInternAtom(DesktopDisplay, name, False); }

static void setAtoms(Window w, const char* property, const Atom* values, int count)
{
    XChangeProperty(DesktopDisplay, w, atom(property), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values), count);
}

unsigned long createDesktopWindow()
{
    DesktopDisplay = XOpenDisplay(nullptr);
    if (!DesktopDisplay) {
        fputs("Cannot open the X display.\n", stderr);
        return 0;
    }
    int screen = DefaultScreen(DesktopDisplay);
    Window root = RootWindow(DesktopDisplay, screen);
    XSetWindowAttributes a = {};
    a.background_pixel = BlackPixel(DesktopDisplay, screen);
    Window w = XCreateWindow(DesktopDisplay, root, 0, 0, (unsigned)DisplayWidth(DesktopDisplay, screen),
                             (unsigned)DisplayHeight(DesktopDisplay, screen), 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWBackPixel, &a);
    XStoreName(DesktopDisplay, w, "VYR");
    XClassHint classHint = {const_cast<char*>("vyr"), const_cast<char*>("VYR")};
    XSetClassHint(DesktopDisplay, w, &classHint);
    XWMHints hints = {};
    hints.flags = InputHint;
    hints.input = False;  // never focused
    XSetWMHints(DesktopDisplay, w, &hints);

    Atom type = atom("_NET_WM_WINDOW_TYPE_DESKTOP");
    setAtoms(w, "_NET_WM_WINDOW_TYPE", &type, 1);
    Atom state[] = {atom("_NET_WM_STATE_BELOW"), atom("_NET_WM_STATE_STICKY"), atom("_NET_WM_STATE_SKIP_TASKBAR"),
                    atom("_NET_WM_STATE_SKIP_PAGER")};
    setAtoms(w, "_NET_WM_STATE", state, 4);
    unsigned long everyDesktop = 0xFFFFFFFFul;
    XChangeProperty(DesktopDisplay, w, atom("_NET_WM_DESKTOP"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&everyDesktop), 1);

    Desktop = w;
    XMapWindow(DesktopDisplay, w);
    XLowerWindow(DesktopDisplay, w);
    XSync(DesktopDisplay, False);
    return w;
}

void fitDesktopWindow()
{
    XWindowAttributes root;
    if (!Desktop || !XGetWindowAttributes(DesktopDisplay, DefaultRootWindow(DesktopDisplay), &root)) return;
    XMoveResizeWindow(DesktopDisplay, Desktop, 0, 0, (unsigned)root.width, (unsigned)root.height);
    XFlush(DesktopDisplay);
}
