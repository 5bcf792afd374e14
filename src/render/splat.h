// The arithmetic of a frame composed in memory: the fade, the multi-pass
// sum and the points as discs or squares, on 8-bit pixels with the rounding
// of the software rasteriser's blending, row by row so that two threads can
// share a frame. The frame is kept as the window system takes it: 32-bit
// pixels blue, green, red, spare (the byte order of X11's 24-bit visuals and
// of Windows' DIBs), top row first. Every rule treats the four channels
// alike, so only the points' colours and the rows change places.
#pragma once

#include <cstdint>

#include "engine/points.h"

// A factor on 8-bit channels, with the rounding of the OpenGL step that applies it.
struct channelscale {
    int modulate;  // 1: a texture modulated by a colour; 0: a blend factor
    int byte;      // blend factor, 0..255
    float factor;  // colour of the modulation
};
// The blend factor 1 - alpha of a blended rectangle of alpha alpha / 255.
channelscale blendFactor(int alpha);
// A texture drawn in the colour (c, c, c).
channelscale modulation(float c);

// What every row of a frame needs: the point buffer and how to draw it.
struct splatjob {
    const point* points;
    int first, count;   // points first .. first + count - 1
    int width, height;  // pixels of the image
    int pictureX, pictureY, pictureWidth, pictureHeight;  // where -1..1 falls, OpenGL window pixels (bottom up)
    float size;         // point diameter, pixels
    int rounded;        // discs instead of squares
    int blendMethod;    // 0 logarithmic, 1 linear, 2 maximum
};

// ---- Row kernels (the fastest variant this processor runs) ----
// Rows y0 .. y1 - 1 of an image width pixels wide: every channel loses step
// (saturating at 0), then is scaled.
void fadeRows(uint32_t* image, int width, int y0, int y1, int step, channelscale scale);
// sum := min(255, sum + round(add * w)) over columns x0 .. x1 - 1 of rows y0 .. y1 - 1.
void addScaledRows(uint32_t* sum, const uint32_t* add, int width, int x0, int x1, int y0, int y1, channelscale w);

// ---- Points ----
// Rows belong to bands: runs of BAND_ROWS rows dealt out to the threads in
// turn (one or two). Each thread first sorts its share of the points into
// the bands their pixels touch (binPoints), then draws what both threads
// sorted into its own band, in buffer order (splatBin).
constexpr int BAND_ROWS = 16;
constexpr int BAND_LIMIT = 2;
struct pixelbox {
    int x0, y0, x1, y1;  // image rows (top first); empty when x0 >= x1
};

// A point as the splat draws it: a disc's centre in 1/DISC_UNIT pixel and
// the pixels its quad covers (the whole square of a square point), within
// its picture; image coordinates (top row first). The colour is in the
// frame's byte order.
struct splatentry {
    int32_t x, y;
    uint32_t color;
    int16_t left, right, top, bottom;  // first and last column and row
};
// Discs are drawn as the software rasteriser draws a smooth point: a quad
// of the size around the centre (corners snapped to 1/256 pixel, pixel
// centres on its left and bottom edges in, on its right and top edges out)
// of which the pixels whose centre lies within the radius of the centre
// remain; smooth sizes below 2 are drawn as 2. It interpolates the distance
// from the unrounded position, so the disc test is made in integers at a
// fine fraction (1/256 pixel missed one edge pixel in a thousand): each
// row's span comes from its distance to the centre.
constexpr int DISC_BITS = 14;
constexpr int64_t DISC_UNIT = int64_t(1) << DISC_BITS;
struct discspans {
    int64_t radius;         // in 1/DISC_UNIT pixel, rounded down
    int64_t radiusSquared;  // the same squared, rounded down
};
// Makes spans hold the discs of the given size.
void prepareDiscSpans(discspans* spans, float size);
// The smooth point size a software rasteriser draws for the size asked.
float drawnDiscSize(float size);

// The job's points (one picture, one pass) appended to bins[0 .. bandCount - 1],
// each to the bands whose rows it touches; the bins hold room for them all.
struct splatbin {
    splatentry* entries;
    int count;
};
void binPoints(splatbin* bins, const splatjob& job, const discspans& spans, int bandCount);
// Entries drawn into the rows of image that belong to band; returns the box
// drawn when box is set (else an empty one).
pixelbox splatBin(uint32_t* image, const splatjob& job, const discspans& spans, const splatentry* entries, int count,
                  int band, int bandCount, int box);

// Name of the variant in use ("x86-64-v4", "x86-64-v3", "portable").
const char* splatKernelName();
// Puts the named variant in use where this processor runs it; 1 when it did.
int useSplatKernel(const char* name);
