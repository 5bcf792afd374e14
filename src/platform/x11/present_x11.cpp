// Frames shown straight in the OpenGL window on X11: the frame is copied
// into a shared-memory image and put into the window (MIT-SHM), or, where
// the server refuses shared memory (no extension, a remote display, a
// failed attach), sent through the connection with a plain XPutImage. The
// window is the current GLX drawable, so the GLUT window and a host's child
// window alike. A connection of its own keeps the requests, replies and
// errors apart from the window back end's event handling. The server copies
// a frame while the next one is composed: each frame first waits until the
// last one's put is done (its errors are seen there), then puts its own.
//
// Index
//   - Connection and window
//   - Images: shared or plain
//   - presentPixelsToWindow
#include "platform/present.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>

// ---- Connection and window ----
struct x11presenter {
    Display* display;     // our own connection to the window's server; null until needed
    Window window;        // the window the state below belongs to
    int usable;           // its visual holds 32-bit pixels blue, green, red
    Visual* visual;
    int depth;
    GC gc;
    int shared;           // 1: shared memory works, 0: plain puts
    XImage* image;        // the shared image, or null
    XShmSegmentInfo segment;
    int width, height;    // of the shared image
    int pending;          // a put is on its way: the image is not to be touched before a sync
    const char* transport;
};

static x11presenter X11 = {nullptr, 0, 0, nullptr, 0, nullptr, 0, nullptr, {}, 0, 0, 0, "none"};

static int XErrorSeen = 0;
static int noteXError(Display*, XErrorEvent*)
{
    XErrorSeen = 1;
    return 0;
}

// Runs the requests made by f and waits for them; 1 unless the server
// answered one with an error.
template <class F> static int withoutXErrors(F f)
{
    XErrorSeen = 0;
    XErrorHandler previous = XSetErrorHandler(noteXError);
    f();
    XSync(X11.display, False);
    XSetErrorHandler(previous);
    return !XErrorSeen;
}

// Waits for the last put; 0 when the server refused it.
static int lastPutDone()
{
    if (!X11.pending) return 1;
    X11.pending = 0;
    return withoutXErrors([] {});
}

static void dropSharedImage()
{
    lastPutDone();
    if (!X11.image) return;
    XShmDetach(X11.display, &X11.segment);
    XSync(X11.display, False);
    XDestroyImage(X11.image);  // frees the XImage; the data is the segment
    shmdt(X11.segment.shmaddr);
    X11.image = nullptr;
    X11.width = X11.height = 0;
}

static int pixelsTake32Bits(Display* d, int depth)
{
    int n = 0, bits = 0;
    XPixmapFormatValues* f = XListPixmapFormats(d, &n);
    for (int i = 0; i < n; i++)
        if (f[i].depth == depth) bits = f[i].bits_per_pixel;
    if (f) XFree(f);
    return bits == 32;
}

// Makes the state belong to window; 0 when the frame cannot go there as it is.
static int useWindow(Window window)
{
    if (!X11.display) {
        Display* gl = glXGetCurrentDisplay();
        if (!gl || !(X11.display = XOpenDisplay(DisplayString(gl)))) return 0;
    }
    if (X11.window == window) return X11.usable;
    dropSharedImage();
    if (X11.gc) XFreeGC(X11.display, X11.gc);
    X11.gc = nullptr;
    X11.window = window;
    X11.usable = 0;
    XWindowAttributes a;
    if (!withoutXErrors([&] { a.visual = nullptr; XGetWindowAttributes(X11.display, window, &a); }) || !a.visual)
        return 0;
    Visual* v = a.visual;
    // Depth 24 only: a 32-bit visual would read the spare byte as alpha.
    if (a.depth != 24 || v->red_mask != 0xFF0000 || v->green_mask != 0xFF00 || v->blue_mask != 0xFF ||
        !pixelsTake32Bits(X11.display, a.depth))
        return 0;
    X11.visual = v;
    X11.depth = a.depth;
    X11.gc = XCreateGC(X11.display, window, 0, nullptr);
    int major, minor;
    Bool pixmaps;
    X11.shared = ImageByteOrder(X11.display) == LSBFirst && XShmQueryVersion(X11.display, &major, &minor, &pixmaps);
    return X11.usable = 1;
}

// ---- Images: shared or plain ----
// A shared image of the size; 0 (and plain puts from now on) when the
// server refuses it.
static int prepareSharedImage(int width, int height)
{
    if (X11.image && X11.width == width && X11.height == height) return 1;
    dropSharedImage();
    XImage* image = XShmCreateImage(X11.display, X11.visual, X11.depth, ZPixmap, nullptr, &X11.segment, width, height);
    if (!image) return X11.shared = 0;
    X11.segment.shmid = shmget(IPC_PRIVATE, (size_t)image->bytes_per_line * height, IPC_CREAT | 0600);
    if (X11.segment.shmid < 0) {
        XDestroyImage(image);
        return X11.shared = 0;
    }
    X11.segment.shmaddr = image->data = (char*)shmat(X11.segment.shmid, nullptr, 0);
    X11.segment.readOnly = False;
    int attached = X11.segment.shmaddr != (char*)-1 &&
                   withoutXErrors([] { XShmAttach(X11.display, &X11.segment); });
    shmctl(X11.segment.shmid, IPC_RMID, nullptr);  // gone once both sides detach
    if (!attached) {  // e.g. a server on another machine
        if (X11.segment.shmaddr != (char*)-1) shmdt(X11.segment.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        return X11.shared = 0;
    }
    X11.image = image;
    X11.width = width;
    X11.height = height;
    return 1;
}

static int putShared(const unsigned char* pixels, int width, int height, int stride)
{
    int row = X11.image->bytes_per_line;
    for (int y = 0; y < height; y++) memcpy(X11.image->data + (size_t)y * row, pixels + (size_t)y * stride, (size_t)width * 4);
    XShmPutImage(X11.display, X11.window, X11.gc, X11.image, 0, 0, 0, 0, width, height, False);
    XFlush(X11.display);
    X11.pending = 1;
    return 1;
}

static int putPlain(const unsigned char* pixels, int width, int height, int stride)
{
    XImage* image = XCreateImage(X11.display, X11.visual, X11.depth, ZPixmap, 0, (char*)pixels, width, height, 32, stride);
    if (!image) return 0;
    XPutImage(X11.display, X11.window, X11.gc, image, 0, 0, 0, 0, width, height);  // copies the pixels out
    XFlush(X11.display);
    X11.pending = 1;
    image->data = nullptr;  // ours
    XDestroyImage(image);
    return 1;
}

// ---- presentPixelsToWindow ----
int presentPixelsToWindow(const unsigned char* pixels, int width, int height, int stride)
{
    Window window = glXGetCurrentDrawable();
    if (!window || !useWindow(window)) return 0;
    if (!lastPutDone()) {  // the window went away or will not take it: OpenGL's turn
        X11.usable = 0;
        return 0;
    }
    if (X11.shared && prepareSharedImage(width, height) && putShared(pixels, width, height, stride)) {
        X11.transport = "shared memory";
        return 1;
    }
    if (!putPlain(pixels, width, height, stride)) return 0;
    X11.transport = "plain";
    return 1;
}

const char* presentationTransport() { return X11.transport; }

void finishPresentation() { lastPutDone(); }
