// The Wayland back end (wayland.h): wl_compositor, wl_output with xdg-output,
// wlr-layer-shell, EGL with the desktop OpenGL API; frames composed in
// memory through wl_shm buffers (and wp_viewporter for the other outputs);
// fractional scale through wp_fractional_scale_v1 where offered.
//
// Index
//   - waylandclient record
//   - Outputs: surfaces, sizes, the drawing output
//   - Fractional scale
//   - Frame callbacks and presentation: the mirror on the other outputs
//   - Direct presentation: wl_shm buffers
//   - Input (the saver only)
//   - Registry
//   - Window seam and main loop
//   - openWayland, WAYLAND_PLATFORM
#include "platform/wayland/wayland.h"

#include <EGL/egl.h>
#include <GL/gl.h>
#include <GL/glut.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/platform.h"
#include "core/windowstate.h"

// The generated header names a parameter "namespace", a C++ keyword.
#define namespace namespace_
#include "layer-shell.h"
#undef namespace
#include "fractional-scale.h"
#include "viewporter.h"
#include "xdg-output.h"

constexpr int OUTPUT_LIMIT = 16;
constexpr int HIDDEN_AFTER_MS = 500;  // no output asked for a frame this long: the picture is hidden

// ---- waylandclient record --------------------------------------------------------
// A frame composed in memory as the compositor reads it.
struct shmbuffer {
    wl_buffer* buffer;
    uint32_t* pixels;
    int busy;                        // attached and not yet released by the compositor
};

struct waylandoutput {
    uint32_t name;                   // registry name; 0: a free slot
    wl_output* output;
    zxdg_output_v1* xdgOutput;
    int scale;                       // as the output last announced it
    int x, y;                        // logical position, for pointer travel across outputs
    wl_surface* surface;             // ours on this output, null while there is none
    zwlr_layer_surface_v1* layer;
    wl_egl_window* eglWindow;        // made at the first configure
    EGLSurface eglSurface;
    int width, height;               // logical size from the last configure
    int bufferScale;                 // scale of the buffers in use (set_buffer_scale)
    wp_fractional_scale_v1* fractional;  // where the compositor offers fractional scale and viewports
    int preferred;                   // the compositor's fractional scale in 120ths; 0: none yet
    wl_callback* frame;              // pending frame callback: no frame wanted until it is done
    int closed;                      // the compositor closed the surface (the output switched off):
                                     // none until the output describes itself again
    shmbuffer shm[2];                // direct frames, in one mapping of both
    void* shmMemory;
    size_t shmBytes;
    int shmWidth, shmHeight;         // their size: the frame's, widened to the output's shape
    int frameX, frameY;              // where the frame stands in them
    int frameWidth, frameHeight;     // the frame size they were made for
    wp_viewport* viewport;           // made when the buffers' size is not the output's
    int viewWidth, viewHeight;       // the viewport's destination in effect; 0: none
};

struct waylandclient {
    int role;                        // WAYLAND_SAVER or WAYLAND_WALLPAPER
    wl_display* display;
    wl_registry* registry;
    wl_compositor* compositor;
    zwlr_layer_shell_v1* layerShell;
    zxdg_output_manager_v1* xdgOutputManager;
    wp_fractional_scale_manager_v1* fractionalManager;
    wl_shm* shm;
    wl_event_queue* releases;        // the shm buffers' releases, read apart from every other event
    wp_viewporter* viewporter;
    wl_seat* seat;
    wl_pointer* pointer;
    wl_keyboard* keyboard;
    EGLDisplay egl;
    EGLConfig config;
    EGLContext context;
    int preserved;                   // the config keeps the back buffer across a swap
    int windows;                     // createWindow made the surfaces (until destroyWindow)
    waylandoutput outputs[OUTPUT_LIMIT];
    int drawing;                     // index of the output the frame is drawn on, -1: none
    int drawWidth, drawHeight;       // size last reported through resized
    int drawScale;                   // scale last reported through scaled, in 120ths
    GLuint mirror;                   // the drawn frame, for the other outputs
    int redisplay;                   // the step asked for a frame
    int shown;                       // as last reported
    waylandoutput* pointerOutput;    // the output under the pointer
};

static waylandclient Wl = {};

// Buffer pixels per logical pixel, in 120ths: the fractional scale once the
// compositor sent one, else the integer buffer scale.
static int scale120(const waylandoutput& o) { return o.preferred ? o.preferred : o.bufferScale * 120; }
static int bufferWidth(const waylandoutput& o) { return (o.width * scale120(o) + 60) / 120; }
static int bufferHeight(const waylandoutput& o) { return (o.height * scale120(o) + 60) / 120; }
static bool configured(const waylandoutput& o) { return o.eglSurface != EGL_NO_SURFACE; }
static bool wantsFrame(const waylandoutput& o) { return configured(o) && !o.frame; }

static void makeCurrent(waylandoutput* o)
{
    EGLSurface s = o ? o->eglSurface : EGL_NO_SURFACE;
    eglMakeCurrent(Wl.egl, s, s, Wl.context);
}

// ---- Outputs: surfaces, sizes, the drawing output -----------------------------------
// The frame is drawn on the output with the most pixels, so that the others
// get a copy scaled down, never up; its size is the window's size.
static void chooseDrawingOutput()
{
    int best = -1;
    long long most = 0;
    for (int i = 0; i < OUTPUT_LIMIT; i++) {
        const waylandoutput& o = Wl.outputs[i];
        long long area = (long long)bufferWidth(o) * bufferHeight(o);
        if (configured(o) && area > most) {
            most = area;
            best = i;
        }
    }
    Wl.drawing = best;
    if (best < 0) return;
    const waylandoutput& o = Wl.outputs[best];
    makeCurrent(&Wl.outputs[best]);
    if (bufferWidth(o) != Wl.drawWidth || bufferHeight(o) != Wl.drawHeight) {
        Wl.drawWidth = bufferWidth(o);
        Wl.drawHeight = bufferHeight(o);
        WindowEvents.resized(Wl.drawWidth, Wl.drawHeight);
    }
    if (scale120(o) != Wl.drawScale) {  // the menu's text grows with the output's scale
        Wl.drawScale = scale120(o);
        WindowEvents.scaled(Wl.drawScale / 120.0f);
    }
}

static void dropFractional(waylandoutput* o);
static void dropShmBuffers(waylandoutput* o);

static void dropSurface(waylandoutput* o)
{
    if (!o->surface) return;
    dropShmBuffers(o);
    if (o->viewport) wp_viewport_destroy(o->viewport);
    o->viewport = nullptr;
    o->viewWidth = o->viewHeight = 0;
    if (o == Wl.pointerOutput) Wl.pointerOutput = nullptr;
    if (o->eglSurface != EGL_NO_SURFACE) {
        eglMakeCurrent(Wl.egl, EGL_NO_SURFACE, EGL_NO_SURFACE, Wl.context);
        eglDestroySurface(Wl.egl, o->eglSurface);
    }
    if (o->eglWindow) wl_egl_window_destroy(o->eglWindow);
    if (o->frame) wl_callback_destroy(o->frame);
    dropFractional(o);
    zwlr_layer_surface_v1_destroy(o->layer);
    wl_surface_destroy(o->surface);
    o->surface = nullptr;
    o->layer = nullptr;
    o->eglWindow = nullptr;
    o->eglSurface = EGL_NO_SURFACE;
    o->frame = nullptr;
    o->width = o->height = 0;
}

// Size or scale changed: the buffers follow at the next swap.
static void resizeBuffers(waylandoutput* o)
{
    o->bufferScale = o->preferred ? 1 : o->scale;
    wl_surface_set_buffer_scale(o->surface, o->bufferScale);
    if (!o->eglWindow) {
        o->eglWindow = wl_egl_window_create(o->surface, bufferWidth(*o), bufferHeight(*o));
        o->eglSurface = eglCreateWindowSurface(Wl.egl, Wl.config, (EGLNativeWindowType)o->eglWindow, nullptr);
        if (o->eglSurface != EGL_NO_SURFACE && Wl.preserved)
            eglSurfaceAttrib(Wl.egl, o->eglSurface, EGL_SWAP_BEHAVIOR, EGL_BUFFER_PRESERVED);
        makeCurrent(o);
        eglSwapInterval(Wl.egl, 0);  // frame callbacks pace the drawing, never a blocking swap
    } else {
        wl_egl_window_resize(o->eglWindow, bufferWidth(*o), bufferHeight(*o), 0, 0);
    }
    chooseDrawingOutput();
}

static void layerConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t w, uint32_t h)
{
    waylandoutput* o = static_cast<waylandoutput*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    if (o->eglWindow && (int)w == o->width && (int)h == o->height) return;
    o->width = w ? (int)w : 1;
    o->height = h ? (int)h : 1;
    resizeBuffers(o);
}

// A surface lost with its output can take the keyboard focus with it (sway
// gives it to no one): the saver's other surfaces ask for it again, so a key
// still ends it.
static void reclaimKeyboard()
{
    if (Wl.role != WAYLAND_SAVER) return;
    for (waylandoutput& o : Wl.outputs) {
        if (!configured(o)) continue;
        zwlr_layer_surface_v1_set_keyboard_interactivity(o.layer, 1);
        wl_surface_commit(o.surface);
    }
}

static void layerClosed(void* data, zwlr_layer_surface_v1* layer)
{
    waylandoutput* o = static_cast<waylandoutput*>(data);
    dropSurface(o);
    o->closed = 1;
    chooseDrawingOutput();
    reclaimKeyboard();
}

static const zwlr_layer_surface_v1_listener LAYER_LISTENER = {layerConfigure, layerClosed};

// ---- Fractional scale -----------------------------------------------------------------
// The buffers are made at the compositor's preferred scale with buffer scale
// 1, and the viewport shows them at the surface's logical size (setViewport).
static void preferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale)
{
    waylandoutput* o = static_cast<waylandoutput*>(data);
    if (!scale || (int)scale == o->preferred) return;
    o->preferred = (int)scale;
    if (o->eglWindow) resizeBuffers(o);
}

static const wp_fractional_scale_v1_listener FRACTIONAL_LISTENER = {preferredScale};

static void watchFractionalScale(waylandoutput* o)
{
    if (!Wl.fractionalManager || !Wl.viewporter) return;
    o->fractional = wp_fractional_scale_manager_v1_get_fractional_scale(Wl.fractionalManager, o->surface);
    wp_fractional_scale_v1_add_listener(o->fractional, &FRACTIONAL_LISTENER, o);
}

static void dropFractional(waylandoutput* o)
{
    if (o->fractional) wp_fractional_scale_v1_destroy(o->fractional);
    o->fractional = nullptr;
    o->preferred = 0;
}

// Covers the whole output, over panels too; the wallpaper takes no input.
static void makeSurface(waylandoutput* o)
{
    if (o->surface || o->closed || !Wl.windows) return;
    bool saver = Wl.role == WAYLAND_SAVER;
    o->surface = wl_compositor_create_surface(Wl.compositor);
    uint32_t layer = saver ? ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY : ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND;
    o->layer = zwlr_layer_shell_v1_get_layer_surface(Wl.layerShell, o->surface, o->output, layer, "vyr");
    zwlr_layer_surface_v1_add_listener(o->layer, &LAYER_LISTENER, o);
    zwlr_layer_surface_v1_set_size(o->layer, 0, 0);
    zwlr_layer_surface_v1_set_anchor(o->layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                   ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(o->layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(o->layer, saver ? 1 : 0);
    watchFractionalScale(o);
    if (!saver) {
        wl_region* none = wl_compositor_create_region(Wl.compositor);
        wl_surface_set_input_region(o->surface, none);
        wl_region_destroy(none);
    }
    wl_surface_commit(o->surface);  // the compositor answers with the first configure
}

static void outputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                           int32_t) {}
static void outputMode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
static void outputScale(void* data, wl_output*, int32_t factor)
{
    static_cast<waylandoutput*>(data)->scale = factor > 0 ? factor : 1;
}
// The output's description is complete: a surface for a new output, new
// buffers for a new scale.
static void outputDone(void* data, wl_output*)
{
    waylandoutput* o = static_cast<waylandoutput*>(data);
    if (!o->surface) {
        o->closed = 0;  // back on
        makeSurface(o);
    }
    else if (o->eglWindow && !o->preferred && o->scale != o->bufferScale) resizeBuffers(o);
}

static void outputText(void*, wl_output*, const char*) {}

static const wl_output_listener OUTPUT_LISTENER = {outputGeometry, outputMode, outputDone, outputScale, outputText,
                                                   outputText};

static void xdgPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y)
{
    waylandoutput* o = static_cast<waylandoutput*>(data);
    o->x = x;
    o->y = y;
}
static void xdgSize(void*, zxdg_output_v1*, int32_t, int32_t) {}
static void xdgDone(void*, zxdg_output_v1*) {}
static void xdgName(void*, zxdg_output_v1*, const char*) {}
static void xdgDescription(void*, zxdg_output_v1*, const char*) {}

static const zxdg_output_v1_listener XDG_OUTPUT_LISTENER = {xdgPosition, xdgSize, xdgDone, xdgName, xdgDescription};

static void watchPosition(waylandoutput* o)
{
    if (!Wl.xdgOutputManager || o->xdgOutput) return;
    o->xdgOutput = zxdg_output_manager_v1_get_xdg_output(Wl.xdgOutputManager, o->output);
    zxdg_output_v1_add_listener(o->xdgOutput, &XDG_OUTPUT_LISTENER, o);
}

static void addOutput(wl_registry* registry, uint32_t name, uint32_t version)
{
    for (waylandoutput& o : Wl.outputs) {
        if (o.name) continue;
        o = {};
        o.name = name;
        o.scale = 1;
        o.output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, version < 3 ? version : 3));
        wl_output_add_listener(o.output, &OUTPUT_LISTENER, &o);
        watchPosition(&o);
        return;
    }
}

static void removeOutput(uint32_t name)
{
    for (waylandoutput& o : Wl.outputs) {
        if (o.name != name) continue;
        dropSurface(&o);
        if (o.xdgOutput) zxdg_output_v1_destroy(o.xdgOutput);
        wl_output_destroy(o.output);
        o = {};
        chooseDrawingOutput();
        reclaimKeyboard();
    }
}

// ---- Frame callbacks and presentation: the mirror on the other outputs ------------
static void frameDone(void* data, wl_callback* callback, uint32_t)
{
    waylandoutput* o = static_cast<waylandoutput*>(data);
    wl_callback_destroy(callback);
    o->frame = nullptr;
}

static const wl_callback_listener FRAME_LISTENER = {frameDone};

// The buffer scaled to w x h on the output (0 x 0: unscaled).
static void setViewport(waylandoutput* o, int w, int h)
{
    if (o->preferred) w = o->width, h = o->height;  // at a fractional scale, always through the viewport
    if (w == o->viewWidth && h == o->viewHeight) return;
    if (!o->viewport) o->viewport = wp_viewporter_get_viewport(Wl.viewporter, o->surface);
    wp_viewport_set_destination(o->viewport, w ? w : -1, h ? h : -1);
    o->viewWidth = w;
    o->viewHeight = h;
}

static void askFrame(waylandoutput* o)
{
    o->frame = wl_surface_frame(o->surface);
    wl_callback_add_listener(o->frame, &FRAME_LISTENER, o);
}

// Commits the current surface's frame and asks to hear when the next is
// wanted; EGL's buffer is shown unscaled, as after a direct frame too.
static void present(waylandoutput* o)
{
    askFrame(o);
    setViewport(o, 0, 0);
    eglSwapBuffers(Wl.egl, o->eglSurface);
}

// Paints the drawn frame (in the mirror texture) on the current surface,
// centred and scaled to fit it whole.
static void paintMirror(const waylandoutput& o, int w, int h)
{
    int bw = bufferWidth(o), bh = bufferHeight(o);
    float s = (float)bw / w < (float)bh / h ? (float)bw / w : (float)bh / h;
    float x = w * s / bw, y = h * s / bh;
    glViewport(0, 0, bw, bh);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(-x, -y);
    glTexCoord2f(1, 0), glVertex2f(x, -y);
    glTexCoord2f(1, 1), glVertex2f(x, y);
    glTexCoord2f(0, 1), glVertex2f(-x, y);
    glEnd();
}

// Copies the frame just drawn (the current surface's back buffer) into the
// mirror texture and sets OpenGL up to paint it, saving what it changes.
static void beginMirror()
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (!Wl.mirror) glGenTextures(1, &Wl.mirror);
    glBindTexture(GL_TEXTURE_2D, Wl.mirror);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glReadBuffer(GL_BACK);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, Wl.drawWidth, Wl.drawHeight, 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

static void endMirror()
{
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

// The frame is drawn on the drawing output. Every other output that wants a
// frame gets it as a texture painted over its surface; the drawing output
// shows it when it wants one, else keeps it in its back buffer.
static void waylandSwapBuffers()
{
    if (Wl.drawing < 0) return;
    waylandoutput* d = &Wl.outputs[Wl.drawing];
    bool copied = false;
    for (waylandoutput& o : Wl.outputs) {
        if (&o == d || !wantsFrame(o)) continue;
        if (!copied) beginMirror();
        copied = true;
        makeCurrent(&o);
        paintMirror(o, Wl.drawWidth, Wl.drawHeight);
        present(&o);
    }
    if (copied) {
        makeCurrent(d);
        endMirror();
    }
    if (wantsFrame(*d)) present(d);
}

static bool anyWantsFrame()
{
    for (const waylandoutput& o : Wl.outputs)
        if (wantsFrame(o)) return true;
    return false;
}

// ---- Direct presentation: wl_shm buffers --------------------------------------------
// A frame composed in memory goes to every output in two wl_shm buffers of
// its own (one free while the compositor reads the other), XRGB8888 being
// the frame's blue, green, red, spare on little-endian machines. An output
// of another size gets the frame widened to its shape with black bars and
// scaled by the compositor through a viewport, as the mirror is. The
// buffers are made again only when the frame's or the output's size changes.
static void bufferReleased(void* data, wl_buffer*) { static_cast<shmbuffer*>(data)->busy = 0; }

static const wl_buffer_listener BUFFER_LISTENER = {bufferReleased};

static void dropShmBuffers(waylandoutput* o)
{
    for (shmbuffer& b : o->shm)
        if (b.buffer) wl_buffer_destroy(b.buffer);
    if (o->shmMemory) munmap(o->shmMemory, o->shmBytes);
    for (shmbuffer& b : o->shm) b = {};
    o->shmMemory = nullptr;
    o->shmWidth = o->shmHeight = o->frameWidth = o->frameHeight = 0;
}

// Both buffers in one shared-memory file; 0 when the system refuses it.
static bool makeShmBuffers(waylandoutput* o, int w, int h)
{
    size_t bytes = (size_t)w * h * 4;
    int fd = memfd_create("vyr-frame", MFD_CLOEXEC);
    if (fd < 0) return false;
    void* memory = ftruncate(fd, (off_t)(2 * bytes)) == 0
                       ? mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : MAP_FAILED;
    if (memory == MAP_FAILED) {
        close(fd);
        return false;
    }
    if (!Wl.releases) Wl.releases = wl_display_create_queue(Wl.display);
    wl_shm_pool* pool = wl_shm_create_pool(Wl.shm, fd, (int32_t)(2 * bytes));
    for (int i = 0; i < 2; i++) {
        shmbuffer& b = o->shm[i];
        b.buffer = wl_shm_pool_create_buffer(pool, (int32_t)(i * bytes), w, h, w * 4, WL_SHM_FORMAT_XRGB8888);
        b.pixels = (uint32_t*)((char*)memory + i * bytes);
        wl_buffer_add_listener(b.buffer, &BUFFER_LISTENER, &b);
        wl_proxy_set_queue((wl_proxy*)b.buffer, Wl.releases);
    }
    wl_shm_pool_destroy(pool);
    close(fd);
    o->shmMemory = memory;
    o->shmBytes = 2 * bytes;
    o->shmWidth = w;
    o->shmHeight = h;
    return true;
}

// Buffers for a frame of w x h on the output; 0 when it cannot be shown
// there without OpenGL (another size and no viewporter, no memory).
static bool prepareShmBuffers(waylandoutput* o, int w, int h)
{
    int bw = bufferWidth(*o), bh = bufferHeight(*o), s = o->bufferScale;
    int sw = w, sh = h;  // the frame widened to the output's shape, whole multiples of its scale
    if ((long long)w * bh > (long long)h * bw) sh = (int)(((long long)w * bh + bw / 2) / bw);
    else sw = (int)(((long long)h * bw + bh / 2) / bh);
    sw = (sw + s - 1) / s * s;
    sh = (sh + s - 1) / s * s;
    if (o->shmMemory && sw == o->shmWidth && sh == o->shmHeight && w == o->frameWidth && h == o->frameHeight) return true;
    if ((sw != bw || sh != bh) && !Wl.viewporter) return false;
    dropShmBuffers(o);
    if (!makeShmBuffers(o, sw, sh)) return false;
    o->frameX = (sw - w) / 2;
    o->frameY = (sh - h) / 2;
    o->frameWidth = w;
    o->frameHeight = h;
    return true;
}

static shmbuffer* freeShmBuffer(waylandoutput* o)
{
    for (shmbuffer& b : o->shm)
        if (b.buffer && !b.busy) return &b;
    return nullptr;
}

static void showShmBuffer(waylandoutput* o, shmbuffer* b)
{
    bool scaled = o->shmWidth != bufferWidth(*o) || o->shmHeight != bufferHeight(*o);
    setViewport(o, scaled ? o->width : 0, scaled ? o->height : 0);
    wl_surface_attach(o->surface, b->buffer, 0, 0);
    if (wl_surface_get_version(o->surface) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION)
        wl_surface_damage_buffer(o->surface, 0, 0, o->shmWidth, o->shmHeight);
    else
        wl_surface_damage(o->surface, 0, 0, INT32_MAX, INT32_MAX);
    askFrame(o);
    wl_surface_commit(o->surface);
    b->busy = 1;
}

static void connectionLost();

// Takes in the releases the compositor has sent, and waits for those on
// their way where an output that wants a frame has no free buffer.
static void readReleases()
{
    if (!Wl.releases) return;
    if (wl_display_dispatch_queue_pending(Wl.display, Wl.releases) < 0) connectionLost();
    for (waylandoutput& o : Wl.outputs)
        if (wantsFrame(o) && o.shmMemory && !freeShmBuffer(&o)) {
            if (wl_display_roundtrip_queue(Wl.display, Wl.releases) < 0) connectionLost();
            return;
        }
}

// The frame to every output that wants one, or to none (0: through OpenGL).
// An output whose buffers are both still read skips this frame and keeps
// wanting the next.
static int waylandPresentPixels(const unsigned char* pixels, int width, int height, int stride)
{
    if (!Wl.shm || Wl.drawing < 0) return 0;
    readReleases();
    for (waylandoutput& o : Wl.outputs)
        if (configured(o) && !prepareShmBuffers(&o, width, height)) return 0;
    for (waylandoutput& o : Wl.outputs) {
        shmbuffer* b = wantsFrame(o) ? freeShmBuffer(&o) : nullptr;
        if (!b) continue;
        for (int y = 0; y < height; y++)
            memcpy(b->pixels + (size_t)(o.frameY + y) * o.shmWidth + o.frameX, pixels + (size_t)y * stride,
                   (size_t)width * 4);
        showShmBuffer(&o, b);
    }
    return 1;
}

// ---- Input (the saver only) ------------------------------------------------------------
// Pointer positions in the compositor's layout, so that travel across
// outputs counts as travel.
static int PointerX, PointerY;

static void reportPointer(wl_fixed_t sx, wl_fixed_t sy)
{
    int ox = Wl.pointerOutput ? Wl.pointerOutput->x : 0, oy = Wl.pointerOutput ? Wl.pointerOutput->y : 0;
    PointerX = ox + wl_fixed_to_int(sx);
    PointerY = oy + wl_fixed_to_int(sy);
    WindowEvents.pointerMoved(PointerX, PointerY);
}

static void pointerEnter(void*, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t sx, wl_fixed_t sy)
{
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);  // no cursor over the saver
    for (waylandoutput& o : Wl.outputs)
        if (o.surface == surface) Wl.pointerOutput = &o;
    reportPointer(sx, sy);
}
static void pointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {}
static void pointerMotion(void*, wl_pointer*, uint32_t, wl_fixed_t sx, wl_fixed_t sy) { reportPointer(sx, sy); }
static void pointerButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state)
{
    if (state != WL_POINTER_BUTTON_STATE_PRESSED) return;
    int glutButton = button == BTN_RIGHT ? GLUT_RIGHT_BUTTON : button == BTN_MIDDLE ? GLUT_MIDDLE_BUTTON : GLUT_LEFT_BUTTON;
    WindowEvents.mouseButton(glutButton, GLUT_DOWN, PointerX, PointerY);
}
static void pointerAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
static void pointerFrame(void*, wl_pointer*) {}
static void pointerAxisSource(void*, wl_pointer*, uint32_t) {}
static void pointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
static void pointerAxisStep(void*, wl_pointer*, uint32_t, int32_t) {}

static const wl_pointer_listener POINTER_LISTENER = {pointerEnter,  pointerLeave,      pointerMotion,
                                                     pointerButton, pointerAxis,       pointerFrame,
                                                     pointerAxisSource, pointerAxisStop, pointerAxisStep,
                                                     pointerAxisStep};

static void keyboardKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }
static void keyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
static void keyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
// Any key ends the saver; Escape is told apart, the rest need no meaning.
static void keyboardKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state)
{
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED) return;
    WindowEvents.key(key == KEY_ESC ? 27 : ' ', PointerX, PointerY);
}
static void keyboardModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
static void keyboardRepeat(void*, wl_keyboard*, int32_t, int32_t) {}

static const wl_keyboard_listener KEYBOARD_LISTENER = {keyboardKeymap, keyboardEnter, keyboardLeave,
                                                       keyboardKey,    keyboardModifiers, keyboardRepeat};

// A device that comes (a virtual keyboard, a pointer plugged in) is asked
// for; one that goes is let go, so that the next one reports again.
static void seatCapabilities(void*, wl_seat* seat, uint32_t caps)
{
    if ((caps & WL_SEAT_CAPABILITY_POINTER) && !Wl.pointer) {
        Wl.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(Wl.pointer, &POINTER_LISTENER, nullptr);
    } else if (!(caps & WL_SEAT_CAPABILITY_POINTER) && Wl.pointer) {
        wl_pointer_release(Wl.pointer);
        Wl.pointer = nullptr;
    }
    if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !Wl.keyboard) {
        Wl.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(Wl.keyboard, &KEYBOARD_LISTENER, nullptr);
    } else if (!(caps & WL_SEAT_CAPABILITY_KEYBOARD) && Wl.keyboard) {
        wl_keyboard_release(Wl.keyboard);
        Wl.keyboard = nullptr;
    }
}
static void seatName(void*, wl_seat*, const char*) {}

static const wl_seat_listener SEAT_LISTENER = {seatCapabilities, seatName};

// ---- Registry -------------------------------------------------------------------------------
static void* bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t version,
                  uint32_t highest)
{
    return wl_registry_bind(registry, name, interface, version < highest ? version : highest);
}

static void registryGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (strcmp(interface, wl_compositor_interface.name) == 0) {
        Wl.compositor = static_cast<wl_compositor*>(bind(registry, name, &wl_compositor_interface, version, 4));
    } else if (strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        Wl.layerShell = static_cast<zwlr_layer_shell_v1*>(bind(registry, name, &zwlr_layer_shell_v1_interface, version, 4));
    } else if (strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        Wl.xdgOutputManager =
            static_cast<zxdg_output_manager_v1*>(bind(registry, name, &zxdg_output_manager_v1_interface, version, 3));
        for (waylandoutput& o : Wl.outputs)
            if (o.name) watchPosition(&o);
    } else if (strcmp(interface, wp_fractional_scale_manager_v1_interface.name) == 0) {
        Wl.fractionalManager = static_cast<wp_fractional_scale_manager_v1*>(
            bind(registry, name, &wp_fractional_scale_manager_v1_interface, version, 1));
    } else if (strcmp(interface, wl_shm_interface.name) == 0) {
        Wl.shm = static_cast<wl_shm*>(bind(registry, name, &wl_shm_interface, version, 1));
    } else if (strcmp(interface, wp_viewporter_interface.name) == 0) {
        Wl.viewporter = static_cast<wp_viewporter*>(bind(registry, name, &wp_viewporter_interface, version, 1));
    } else if (strcmp(interface, wl_output_interface.name) == 0) {
        addOutput(registry, name, version);
    } else if (strcmp(interface, wl_seat_interface.name) == 0 && Wl.role == WAYLAND_SAVER && !Wl.seat) {
        Wl.seat = static_cast<wl_seat*>(bind(registry, name, &wl_seat_interface, version, 5));
        wl_seat_add_listener(Wl.seat, &SEAT_LISTENER, nullptr);
    }
}

static void registryGlobalRemove(void*, wl_registry*, uint32_t name) { removeOutput(name); }

static const wl_registry_listener REGISTRY_LISTENER = {registryGlobal, registryGlobalRemove};

// ---- Window seam and main loop --------------------------------------------------------
// The compositor went away: the run is over.
static void connectionLost()
{
    fflush(stdout);
    _exit(0);
}

static void roundtrip()
{
    if (wl_display_roundtrip(Wl.display) < 0) connectionLost();
}

// Surfaces on every output, and the first configure of each; reported as one
// window covering the screen, double-buffered, without multisampling.
static void waylandCreateWindow(const windowrequest* request)
{
    if (Wl.windows) return;
    Wl.windows = 1;
    for (waylandoutput& o : Wl.outputs)
        if (o.name) makeSurface(&o);
    roundtrip();
    Wl.drawWidth = Wl.drawHeight = Wl.drawScale = 0;
    chooseDrawingOutput();
    windowmade made = {1, 0, request->fullScreen, request->doubleBuffered, 0, 0, 0};
    WindowState.contextGeneration++;  // the program's textures start afresh
    WindowEvents.created(&made);
    if (Wl.drawing >= 0) WindowEvents.resized(Wl.drawWidth, Wl.drawHeight);
}

static void waylandDestroyWindow()
{
    for (waylandoutput& o : Wl.outputs) dropSurface(&o);
    Wl.windows = 0;
    Wl.drawing = -1;
}

static void waylandPostRedisplay() { Wl.redisplay = 1; }
static void waylandSetWindowTitle(const char*) {}

static void reportShown(int shown)
{
    if (shown == Wl.shown) return;
    Wl.shown = shown;
    WindowEvents.shown(shown);
}

// Sleeps until the compositor sends something; when no output has asked for
// a frame for a while, the picture counts as hidden and the wait has no end.
static void waitForEvents()
{
    while (wl_display_prepare_read(Wl.display) != 0) wl_display_dispatch_pending(Wl.display);
    if (wl_display_flush(Wl.display) < 0) connectionLost();
    pollfd p = {wl_display_get_fd(Wl.display), POLLIN, 0};
    auto asleep = std::chrono::steady_clock::now();
    int ready = poll(&p, 1, Wl.shown ? HIDDEN_AFTER_MS : -1);
    WindowState.compositorWait += std::chrono::duration<double>(std::chrono::steady_clock::now() - asleep).count();
    if (ready > 0) {
        if (wl_display_read_events(Wl.display) < 0) connectionLost();
    } else {
        wl_display_cancel_read(Wl.display);
        if (ready == 0) reportShown(0);
    }
    if (wl_display_dispatch_pending(Wl.display) < 0) connectionLost();
}

static void waylandMainLoop()
{
    while (true) {
        if (wl_display_dispatch_pending(Wl.display) < 0) connectionLost();
        if (Wl.drawing < 0 || !anyWantsFrame()) {
            waitForEvents();
            continue;
        }
        reportShown(1);
        WindowEvents.idle();
        if (Wl.redisplay) {
            Wl.redisplay = 0;
            makeCurrent(&Wl.outputs[Wl.drawing]);
            WindowEvents.display();
        }
        if (wl_display_flush(Wl.display) < 0) connectionLost();
    }
}

// ---- openWayland, WAYLAND_PLATFORM ----------------------------------------------
// An RGB window config for desktop OpenGL; one that keeps the back buffer
// across a swap where the driver offers it (the fade of the single-buffer
// motion blur works on what the window holds).
static bool chooseConfig(bool preserved)
{
    EGLint attributes[] = {
        EGL_SURFACE_TYPE,    EGL_WINDOW_BIT | (preserved ? EGL_SWAP_BEHAVIOR_PRESERVED_BIT : 0),
        EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE,        8,
        EGL_GREEN_SIZE,      8,
        EGL_BLUE_SIZE,       8,
        EGL_NONE,
    };
    EGLint count = 0;
    if (!eglChooseConfig(Wl.egl, attributes, &Wl.config, 1, &count) || count < 1) return false;
    Wl.preserved = preserved;
    return true;
}

static bool startEgl()
{
    Wl.egl = eglGetDisplay((EGLNativeDisplayType)Wl.display);
    if (Wl.egl == EGL_NO_DISPLAY || !eglInitialize(Wl.egl, nullptr, nullptr)) return false;
    if (!eglBindAPI(EGL_OPENGL_API)) return false;  // Mesa gives a compatibility context: OpenGL 1.1 runs as it is
    if (!chooseConfig(true) && !chooseConfig(false)) return false;
    Wl.context = eglCreateContext(Wl.egl, Wl.config, EGL_NO_CONTEXT, nullptr);
    return Wl.context != EGL_NO_CONTEXT;
}

static int fail(const char* what, char* missing, int size)
{
    snprintf(missing, (size_t)size, "%s", what);
    if (Wl.egl != EGL_NO_DISPLAY && Wl.egl) eglTerminate(Wl.egl);
    if (Wl.display) wl_display_disconnect(Wl.display);
    Wl = {};
    return 0;
}

int openWayland(int role, char* missing, int size)
{
    Wl = {};
    Wl.role = role;
    Wl.drawing = -1;
    Wl.shown = 1;  // as the program assumes until told otherwise
    Wl.display = wl_display_connect(nullptr);
    if (!Wl.display) return fail("Cannot connect to the Wayland compositor (WAYLAND_DISPLAY).", missing, size);
    Wl.registry = wl_display_get_registry(Wl.display);
    wl_registry_add_listener(Wl.registry, &REGISTRY_LISTENER, nullptr);
    wl_display_roundtrip(Wl.display);  // the globals
    wl_display_roundtrip(Wl.display);  // the outputs' descriptions
    if (!Wl.compositor) return fail("The Wayland compositor offers no wl_compositor.", missing, size);
    if (!Wl.layerShell)
        return fail("The Wayland compositor offers no layer-shell (zwlr_layer_shell_v1).", missing, size);
    if (!startEgl()) return fail("No OpenGL through EGL on this Wayland display.", missing, size);
    return 1;
}

// Input goes straight to the window events (the saver's ends), and the menu
// never shows: no modifiers, no pointer position, no menu text. Frames drawn
// by OpenGL are copied from there to the other outputs; frames composed in
// memory go to every output in wl_shm buffers.
const platform WAYLAND_PLATFORM = windowSeamPlatform(waylandCreateWindow, waylandDestroyWindow, waylandMainLoop,
                                                     waylandPostRedisplay, waylandSwapBuffers, waylandPresentPixels,
                                                     waylandSetWindowTitle);
