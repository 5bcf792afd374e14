// Exposure control: coverage of a 16x16 grid by a sample of the points gives
// the point size (about the mean spacing) and the intensity (inverse to the
// drawn area).
//
// Index
//   - Coverage: proxyCell, coverage
//   - Size and intensity: evolveProxy
#include "engine/fpstrict.h"
#include "engine/exposure.h"

#include <cmath>
#include <cstring>

#include "core/platform.h"
#include "core/appdata.h"
#include "core/windowstate.h"

// ---- Coverage ----
int proxyCell(float v)
{
    double c = ((double)v + 1.0) * 16.0 * 0.4999;
    // After a mouse click points can lie outside the square for a few frames.
    if (!(c > 0.0)) return 0;  // NaN too
    if (c >= PROXY_GRID - 1) return PROXY_GRID - 1;
    return (int)c;
}

// Number of occupied cells among the sampled points.
static int coverage(const point* points, int count)
{
    unsigned char cells[PROXY_GRID * PROXY_GRID];
    memset(cells, 0, sizeof cells);
    int last = count - 1 < PROXY_LAST_SAMPLE ? count - 1 : PROXY_LAST_SAMPLE;
    for (int k = last; k >= 0; k--) cells[proxyCell(points[k].x) * PROXY_GRID + proxyCell(points[k].y)] = 1;
    int n = 0;
    for (unsigned char c : cells) n += c;
    return n;
}

// ---- Size and intensity ----
void evolveProxy()
{
    applicationdata& s = ApplicationData;
    long long pixels = pictureArea() + 1;  // one monitor's picture, not the whole spanning window
    float area = (float)((double)(float)pixels / ((double)s.pointCount + 1.0));
    int occupied = s.points ? coverage(s.points, s.pointCount) : 0;
    s.surface = (float)(occupied * 0.00390625);

    double covered = (double)area * s.surface;
    float size = (float)((2.01 - s.sharpness) * sqrt(covered));

    if (!s.roundedPoints) {
        size = roundf(size);
        if (size < 1.0f) size = 1.0f;
    } else {
        float lo = 1.0f, hi = 1.0f;
        Platform.pointSizeRange(&lo, &hi);
        if (hi <= lo + 0.01) {
            size = lo < 1.0f ? 1.0f : lo;
        } else {
            float p = (float)(size * 1.5707963267948966);
            if (p < lo) p = lo;
            if (p > hi) p = hi;
            float g = 0.0f;
            Platform.pointSizeGranularity(&g);
            if (g > 0.0f) size = (float)(lo + (double)g * roundf((float)(((double)p - lo) / g)));
            else size = p;
        }
    }
    s.pointSize = size;

    if (s.blendMethod > 1) {
        s.alpha = s.luminance;
        return;
    }
    double light = (double)s.luminance * s.attenuation * area * s.surface;
    double drawn = pow((double)size, 2.0);
    // A zero size (a range starting at 0) gives the brightest points, not a NaN.
    float q = drawn > 0.0 ? (float)(light / drawn) : 1.0f;
    float alpha = q > 1.0f ? 1.0f : q;
    if (s.motionBlur >= 2) alpha = sqrtf(alpha);
    if (alpha < MINIMUM_ALPHA) alpha = MINIMUM_ALPHA;
    s.alpha = alpha;
}
