// Frames composed in memory. A software OpenGL spends far more per smooth
// point (set-up, binning) and per full-window copy than the pixels need;
// here the frame is kept in memory, faded, summed and splatted by the two
// threads on interleaved bands of rows (so that every pixel sees its points
// in buffer order, as OpenGL blends them), uploaded into a texture and
// drawn as one quad. The arithmetic is in splatbody.h.
//
// Index
//   - Buffers
//   - Composition: the bands of both threads
//   - Presentation: upload and quad
//   - composeMemoryFrame, presentMemoryFrame, adoptWindowFrame
#include "render/memframe.h"

#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "render/bandthread.h"
#include "engine/attractor.h"
#include "render/rendering.h"
#include "render/splat.h"
#include "render/texture.h"
#include "core/platform.h"
#include "core/appdata.h"
#include "core/windowstate.h"

memorysplit MemorySplit = {0, 0, 0};

static double seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// ---- Buffers ----
// The frame and the pass image of the multi-pass filter, RGBA bytes, bottom
// row first: named buffers, allocated again only when the window's size
// changes (or a new window starts from black).
struct memoryframe {
    uint32_t* pixels;  // the frame being composed; the last finished one between frames
    uint32_t* pass;    // one pass alone; black wherever no pass is being drawn
    int width, height;
    int fresh;         // a new context: the frame starts from black, the texture is to be made
    texture image;     // the finished frame for OpenGL; empty until made in this context
};

static memoryframe Frame = {nullptr, nullptr, 0, 0, 1, EMPTY_TEXTURE};

void memoryFrameContextChanged()
{
    Frame.fresh = 1;
    Frame.image = EMPTY_TEXTURE;  // the old one went with its context
}

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

// ---- Composition ----
// One frame's orders, the same for both threads.
struct composition {
    splatjob points;      // all of the frame's points
    int passes;           // 1, or N of the multi-pass filter
    int fadeStep;         // steps every channel loses before the fade
    channelscale fade;    // the trails' fade
    channelscale weight;  // a pass's weight in the sum
    int bands;            // threads sharing the rows
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

// The job's points drawn once per picture (one per monitor), as OpenGL
// draws them in a viewport each; returns the box drawn over all of them.
static pixelbox splatPictures(uint32_t* image, splatjob job, int band)
{
    pixelbox box = {job.width, job.height, 0, 0};
    for (int i = 0; i < pictureCount(); i++) {
        pixelrect r = pictureRect(i);
        job.pictureX = r.x;
        job.pictureY = r.y;
        job.pictureWidth = r.width;
        job.pictureHeight = r.height;
        job.size = picturePointSize(i);
        pixelbox b = splatPoints(image, job, band, Job.bands);
        if (b.x0 >= b.x1) continue;
        if (b.x0 < box.x0) box.x0 = b.x0;
        if (b.y0 < box.y0) box.y0 = b.y0;
        if (b.x1 > box.x1) box.x1 = b.x1;
        if (b.y1 > box.y1) box.y1 = b.y1;
    }
    return box;
}

static void composeBand(int band)
{
    double t0 = seconds();
    fadeBand(band);
    double t1 = seconds(), fadeTime = t1 - t0, splatTime = 0;
    if (Job.passes == 1) {
        splatPictures(Frame.pixels, Job.points, band);
        splatTime = seconds() - t1;
    }
    for (int i = 0; i < Job.passes && Job.passes > 1; i++) {
        splatjob pass = Job.points;
        pass.first = int(int64_t(Job.points.count) * i / Job.passes);
        pass.count = int(int64_t(Job.points.count) * (i + 1) / Job.passes) - pass.first;
        double s = seconds();
        pixelbox box = splatPictures(Frame.pass, pass, band);
        double e = seconds();
        passRows(band, box, addPassRows);
        passRows(band, box, clearPassRows);
        splatTime += e - s;
        fadeTime += seconds() - e;
    }
    if (band == 0) BandZeroTimes[0] = fadeTime, BandZeroTimes[1] = splatTime;
}

static void composeSecondBand() { composeBand(1); }

// The fade as a software OpenGL draws it once it has seen the window keep
// its frame: a blended black rectangle.
static void prepareJob()
{
    applicationdata& s = ApplicationData;
    int n = s.motionBlur >= 2 ? s.motionBlur : 1;
    // The picture and the point size are set per monitor by splatPictures.
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
    Job.fadeStep = RenderOptions.fadeToBlack ? 1 : 0;
    Job.fade = blendFactor(fadeAlphaByte(s.attenuation));
    Job.weight = modulation(s.blendMethod <= 1 ? s.alpha : s.attenuation / float(n));
    static int threads = startBandThread(composeSecondBand) ? 2 : 1;
    Job.bands = threads;
}

static void compose()
{
    splatKernelName();  // the variant is chosen here, before both threads use it
    prepareJob();
    if (Job.bands > 1) runBandThread();
    composeBand(0);
    if (Job.bands > 1) waitBandThread();
    MemorySplit.fadeSeconds = BandZeroTimes[0];
    MemorySplit.splatSeconds = BandZeroTimes[1];
}

// ---- Presentation ----
// One upload of the finished frame, drawn as one quad without blending.
static void present()
{
    double t0 = seconds();
    uploadTexture(&Frame.image, Frame.pixels);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_BLEND);
    glColor3f(1, 1, 1);
    paintTexture(&Frame.image);
    glPopAttrib();
    MemorySplit.uploadSeconds = seconds() - t0;
}

// ---- composeMemoryFrame, presentMemoryFrame, adoptWindowFrame ----
void composeMemoryFrame()
{
    prepareBuffers();
    compose();
}

void presentMemoryFrame() { present(); }

void adoptWindowFrame()
{
    prepareBuffers();
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, Frame.width, Frame.height, GL_RGBA, GL_UNSIGNED_BYTE, Frame.pixels);
    glPopClientAttrib();
}
