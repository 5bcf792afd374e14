// The arithmetic of a frame composed in memory: the fade, the multi-pass
// sum and the points as discs or squares, on 8-bit RGBA pixels with the
// rounding of the software rasteriser's blending, row by row so that two
// threads can share a frame.
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
    int pictureX, pictureY, pictureWidth, pictureHeight;  // where -1..1 falls in the image, pixels
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
// The job's points drawn into the rows of image that belong to band (runs of
// BAND_ROWS rows dealt out to bandCount threads in turn); returns the pixel
// box drawn (x0, y0, x1, y1; empty when x0 >= x1).
constexpr int BAND_ROWS = 16;
struct pixelbox {
    int x0, y0, x1, y1;
};
pixelbox splatPoints(uint32_t* image, const splatjob& job, int band, int bandCount);
// Name of the variant in use ("x86-64-v3", "portable").
const char* splatKernelName();
