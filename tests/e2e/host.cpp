// Stand-in for a screen-saver host in the end-to-end tests: a plain X11
// window that prints its id and then does as told, and a probe of what the
// screen shows inside a window.
//
//   vyr-test-host [--size WxH] [--position X,Y] [--resize-after MS WxH]
//                 [--unmap-after MS] [--map-after MS] [--destroy-after MS]
//                 [--class input-only]
//       Opens the window (input-only: one that cannot hold a picture), prints its id ("0x..."), runs until destroyed or killed.
//   vyr-test-host --probe ID
//       Prints "lit L coloured C of N": pixels of the window's area on the
//       screen that are not black, and of those the ones that are not grey.
//   vyr-test-host --probe-area X,Y,WxH
//       Prints "lit L of N box X0 Y0 X1 Y1": the lit pixels of that screen
//       area and their bounding box in screen coordinates (-1s if none).
//   vyr-test-host --compare ID1 ID2
//       Prints "differ P %": the share of the light that lies elsewhere in
//       one window than in the other, on a 16x16 grid over each window.
//   vyr-test-host --panel ID
//       Prints "panel H": rows from the first to the last that hold a
//       light-grey line of at least 150 pixels (the menu panel's outline,
//       underline and separators) in the window; 0 if none.
//
// Index
//   - Options
//   - Host window
//   - Probe
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

// ---- Options ----
struct hostoptions {
    int width = 640;         // window size in pixels
    int height = 480;
    int x = 0;               // position on the root window
    int y = 0;
    int resizeAfter = -1;    // ms after mapping, -1: never
    int resizeWidth = 0;
    int resizeHeight = 0;
    int unmapAfter = -1;     // ms, -1: never
    int mapAfter = -1;       // ms, -1: never
    int destroyAfter = -1;   // ms, -1: never
    int inputOnly = 0;       // an InputOnly window
};

static long long nowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

static int usage()
{
    fputs("usage: vyr-test-host [--size WxH] [--position X,Y] [--resize-after MS WxH] [--unmap-after MS]\n"
          "                     [--map-after MS] [--destroy-after MS] [--class input-only] | --probe ID\n"
          "                     | --probe-area X,Y,WxH | --compare ID1 ID2 | --panel ID\n", stderr);
    return 2;
}

// ---- Host window ----
// Runs one timed action when its time has come; returns 1 once done.
static int due(int* after, long long start)
{
    if (*after < 0 || nowMs() - start < *after) return 0;
    *after = -1;
    return 1;
}

static int nextTimeout(const hostoptions& o, long long start)
{
    long long next = -1;
    for (int after : {o.resizeAfter, o.unmapAfter, o.mapAfter, o.destroyAfter}) {
        if (after < 0) continue;
        long long left = start + after - nowMs();
        if (left < 0) left = 0;
        if (next < 0 || left < next) next = left;
    }
    return (int)next;
}

static int runHost(hostoptions o)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d) return 1;
    XSetWindowAttributes a = {};
    a.background_pixel = BlackPixel(d, DefaultScreen(d));
    a.override_redirect = True;  // placed where asked, as screen-saver windows are
    a.event_mask = StructureNotifyMask;
    unsigned long mask = CWOverrideRedirect | CWEventMask | (o.inputOnly ? 0 : CWBackPixel);
    Window w = XCreateWindow(d, DefaultRootWindow(d), o.x, o.y, (unsigned)o.width, (unsigned)o.height, 0,
                             o.inputOnly ? 0 : CopyFromParent, o.inputOnly ? InputOnly : InputOutput, CopyFromParent,
                             mask, &a);
    XStoreName(d, w, "vyr-test-host");
    XMapWindow(d, w);
    XSync(d, False);
    printf("0x%lx\n", w);
    fflush(stdout);
    long long start = nowMs();
    while (true) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
        }
        if (due(&o.resizeAfter, start)) XResizeWindow(d, w, (unsigned)o.resizeWidth, (unsigned)o.resizeHeight);
        if (due(&o.unmapAfter, start)) XUnmapWindow(d, w);
        if (due(&o.mapAfter, start)) XMapRaised(d, w);
        if (due(&o.destroyAfter, start)) {
            XDestroyWindow(d, w);
            XSync(d, False);
            return 0;
        }
        XFlush(d);
        pollfd p = {ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, nextTimeout(o, start));
    }
}

// ---- Probe ----
static int channelSum(unsigned long p) { return (int)(p >> 16 & 255) + (int)(p >> 8 & 255) + (int)(p & 255); }
static bool isLit(unsigned long p) { return channelSum(p) > 30; }

// What the screen shows inside window w: its image and size, or null.
static XImage* windowImage(Display* d, Window w, int* width, int* height)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a)) return nullptr;
    int x, y;
    Window child;
    XTranslateCoordinates(d, w, a.root, 0, 0, &x, &y, &child);
    *width = a.width;
    *height = a.height;
    return XGetImage(d, a.root, x, y, (unsigned)a.width, (unsigned)a.height, AllPlanes, ZPixmap);
}

static int probe(Window w)
{
    Display* d = XOpenDisplay(nullptr);
    int width, height;
    XImage* image = d ? windowImage(d, w, &width, &height) : nullptr;
    if (!image) return 1;
    long lit = 0, coloured = 0;
    for (int j = 0; j < height; j++) {
        for (int i = 0; i < width; i++) {
            unsigned long p = XGetPixel(image, i, j);
            int r = (int)(p >> 16 & 255), g = (int)(p >> 8 & 255), b = (int)(p & 255);
            if (isLit(p)) lit++;
            int hi = r > g ? (r > b ? r : b) : (g > b ? g : b);
            int lo = r < g ? (r < b ? r : b) : (g < b ? g : b);
            if (isLit(p) && hi - lo > 20) coloured++;
        }
    }
    printf("lit %ld coloured %ld of %ld\n", lit, coloured, (long)width * height);
    XDestroyImage(image);
    XCloseDisplay(d);
    return 0;
}

static int probeArea(int x, int y, int width, int height)
{
    Display* d = XOpenDisplay(nullptr);
    XImage* image = d ? XGetImage(d, DefaultRootWindow(d), x, y, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap)
                      : nullptr;
    if (!image) return 1;
    long lit = 0;
    int x0 = -1, y0 = -1, x1 = -1, y1 = -1;
    for (int j = 0; j < height; j++) {
        for (int i = 0; i < width; i++) {
            if (!isLit(XGetPixel(image, i, j))) continue;
            lit++;
            if (x0 < 0 || x + i < x0) x0 = x + i;
            if (x + i > x1) x1 = x + i;
            if (y0 < 0) y0 = y + j;
            y1 = y + j;
        }
    }
    printf("lit %ld of %ld box %d %d %d %d\n", lit, (long)width * height, x0, y0, x1, y1);
    XDestroyImage(image);
    XCloseDisplay(d);
    return 0;
}

// Share of the window's light in each cell of a coarse grid: the shape of
// the picture, whatever the fine detail of the moment.
constexpr int GRID = 16;
static void lightShares(XImage* image, int width, int height, double* shares)
{
    double total = 0;
    for (int k = 0; k < GRID * GRID; k++) shares[k] = 0;
    for (int j = 0; j < height; j++) {
        for (int i = 0; i < width; i++) {
            double light = channelSum(XGetPixel(image, i, j));
            shares[(j * GRID / height) * GRID + i * GRID / width] += light;
            total += light;
        }
    }
    for (int k = 0; k < GRID * GRID; k++) shares[k] = total > 0 ? shares[k] / total : 0;
}

static int compare(Window a, Window b)
{
    Display* d = XOpenDisplay(nullptr);
    int wa, ha, wb, hb;
    XImage* ia = d ? windowImage(d, a, &wa, &ha) : nullptr;
    XImage* ib = d ? windowImage(d, b, &wb, &hb) : nullptr;
    if (!ia || !ib) return 1;
    double sa[GRID * GRID], sb[GRID * GRID], moved = 0;
    lightShares(ia, wa, ha, sa);
    lightShares(ib, wb, hb, sb);
    for (int k = 0; k < GRID * GRID; k++) moved += sa[k] > sb[k] ? sa[k] - sb[k] : sb[k] - sa[k];
    printf("differ %d %%\n", (int)(moved / 2 * 100 + 0.5));
    XDestroyImage(ia);
    XDestroyImage(ib);
    XCloseDisplay(d);
    return 0;
}

// A light grey of the panel's outline, blended over its fill or the picture.
static bool isOutline(unsigned long p)
{
    int r = (int)(p >> 16 & 255), g = (int)(p >> 8 & 255), b = (int)(p & 255);
    int hi = r > g ? (r > b ? r : b) : (g > b ? g : b), lo = r < g ? (r < b ? r : b) : (g < b ? g : b);
    return lo >= 170 && hi - lo <= 40;
}

static int panel(Window w)
{
    Display* d = XOpenDisplay(nullptr);
    int width, height;
    XImage* image = d ? windowImage(d, w, &width, &height) : nullptr;
    if (!image) return 1;
    int first = -1, last = -1;
    for (int j = 0; j < height; j++) {
        int run = 0, longest = 0;
        for (int i = 0; i < width; i++) {
            run = isOutline(XGetPixel(image, i, j)) ? run + 1 : 0;
            if (run > longest) longest = run;
        }
        if (longest < 150) continue;
        if (first < 0) first = j;
        last = j;
    }
    printf("panel %d\n", first < 0 ? 0 : last - first + 1);
    XDestroyImage(image);
    XCloseDisplay(d);
    return 0;
}

int main(int argc, char** argv)
{
    hostoptions o;
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) return usage();
        if (strcmp(arg, "--probe") == 0) return probe(strtoul(value, nullptr, 0));
        if (strcmp(arg, "--panel") == 0) return panel(strtoul(value, nullptr, 0));
        int x, y, w, h;
        if (strcmp(arg, "--probe-area") == 0 && sscanf(value, "%d,%d,%dx%d", &x, &y, &w, &h) == 4) return probeArea(x, y, w, h);
        if (strcmp(arg, "--compare") == 0 && i + 2 < argc)
            return compare(strtoul(value, nullptr, 0), strtoul(argv[i + 2], nullptr, 0));
        i++;
        if (strcmp(arg, "--size") == 0 && sscanf(value, "%dx%d", &o.width, &o.height) == 2) continue;
        if (strcmp(arg, "--position") == 0 && sscanf(value, "%d,%d", &o.x, &o.y) == 2) continue;
        if (strcmp(arg, "--unmap-after") == 0) { o.unmapAfter = atoi(value); continue; }
        if (strcmp(arg, "--map-after") == 0) { o.mapAfter = atoi(value); continue; }
        if (strcmp(arg, "--destroy-after") == 0) { o.destroyAfter = atoi(value); continue; }
        if (strcmp(arg, "--class") == 0 && strcmp(value, "input-only") == 0) { o.inputOnly = 1; continue; }
        if (strcmp(arg, "--resize-after") == 0 && i + 1 < argc &&
            sscanf(argv[i + 1], "%dx%d", &o.resizeWidth, &o.resizeHeight) == 2) {
            o.resizeAfter = atoi(value);
            i++;
            continue;
        }
        return usage();
    }
    return runHost(o);
}
