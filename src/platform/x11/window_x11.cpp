// The hosted back end on X11 and GLX. GLUT cannot give its window a foreign
// parent, so the program makes its own child window inside the host's
// window, with a GL visual of its choosing and a GLX context, and runs its
// own small event loop around the same idle step and frame drawing. The
// child has the host's size and follows it; it selects no input, so keys and
// pointer events go on to the host, which owns them and ends the saver.
//
// Index
//   - hostedwindow record
//   - X errors and the lost connection
//   - Visibility
//   - Window seam: create, destroy, swap, title
//   - Main loop: events, waiting, the loop
//   - Host watch: the host window's end noticed during a long frame
//   - openHostWindow, HOSTED_PLATFORM
//   - Owner window: none on X11
//
// A host's log hears only of real problems, in one line on standard error.
#include "platform/window.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/platform.h"
#include "core/process.h"
#include "core/windowstate.h"
#include "platform/present.h"

constexpr int VIEWABLE_CHECK_MS = 500;  // how often a running loop asks whether it can still be seen
constexpr int MULTISAMPLE_SAMPLES = 4;   // as GLUT asks by default

const bool PREVIEW_DRAWS = false;  // no host here hands a window over with /p

// ---- hostedwindow record ---------------------------------------------------------
struct hostedwindow {
    Display* display;       // connection of the hosted run, opened by openHostWindow
    int screen;             // screen of the host window
    Window host;            // the window handed over (or the root window)
    Window child;           // the program's window inside it, 0 while there is none
    Colormap colormap;      // colormap of the child's visual
    GLXContext context;     // rendering context of the child
    int width;              // host size in pixels
    int height;
    int viewable;           // the child and all its ancestors are mapped
    int fullyObscured;      // the last visibility report said fully covered
    int shown;              // viewable and not fully covered, as last reported
    int redisplay;          // the step asked for a frame
    int ended;              // the host window (and with it the child) is gone
    int lastViewableCheck;  // ms, last time the loop asked the server about viewability
};

static hostedwindow Hosted = {};

// ---- X errors and the lost connection ----------------------------------------------
// The host may destroy its window at any moment; requests on it and on the
// child then fail until the destruction is read from the queue. Those
// errors are expected and never printed.
static int ignoreXError(Display* display, XErrorEvent* error) { return 0; }

// The server went away (or closed the connection): the run is over.
static int connectionLost(Display* display)
{
    fflush(stdout);
    _exit(0);
}

// ---- Visibility --------------------------------------------------------------------
// Reports when the picture can no longer be seen or can be seen again.
static void reportShown()
{
    int shown = Hosted.viewable && !Hosted.fullyObscured;
    if (shown == Hosted.shown) return;
    Hosted.shown = shown;
    WindowEvents.shown(shown);
}

// An ancestor of the host (a preview dialog, say) may be unmapped without any
// event reaching the program: ask the server now and then while drawing.
static void checkViewable()
{
    int now = Platform.elapsedTime();
    if ((unsigned int)now - (unsigned int)Hosted.lastViewableCheck < (unsigned int)VIEWABLE_CHECK_MS) return;  // wraps
    Hosted.lastViewableCheck = now;
    XWindowAttributes a;
    if (XGetWindowAttributes(Hosted.display, Hosted.child, &a) && a.map_state != IsViewable) Hosted.viewable = 0;
}

// ---- Window seam: create, destroy, swap, title, clock and stand-ins -------------
static XVisualInfo* chooseVisual(const windowrequest* r, int multiSample)
{
    int attributes[16];
    int n = 0;
    attributes[n++] = GLX_RGBA;
    attributes[n++] = GLX_RED_SIZE;
    attributes[n++] = 1;
    attributes[n++] = GLX_GREEN_SIZE;
    attributes[n++] = 1;
    attributes[n++] = GLX_BLUE_SIZE;
    attributes[n++] = 1;
    if (r->doubleBuffered) attributes[n++] = GLX_DOUBLEBUFFER;
    if (multiSample) {
        attributes[n++] = GLX_SAMPLE_BUFFERS;
        attributes[n++] = 1;
        attributes[n++] = GLX_SAMPLES;
        attributes[n++] = MULTISAMPLE_SAMPLES;
    }
    attributes[n] = None;
    return glXChooseVisual(Hosted.display, Hosted.screen, attributes);
}

static void hostedCreateWindow(const windowrequest* r)
{
    if (Hosted.child) return;

    int multiSample = r->multiSample;
    XVisualInfo* visual = chooseVisual(r, multiSample);
    if (!visual && multiSample) {
        multiSample = 0;
        visual = chooseVisual(r, multiSample);
    }
    if (!visual) {  // nothing can be drawn at all
        fputs("The host window's screen offers no OpenGL visual.\n", stderr);
        exit(1);
    }

    XSetWindowAttributes a = {};
    Hosted.colormap = XCreateColormap(Hosted.display, Hosted.host, visual->visual, AllocNone);
    a.colormap = Hosted.colormap;
    a.background_pixel = 0;  // black under the first frame
    a.border_pixel = 0;
    a.event_mask = StructureNotifyMask | VisibilityChangeMask;
    // No cursor of its own: the host's cursor (usually none) stays.
    Hosted.child = XCreateWindow(Hosted.display, Hosted.host, 0, 0, (unsigned)Hosted.width, (unsigned)Hosted.height,
                                 0, visual->depth, InputOutput, visual->visual,
                                 CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &a);
    XStoreName(Hosted.display, Hosted.child, "VYR");
    Hosted.context = glXCreateContext(Hosted.display, visual, nullptr, True);
    XFree(visual);
    XMapWindow(Hosted.display, Hosted.child);
    glXMakeCurrent(Hosted.display, Hosted.child, Hosted.context);
    Hosted.viewable = 0;  // until the server reports the child visible
    Hosted.fullyObscured = 0;

    // Full screen or not, the host decides the size.
    windowmade made = {(int)Hosted.child, 0, r->fullScreen, r->doubleBuffered, multiSample, 0, 0};
    WindowState.contextGeneration++;  // textures and kept frames of the old context mean nothing here
    WindowEvents.created(&made);
    WindowEvents.resized(Hosted.width, Hosted.height);
}

static void hostedDestroyWindow()
{
    if (!Hosted.child) return;
    glXMakeCurrent(Hosted.display, None, nullptr);
    if (Hosted.context) glXDestroyContext(Hosted.display, Hosted.context);
    if (!Hosted.ended) XDestroyWindow(Hosted.display, Hosted.child);
    XFreeColormap(Hosted.display, Hosted.colormap);
    Hosted.context = nullptr;
    Hosted.child = 0;
}

static void hostedSwapBuffers() { glXSwapBuffers(Hosted.display, Hosted.child); }
static void hostedPostRedisplay() { Hosted.redisplay = 1; }
static void hostedSetWindowTitle(const char* title) { XStoreName(Hosted.display, Hosted.child, title); }

// ---- Main loop: events, waiting, the loop ------------------------------------------
static void handleEvent(const XEvent& e)
{
    switch (e.type) {
    case ConfigureNotify:
        if (e.xconfigure.window == Hosted.host) {
            if (e.xconfigure.width != Hosted.width || e.xconfigure.height != Hosted.height) {
                Hosted.width = e.xconfigure.width;
                Hosted.height = e.xconfigure.height;
                XResizeWindow(Hosted.display, Hosted.child, (unsigned)Hosted.width, (unsigned)Hosted.height);
            }
        } else if (e.xconfigure.window == Hosted.child) {
            WindowEvents.resized(e.xconfigure.width, e.xconfigure.height);
        }
        break;
    case VisibilityNotify:
        Hosted.viewable = 1;  // reported only for a viewable window
        Hosted.fullyObscured = e.xvisibility.state == VisibilityFullyObscured;
        break;
    case UnmapNotify:
        Hosted.viewable = 0;  // the host or the child: either hides the picture
        break;
    case DestroyNotify:
        if (e.xdestroywindow.window == Hosted.host || e.xdestroywindow.window == Hosted.child) Hosted.ended = 1;
        break;
    default:
        break;
    }
}

static void handlePendingEvents()
{
    while (XPending(Hosted.display) > 0) {
        XEvent e;
        XNextEvent(Hosted.display, &e);
        handleEvent(e);
    }
    reportShown();
}

// Sleeps until the server sends something (a lost connection wakes it too).
static void waitForEvents()
{
    while (XPending(Hosted.display) == 0) {
        pollfd p = {ConnectionNumber(Hosted.display), POLLIN, 0};
        poll(&p, 1, -1);
    }
}

static void hostedMainLoop()
{
    while (true) {
        handlePendingEvents();
        if (Hosted.ended) break;
        if (!Hosted.shown) {
            waitForEvents();
            continue;
        }
        WindowEvents.idle();
        if (Hosted.redisplay) {
            Hosted.redisplay = 0;
            WindowEvents.display();
        }
        checkViewable();
    }
    hostedDestroyWindow();
    XCloseDisplay(Hosted.display);
    Hosted.display = nullptr;
}

// ---- Host watch ---------------------------------------------------------------------
// A frame of many points in a large window takes seconds, and the main loop
// reads the host's destruction only between frames. A second connection,
// read by a thread of its own, ends the run as soon as the host's window is
// gone. Nothing is left to tidy: a hosted run saves no file.
static Window WatchedHost;

static void* watchHost(void* connection)
{
    Display* display = static_cast<Display*>(connection);
    while (true) {
        XEvent e;
        XNextEvent(display, &e);
        if (e.type == DestroyNotify && e.xdestroywindow.window == WatchedHost) _exit(0);
    }
    return nullptr;
}

static void startHostWatch(Window host)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;  // the main loop still notices, after the frame
    WatchedHost = host;
    XSelectInput(display, host, StructureNotifyMask);
    XSync(display, False);
    if (!startThreadWithoutSignals(watchHost, display)) XCloseDisplay(display);
}

// ---- openHostWindow, HOSTED_PLATFORM ---------------------------------------------
int openHostWindow(unsigned long window, int preview)
{
    Hosted = {};
    XInitThreads();  // the host watch reads a connection of its own in a second thread
    Hosted.display = XOpenDisplay(nullptr);
    if (!Hosted.display) {
        fputs("Cannot open the X display.\n", stderr);
        return 0;
    }
    XSetErrorHandler(ignoreXError);
    XSetIOErrorHandler(connectionLost);

    Hosted.host = window ? (Window)window : DefaultRootWindow(Hosted.display);
    // Size and destruction of the host: asked for before its size is read,
    // so that no resize falls between the two.
    XSelectInput(Hosted.display, Hosted.host, StructureNotifyMask);
    XWindowAttributes a;
    bool usable = XGetWindowAttributes(Hosted.display, Hosted.host, &a) != 0;
    if (!usable || a.c_class == InputOnly) {
        // An input-only window cannot hold the program's window.
        fprintf(stderr, usable ? "The host window 0x%lx is input-only: it cannot show a picture.\n"
                               : "Cannot use the host window 0x%lx.\n", window);
        XCloseDisplay(Hosted.display);
        Hosted.display = nullptr;
        return 0;
    }
    if (window) startHostWatch(Hosted.host);
    Hosted.screen = XScreenNumberOfScreen(a.screen);
    Hosted.width = a.width;
    Hosted.height = a.height;

    return 1;
}

// The host owns the input and the menu never shows there: no modifiers, no
// pointer and no menu text; the visual is chosen when the window is made,
// so any display mode passes.
const platform HOSTED_PLATFORM = windowSeamPlatform(hostedCreateWindow, hostedDestroyWindow, hostedMainLoop,
                                                    hostedPostRedisplay, hostedSwapBuffers, presentPixelsToWindow,
                                                    hostedSetWindowTitle);

// ---- Owner window: none on X11 -----------------------------------------------
void useOwnerWindow(unsigned long window) {}
void giveWindowToOwner() {}
