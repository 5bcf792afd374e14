// What both renderers share.
#include "render/rendering.h"

#include <GL/gl.h>

#include <chrono>
#include <cstring>

renderoptions RenderOptions = DEFAULT_RENDER_OPTIONS;
void (*FrameStageProbe)(int stage) = nullptr;

void enterStage(int stage)
{
    if (FrameStageProbe) FrameStageProbe(stage);
}

// The plain fade of what the window holds: d (1 - attenuation), with the
// attenuation as the byte fadeAlphaByte. Blending takes the alpha as a byte,
// and llvmpipe draws the rectangle's 64-pixel tiles with two engines, one of
// which rounds the alpha to a byte while the other truncates it: at low
// attenuation the tiles that also hold points faded one step differently and
// their edges showed. A quarter step above the byte gives both the same one:
// the largest byte not above the attenuation, which keeps the fade with the
// step to black within a step of the plain texture fade.
int fadeAlphaByte(float attenuation)
{
    float a = attenuation > 0 ? attenuation < 1 ? attenuation : 1 : 0;  // NaN gives 0
    return (int)(a * 255.0f);
}

int softwareRenderer()
{
    static int software = -1;
    if (software < 0) {
        const char* renderer = (const char*)glGetString(GL_RENDERER);
        if (!renderer) return -1;
        const char* names[] = {"llvmpipe", "softpipe", "Software Rasterizer", "SWR", "swrast"};
        software = 0;
        for (const char* name : names)
            if (strstr(renderer, name)) software = 1;
    }
    return software;
}


double seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double middleTrialTime(const double* times, int count)
{
    double sorted[16];
    int n = 0;
    for (int i = 1; i < count && n < 16; i++, n++) {  // insertion sort
        int j = n;
        for (; j > 0 && sorted[j - 1] > times[i]; j--) sorted[j] = sorted[j - 1];
        sorted[j] = times[i];
    }
    return n ? sorted[n / 2] : 0;
}

double leastTrialTime(const double* times, int count)
{
    double least = count > 1 ? times[1] : 0;
    for (int i = 2; i < count; i++)
        if (times[i] < least) least = times[i];
    return least;
}
