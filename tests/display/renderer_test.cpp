// Who draws the frame (OpenGL, or the program in memory), as chosen and as
// the statistics page tells it; and OpenGL's long trails without the edges
// of llvmpipe's 64-pixel tiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "display/glut_test.h"
#include "engine/statistics.h"
#include "engine/step.h"
#include "render/frame.h"
#include "render/memframe.h"

// Frames of the animation at a fixed point count in a fresh window.
static void animate(int w, int h, int frames, int points)
{
    createTestWindow(w, h, GLUT_RGB | GLUT_DOUBLE);
    reshapeFunc(w, h);
    for (int i = 0; i < frames; i++) {
        ApplicationData.desiredPointCount = points;
        evolveAnimation();
        displayFunc();
    }
}

// Every choice on this machine's software OpenGL: auto tries both ways and
// keeps memory (20 000 smooth points cost OpenGL far more than memory), and
// keeps OpenGL when multisampling is on.
TEST(Renderer, EachChoiceDrawsWithTheRendererItNames)
{
    struct choice {
        int renderer, multiSample;
        const char* line;
    } table[] = {
        {RENDERER_GL, 0, "Renderer : OpenGL"},
        {RENDERER_MEMORY, 0, "Renderer : memory"},
        {RENDERER_AUTO, 0, "Renderer : memory"},
        {RENDERER_AUTO, 1, "Renderer : OpenGL"},
    };
    for (const choice& c : table) {
        SCOPED_TRACE(testing::Message() << "renderer " << c.renderer << ", multisampling " << c.multiSample);
        startAnimationRun();
        MainMenu.visible = 1;  // the statistics lines are formatted while the menu is shown
        RenderOptions.renderer = c.renderer;
        ApplicationData.multiSample = c.multiSample;
        animate(320, 240, 14, 20000);
        evolveStatistics();
        EXPECT_STREQ(Renderer.rendererText, c.line);
    }
    RenderOptions = DEFAULT_RENDER_OPTIONS;
}

// The seam statistic at 1 % attenuation, as a user sees it: a cloud
// drifting over the picture leaves long trails in tiles that no longer hold
// points, beside tiles that do (llvmpipe draws those two kinds another
// way); the mean step between neighbouring columns across its 64-pixel tile
// edges (x = 64k - 1 | 64k) is no larger than at the other offsets within a
// tile, whoever draws the frame and however it fades.
TEST(Renderer, TrailsShowNoTileEdges)
{
    constexpr int W = 320, H = 192, N = 4000;
    static point cloud[N];
    for (int renderer : {RENDERER_GL, RENDERER_MEMORY})
        for (int mode : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << "renderer " << renderer << ", motion blur " << mode);
            uint32_t seed = 5;
            auto next = [&seed]() { return ((seed = seed * 1664525u + 1013904223u) >> 8) / float(1 << 24); };
            resetHiddenMenu();
            RenderOptions.renderer = renderer;
            PresentOption = PRESENT_GL;  // read back from OpenGL's buffer
            ApplicationData.points = cloud;
            ApplicationData.pointCount = N;
            ApplicationData.pointSize = 2;
            ApplicationData.alpha = 0.5f;  // the passes' weight
            ApplicationData.attenuation = 0.01f;
            ApplicationData.motionBlur = mode;
            createTestWindow(W, H);
            reshapeFunc(W, H);
            for (int i = 0; i < 150; i++) {
                for (point& p : cloud) {  // a disc of radius 0.4 whose centre drifts from left to right
                    float a = next() * 6.2831853f, r = 0.4f * std::sqrt(next());
                    p = {{40, 30, 20, 255}, -0.6f + 0.008f * i + r * std::cos(a), 0.1f + r * std::sin(a), 0};
                }
                displayFunc();
            }
            std::vector<unsigned char> p = readPixels(0, 0, W, H);
            double step[64] = {}, lit = 0;
            for (int y = 0; y < H; y++)
                for (int x = 1; x < W; x++)
                    for (int c = 0; c < 3; c++) {
                        int i = (y * W + x) * 3 + c;
                        step[x % 64] += std::abs(p[i] - p[i - 3]);
                        lit += p[i] > 0;
                    }
            std::vector<double> others(step + 1, step + 64);
            std::nth_element(others.begin(), others.begin() + 31, others.end());
            EXPECT_GT(lit, W * H * 3 / 4);  // trails over a good part of the picture
            EXPECT_LE(step[0], 1.2 * others[31]);
        }
    RenderOptions = DEFAULT_RENDER_OPTIONS;
    PresentOption = PRESENT_AUTO;
}
