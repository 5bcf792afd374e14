// Frames composed in memory. A software OpenGL spends far more per smooth
// point (set-up, binning) and per full-window copy than the pixels need;
// here the frame is kept in memory in the window system's layout, faded,
// summed and splatted by the two threads on interleaved bands of rows (so
// that every pixel sees its points in buffer order, as OpenGL blends them),
// and handed to the window system, or uploaded into textures and drawn as
// quads. The arithmetic is in splatbody.h.
//
// Index
//   - Presentation choice and its trial
//   - Buffers
//   - Composition: the bands of both threads
//   - Presentation: direct, or upload and quads in tiles
//   - composeMemoryFrame, presentMemoryFrame, adoptWindowFrame
#include "render/memframe.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/numeric.h"
#include "render/bandthread.h"
#include "engine/attractor.h"
#include "menu/menu.h"
#include "render/rendering.h"
#include "render/splat.h"
#include "render/texture.h"
#include "core/platform.h"
#include "core/appdata.h"
#include "core/windowstate.h"

memorysplit MemorySplit = {0, 0, 0};

// ---- Presentation choice and its trial ----
// Once the frames are composed in memory, PRESENT_TRIAL_FRAMES frames without
// the menu are presented through OpenGL, then as many directly, each timed
// from the start of its presentation to the start of the next frame (the
// swap and the rest of the loop included, the same for both, but not the
// wait for a compositor that paces the frames); the first of each run is
// left out. Direct stays unless its least time is above DIRECT_SLOWER_LIMIT
// times OpenGL's, or the window system refuses it. The least, since another
// process taking the processor only ever adds to a frame's time, and the
// two ways' costs are close enough for that to decide otherwise.
constexpr int PRESENT_TRIAL_FRAMES = 5;
constexpr double DIRECT_SLOWER_LIMIT = 1.25;

int PresentOption = PRESENT_AUTO;

struct presentchoice {
    int settled;     // PRESENT_GL or PRESENT_DIRECT once chosen; PRESENT_AUTO while trying
    int frame;       // trial frames measured so far
    int way;         // the way of the frame being timed; 0 when none is
    double start;    // when its presentation began, seconds
    double waited;   // WindowState.compositorWait then
    double times[2][PRESENT_TRIAL_FRAMES];  // OpenGL's and direct's
    int refused;     // the window system declined a direct frame
};

static presentchoice Present = {PRESENT_AUTO, 0, 0, 0, 0, {}, 0};

static int presentWay()
{
    if (Present.refused) return PRESENT_GL;
    if (PresentOption != PRESENT_AUTO) return PresentOption;
    if (Present.settled != PRESENT_AUTO) return Present.settled;
    return Present.frame < PRESENT_TRIAL_FRAMES ? PRESENT_GL : PRESENT_DIRECT;
}

static void closePresentTrialFrame(double now)
{
    if (!Present.way) return;
    int f = Present.frame++;
    double paced = WindowState.compositorWait - Present.waited;
    Present.times[f / PRESENT_TRIAL_FRAMES][f % PRESENT_TRIAL_FRAMES] = now - Present.start - paced;
    Present.way = 0;
    if (Present.frame < 2 * PRESENT_TRIAL_FRAMES) return;
    double gl = leastTrialTime(Present.times[0], PRESENT_TRIAL_FRAMES);
    double direct = leastTrialTime(Present.times[1], PRESENT_TRIAL_FRAMES);
    Present.settled = direct > DIRECT_SLOWER_LIMIT * gl ? PRESENT_GL : PRESENT_DIRECT;
}

// Times a frame of the trial (not one with the menu on top) from the start of
// its presentation, when the compositor's wait had reached waited.
static void openPresentTrialFrame(int way, double start, double waited)
{
    if (PresentOption != PRESENT_AUTO || Present.settled != PRESENT_AUTO || Present.refused) return;
    Present.way = way;
    Present.start = start;
    Present.waited = waited;
}

presentationstate Presentation = {0, {}};

const char* presentationName() { return Presentation.direct ? "direct" : "OpenGL"; }

// ---- Buffers ----
// The frame and the pass image of the multi-pass filter, 32-bit pixels in
// the window system's layout (blue, green, red, spare; top row first): named
// buffers, allocated again only when the window's size changes (or a new
// window starts from black). Exactly the window's size.
struct memoryframe {
    uint32_t* pixels;  // the frame being composed; the last finished one between frames
    uint32_t* pass;    // one pass alone; black wherever no pass is being drawn
    int width, height;
    int fresh;         // a new context: the frame starts from black, the textures are to be made
};

static memoryframe Frame = {nullptr, nullptr, 0, 0, 1};

// The points sorted into bands: bins[thread][band], each with the end of
// every segment (one picture of one pass), in drawing order.
constexpr int SEGMENT_LIMIT = 6 * MONITOR_LIMIT;  // passes x pictures

struct pointbins {
    splatbin bins[BAND_LIMIT][BAND_LIMIT];
    int ends[BAND_LIMIT][BAND_LIMIT][SEGMENT_LIMIT];
    int capacity;  // entries each bin holds
};

static pointbins Bins = {};
static discspans Spans[MONITOR_LIMIT] = {};  // each picture's disc size

static void prepareBuffers()
{
    int w = ApplicationData.width, h = ApplicationData.height;
    if (w == Frame.width && h == Frame.height && !Frame.fresh && Frame.pixels) return;
    size_t bytes = (size_t)w * h * 4;
    free(Frame.pixels);
    free(Frame.pass);
    Frame.pixels = (uint32_t*)calloc(bytes, 1);
    Frame.pass = (uint32_t*)calloc(bytes, 1);
    if (!Frame.pixels || !Frame.pass) allocationFailed();
    Frame.width = w;
    Frame.height = h;
    Frame.fresh = 0;
}

// Room for every point of the frame in each bin, once per picture (a
// thread's share of each pass rounds up by at most one).
static void prepareBins(int points, int pictures, int threads)
{
    int64_t need = ((int64_t)points / threads + SEGMENT_LIMIT) * pictures;
    if (need <= Bins.capacity) return;
    for (auto& row : Bins.bins)
        for (splatbin& b : row) {
            free(b.entries);
            b.entries = (splatentry*)malloc(sizeof(splatentry) * need);
            if (!b.entries) allocationFailed();
        }
    Bins.capacity = (int)need;
}

// ---- Composition ----
// One frame's orders, the same for both threads. The frame is composed in
// two phases with a meeting between: each thread fades its band's rows and
// sorts its half of the points into bands; then each draws the points of
// its band from both halves, the first half first.
struct composition {
    splatjob points;      // all of the frame's points
    int passes;           // 1, or N of the multi-pass filter
    int pictures;         // pictureCount()
    int fadeStep;         // steps every channel loses before the fade
    channelscale fade;    // the trails' fade
    channelscale weight;  // a pass's weight in the sum
    int bands;            // threads sharing the rows
    int phase;            // 0: fade and sort, 1: draw
};

static composition Job;

static double BandZeroTimes[2];  // the caller's fade and splat seconds

static void fadeBand(int band)
{
    for (int y = band * BAND_ROWS; y < Frame.height; y += Job.bands * BAND_ROWS)
        fadeRows(Frame.pixels, Frame.width, y, y + BAND_ROWS < Frame.height ? y + BAND_ROWS : Frame.height,
                 Job.fadeStep, Job.fade);
}

// Rows of the box that belong to the band, one run of rows at a time.
static void passRows(int band, pixelbox box, void (*rows)(pixelbox))
{
    for (int y = band * BAND_ROWS; y < box.y1; y += Job.bands * BAND_ROWS) {
        int y0 = y > box.y0 ? y : box.y0, y1 = y + BAND_ROWS < box.y1 ? y + BAND_ROWS : box.y1;
        if (y0 < y1) rows({box.x0, y0, box.x1, y1});
    }
}

static void addPassRows(pixelbox b) { addScaledRows(Frame.pixels, Frame.pass, Frame.width, b.x0, b.x1, b.y0, b.y1, Job.weight); }

static void clearPassRows(pixelbox b)
{
    for (int y = b.y0; y < b.y1; y++) memset(Frame.pass + (size_t)y * Frame.width + b.x0, 0, (size_t)(b.x1 - b.x0) * 4);
}

// Pass p's points, or the part of them that thread t sorts, for picture i.
static splatjob segmentJob(int p, int i, int t, int threads)
{
    splatjob job = Job.points;
    int64_t n = Job.points.count;
    int first = int(n * p / Job.passes), last = int(n * (p + 1) / Job.passes);
    job.first = first + int(int64_t(last - first) * t / threads);
    job.count = first + int(int64_t(last - first) * (t + 1) / threads) - job.first;
    pixelrect r = pictureRect(i);
    job.pictureX = r.x;
    job.pictureY = r.y;
    job.pictureWidth = r.width;
    job.pictureHeight = r.height;
    job.size = picturePointSize(i);
    return job;
}

// Phase 0 of thread t: its band faded, its share of every segment sorted.
static void sortShare(int t)
{
    for (int b = 0; b < Job.bands; b++) Bins.bins[t][b].count = 0;
    for (int p = 0; p < Job.passes; p++)
        for (int i = 0; i < Job.pictures; i++) {
            binPoints(Bins.bins[t], segmentJob(p, i, t, Job.bands), Spans[i], Job.bands);
            for (int b = 0; b < Job.bands; b++) Bins.ends[t][b][p * Job.pictures + i] = Bins.bins[t][b].count;
        }
}

// Pass p drawn into the band's rows of image: every picture, both threads'
// shares in turn; returns the box drawn when box is set.
static pixelbox splatPass(uint32_t* image, int p, int band, int box)
{
    pixelbox all = {Frame.width, Frame.height, 0, 0};
    for (int i = 0; i < Job.pictures; i++) {
        int s = p * Job.pictures + i;
        splatjob job = segmentJob(p, i, 0, 1);
        for (int t = 0; t < Job.bands; t++) {
            const splatbin& bin = Bins.bins[t][band];
            int begin = s ? Bins.ends[t][band][s - 1] : 0, end = Bins.ends[t][band][s];
            pixelbox b = splatBin(image, job, Spans[i], bin.entries + begin, end - begin, band, Job.bands, box);
            if (b.x0 >= b.x1) continue;
            if (b.x0 < all.x0) all.x0 = b.x0;
            if (b.y0 < all.y0) all.y0 = b.y0;
            if (b.x1 > all.x1) all.x1 = b.x1;
            if (b.y1 > all.y1) all.y1 = b.y1;
        }
    }
    return all;
}

static void composeBand(int band)
{
    double t0 = seconds();
    if (Job.phase == 0) {
        fadeBand(band);
        double t1 = seconds();
        sortShare(band);
        if (band == 0) BandZeroTimes[0] = t1 - t0, BandZeroTimes[1] = seconds() - t1;
        return;
    }
    double fadeTime = 0, splatTime = 0;
    if (Job.passes == 1) splatPass(Frame.pixels, 0, band, 0);
    splatTime = seconds() - t0;
    for (int p = 0; p < Job.passes && Job.passes > 1; p++) {
        double s = seconds();
        pixelbox box = splatPass(Frame.pass, p, band, 1);
        double e = seconds();
        passRows(band, box, addPassRows);
        passRows(band, box, clearPassRows);
        splatTime += e - s;
        fadeTime += seconds() - e;
    }
    if (band == 0) BandZeroTimes[0] += fadeTime, BandZeroTimes[1] += splatTime;
}

static void composeSecondBand() { composeBand(1); }

// The fade as a software OpenGL draws it once it has seen the window keep
// its frame: a blended black rectangle.
static void prepareJob()
{
    applicationdata& s = ApplicationData;
    int n = s.motionBlur >= 2 ? s.motionBlur : 1;
    // The picture and the point size are set per monitor by segmentJob.
    Job.points = {.points = s.points,
                  .first = 0,
                  .count = s.points ? s.pointCount : 0,
                  .width = Frame.width,
                  .height = Frame.height,
                  .pictureX = 0,
                  .pictureY = 0,
                  .pictureWidth = Frame.width,
                  .pictureHeight = Frame.height,
                  .size = s.pointSize,
                  .rounded = s.roundedPoints,
                  .blendMethod = s.blendMethod};
    Job.passes = n;
    Job.pictures = pictureCount();
    Job.fadeStep = RenderOptions.fadeToBlack ? 1 : 0;
    Job.fade = blendFactor(fadeAlphaByte(s.attenuation));
    Job.weight = modulation(s.blendMethod <= 1 ? s.alpha : s.attenuation / float(n));
    static int threads = startBandThread(composeSecondBand) ? 2 : 1;
    Job.bands = threads;
    for (int i = 0; i < Job.pictures; i++)
        if (s.roundedPoints) prepareDiscSpans(&Spans[i], picturePointSize(i));
    prepareBins(Job.points.count, Job.pictures, Job.bands);
}

static void runPhase(int phase)
{
    Job.phase = phase;
    if (Job.bands > 1) runBandThread();
    composeBand(0);
    if (Job.bands > 1) waitBandThread();
}

static void compose()
{
    splatKernelName();  // the variant is chosen here, before both threads use it
    prepareJob();
    runPhase(0);
    runPhase(1);
    MemorySplit.fadeSeconds = BandZeroTimes[0];
    MemorySplit.splatSeconds = BandZeroTimes[1];
}

// ---- Presentation ----
// Through OpenGL: the frame uploaded into a texture of at most the largest
// size OpenGL takes, one tile of the window at a time, each drawn as a quad
// without blending in a viewport of its own (rows flipped: the frame's run
// from the top). Storage is exactly the tile's size where OpenGL takes any
// size.
#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

struct frametiles {
    unsigned int id;    // texture name; TEXTURE_NONE while there is none
    int width, height;  // its storage
    int limit;          // largest side OpenGL takes; 0 until asked
    int anySize;        // storage need not be a power of two
};

static frametiles Tiles = {TEXTURE_NONE, 0, 0, 0, 0};

static int storageSide(int n) { return Tiles.anySize ? n : nextPowerOfTwo(n); }

static void askLimits()
{
    if (Tiles.limit) return;
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    Tiles.limit = size >= 64 ? size : 64;
    const char* version = (const char*)glGetString(GL_VERSION);
    const char* extensions = (const char*)glGetString(GL_EXTENSIONS);
    Tiles.anySize = (version && version[0] >= '2' && version[1] == '.') ||
                    (extensions && strstr(extensions, "GL_ARB_texture_non_power_of_two"));
    if (!Tiles.anySize)  // the largest power of two within the limit
        for (Tiles.limit = 64; Tiles.limit * 2 <= size;) Tiles.limit *= 2;
}

static void bindTileTexture(int w, int h)
{
    if (Tiles.id == TEXTURE_NONE) glGenTextures(1, &Tiles.id);
    glBindTexture(GL_TEXTURE_2D, Tiles.id);
    int sw = storageSide(w), sh = storageSide(h);
    if (sw == Tiles.width && sh == Tiles.height) return;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, sw, sh, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    Tiles.width = sw;
    Tiles.height = sh;
}

// The tile of the frame from column x, row y (top first), w x h pixels.
static void drawTile(int x, int y, int w, int h)
{
    glPixelStorei(GL_UNPACK_ROW_LENGTH, Frame.width);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, x);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, y);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, Frame.pixels);
    glViewport(x, Frame.height - y - h, w, h);
    float s = float(w) / Tiles.width, t = float(h) / Tiles.height;
    glBegin(GL_QUADS);  // texture row 0 is the tile's top
    glTexCoord2f(0, t);
    glVertex2f(-1, -1);
    glTexCoord2f(s, t);
    glVertex2f(1, -1);
    glTexCoord2f(s, 0);
    glVertex2f(1, 1);
    glTexCoord2f(0, 0);
    glVertex2f(-1, 1);
    glEnd();
}

static void presentThroughGL()
{
    askLimits();
    int tw = Frame.width < Tiles.limit ? Frame.width : Tiles.limit;
    int th = Frame.height < Tiles.limit ? Frame.height : Tiles.limit;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_BLEND);
    glColor3f(1, 1, 1);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    bindTileTexture(tw, th);
    for (int y = 0; y < Frame.height; y += th)
        for (int x = 0; x < Frame.width; x += tw)
            drawTile(x, y, Frame.width - x < tw ? Frame.width - x : tw, Frame.height - y < th ? Frame.height - y : th);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}

// Directly: the frame handed to the window system as it is.
static int presentDirectly()
{
    return Platform.presentPixels((const unsigned char*)Frame.pixels, Frame.width, Frame.height, Frame.width * 4);
}

// ---- composeMemoryFrame, presentMemoryFrame, adoptWindowFrame ----
void memoryFrameContextChanged()
{
    Present = {PRESENT_AUTO, 0, 0, 0, 0, {}, 0};
    Frame.fresh = 1;
    Tiles = {TEXTURE_NONE, 0, 0, 0, 0};  // the old texture went with its context
}

void composeMemoryFrame()
{
    closePresentTrialFrame(seconds());  // the last memory frame's presentation, swap and step
    prepareBuffers();
    compose();
}

int presentMemoryFrame()
{
    double t0 = seconds(), waited = WindowState.compositorWait;
    int way = presentWay();
    bool menuShown = ApplicationData.currentMenu && ApplicationData.currentMenu->visible;
    int direct = 0;
    if (way == PRESENT_DIRECT && !menuShown) {
        direct = presentDirectly();
        if (!direct) Present.refused = 1;  // and OpenGL from now on
    }
    if (!direct) presentThroughGL();
    if (!menuShown) openPresentTrialFrame(direct ? PRESENT_DIRECT : PRESENT_GL, t0, waited);
    int directNow = presentWay() == PRESENT_DIRECT;  // the way of frames without the menu
    bool changed = directNow != Presentation.direct || !Presentation.text[0];
    Presentation.direct = directNow;
    if (changed) snprintf(Presentation.text, sizeof Presentation.text, "Presentation : %s", presentationName());
    MemorySplit.uploadSeconds = seconds() - t0;
    return direct;
}

// The window's picture read back (bottom row first) and turned upright.
void adoptWindowFrame()
{
    prepareBuffers();
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, Frame.width, Frame.height, GL_BGRA, GL_UNSIGNED_BYTE, Frame.pass);
    glPopClientAttrib();
    size_t row = (size_t)Frame.width;
    for (int y = 0; y < Frame.height; y++)
        memcpy(Frame.pixels + (Frame.height - 1 - y) * row, Frame.pass + y * row, row * 4);
    memset(Frame.pass, 0, row * Frame.height * 4);  // the pass image starts black
}
