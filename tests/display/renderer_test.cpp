// Who draws the frame (OpenGL, or the program in memory), as chosen and as
// the statistics page tells it; and OpenGL's long trails without the edges
// of llvmpipe's 64-pixel tiles.
#include <gtest/gtest.h>

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

// The seam statistic at 1 % attenuation through OpenGL: a grey frame with
// points in the lower-left tile only, so that llvmpipe draws that tile
// another way than the others. Away from the points, the steps between
// neighbouring pixels across tile edges (x or y a multiple of 64) are no
// larger than elsewhere.
TEST(Renderer, OpenGLTrailsShowNoTileEdges)
{
    constexpr int S = 192;
    static point cluster[64];
    for (int i = 0; i < 64; i++) cluster[i] = {{90, 60, 30, 255}, -0.8f + (i % 8) * 0.02f, -0.8f + (i / 8) * 0.02f, 0};
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(testing::Message() << "motion blur " << mode);
        resetHiddenMenu();
        RenderOptions.renderer = RENDERER_GL;
        ApplicationData.points = cluster;
        ApplicationData.pointCount = 64;
        ApplicationData.attenuation = 0.01f;
        ApplicationData.motionBlur = mode;
        createTestWindow(S, S);
        reshapeFunc(S, S);
        drawPreviousFrame(S, S, std::vector<unsigned char>(S * S * 3, 200));
        for (int i = 0; i < 30; i++) displayFunc();
        std::vector<unsigned char> p = readPixels(0, 0, S, S);
        double sum[2] = {0, 0};  // elsewhere, across an edge
        int count[2] = {0, 0};
        for (int y = 1; y < S; y++)
            for (int x = 1; x < S; x++) {
                if (x < 48 && y < 48) continue;  // the points and their trails
                int i = (y * S + x) * 3;
                sum[x % 64 == 0] += std::abs(p[i] - p[i - 3]);
                count[x % 64 == 0]++;
                sum[y % 64 == 0] += std::abs(p[i] - p[i - S * 3]);
                count[y % 64 == 0]++;
            }
        EXPECT_LE(sum[1] / count[1], sum[0] / count[0]);
    }
    RenderOptions = DEFAULT_RENDER_OPTIONS;
}
