// The frame drawn the program's way (points in chunks, multi-pass filter
// touching only the area each pass draws, replacing paints without blending,
// the last frame faded in place once the window is seen to keep it) against
// the plain way (one call, every pass over the whole window, the last frame
// always painted back from its copy), from the same point buffer and previous
// frame, in every motion-blur mode and blend method, rounded and square: the
// same pixels. And the frame composed in memory against OpenGL's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "display/glut_test.h"
#include "render/frame.h"
#include "render/memframe.h"
#include "core/windowstate.h"

constexpr int W = 160;
constexpr int H = 120;
constexpr int POINTS = 1500;

static point Points[POINTS];

// A cloud in part of the window (so that passes cover only part of it),
// a few points near the edges and two outside, with varied colours up to
// 120 times the luminance.
static float Luminance = 1;
static void makePoints()
{
    uint32_t s = 12345;
    auto next = [&s]() {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) / float(1 << 24);
    };
    for (int i = 0; i < POINTS; i++) {
        float angle = next() * 6.2831853f, radius = std::sqrt(next()) * 0.45f;
        point& p = Points[i];
        p.x = 0.3f + radius * std::cos(angle);
        p.y = -0.2f + radius * std::sin(angle);
        for (int c = 0; c < 3; c++) p.color[c] = (uint8_t)std::min(255.0f, next() * 120 * Luminance);
        p.color[3] = 255;
    }
    Points[10].x = -0.98f;
    Points[20].y = 0.99f;
    Points[30].x = 1.3f;
    Points[40].y = -1.6f;
}

// Frames drawn with the given choices, each over the faded last one: enough
// for the program's way to see that the (single-buffered) window keeps its
// frame and to fade it in place for the last ones.
constexpr int FRAMES = 6;
static int Moving = 0;  // the points move between frames

static std::vector<unsigned char> drawFrames(renderoptions options)
{
    makePoints();
    RenderOptions = options;
    int window = createTestWindow(W, H);  // a fresh window: nothing measured about it yet
    reshapeFunc(W, H);
    ApplicationData.frameTexture = EMPTY_TEXTURE;
    ApplicationData.passTexture = EMPTY_TEXTURE;
    std::vector<unsigned char> previous(W * H * 3);  // every kind of value
    for (int i = 0; i < W * H; i++) {
        previous[i * 3] = (unsigned char)(i * 3);
        previous[i * 3 + 1] = (unsigned char)(i / 7);
        previous[i * 3 + 2] = (unsigned char)(255 - i * 5);
    }
    drawPreviousFrame(W, H, previous);
    adoptWindowFrame();  // the frame composed in memory starts from the same picture
    for (int i = 0; i < FRAMES; i++) {
        for (int k = 0; k < POINTS && Moving; k++) Points[k].x += 0.0137f * (k % 3 - 1), Points[k].y += 0.0071f;
        displayFunc();
    }
    std::vector<unsigned char> image = readPixels(0, 0, W, H);
    glutDestroyWindow(window);
    return image;
}

// Every motion-blur mode, blend method and point shape over the same points:
// check() draws the case both ways and compares.
template <class C> static void forEveryCase(C check)
{
    for (int rounded : {1, 0})
        for (int method = 0; method <= 2; method++)
            for (int mode = 0; mode <= 6; mode++) {
                SCOPED_TRACE(testing::Message() << "rounded " << rounded << ", blend " << method << ", motion blur "
                                                << mode);
                resetHiddenMenu();
                ApplicationData.points = Points;
                ApplicationData.pointCount = POINTS;
                ApplicationData.roundedPoints = rounded;
                ApplicationData.pointSize = rounded ? 3.7f : 2.6f;  // square points round it to 3
                ApplicationData.alpha = 0.37f;
                ApplicationData.attenuation = 0.1f;
                ApplicationData.blendMethod = method;
                ApplicationData.motionBlur = mode;
                check();
            }
    RenderOptions = DEFAULT_RENDER_OPTIONS;
}

TEST(FrameWays, ProgramWayDrawsThePlainPicture)
{
    forEveryCase([] {
        renderoptions program = DEFAULT_RENDER_OPTIONS;
        program.renderer = RENDERER_GL;
        program.chunkSize = 100;  // many chunks, and one short one at the end
        renderoptions plain = PLAIN_RENDER_OPTIONS;
        plain.fadeToBlack = program.fadeToBlack;
        std::vector<unsigned char> a = drawFrames(program), b = drawFrames(plain);
        int differ = 0, worst = 0;
        for (size_t i = 0; i < a.size(); i++) {
            int d = std::abs(a[i] - b[i]);
            differ += d > 1;
            worst = d > worst ? d : worst;
        }
        EXPECT_EQ(differ, 0) << "worst difference " << worst;
    });
}

// The frame composed in memory against OpenGL's: at least 99.5 % of the
// pixels within a step in every channel, and at most one in 3000 further
// than four. Those few are ties: OpenGL interpolates a disc's distance from
// the centre in floats, so a pixel centre within a millionth of a pixel of
// the edge goes either way (about one in 10,000 disc pixels at size 2), and
// a square point whose centre falls on a 1/256-pixel tie moves by a row
// (once in some thousand point draws).
static void expectMemoryDrawsOpenGLsPicture()
{
    renderoptions gl = DEFAULT_RENDER_OPTIONS, memory = DEFAULT_RENDER_OPTIONS;
    gl.renderer = RENDERER_GL;
    memory.renderer = RENDERER_MEMORY;
    PresentOption = PRESENT_GL;  // read back from OpenGL's buffer
    std::vector<unsigned char> a = drawFrames(memory), b = drawFrames(gl);
    int near = 0, far = 0;
    for (size_t i = 0; i < a.size(); i += 3) {
        int d = std::max({std::abs(a[i] - b[i]), std::abs(a[i + 1] - b[i + 1]), std::abs(a[i + 2] - b[i + 2])});
        near += d <= 1;
        far += d > 4;
    }
    EXPECT_GE(near, W * H * 995 / 1000);
    EXPECT_LE(far, W * H / 3000);
    PresentOption = PRESENT_AUTO;
}

TEST(FrameWays, MemoryDrawsOpenGLsPicture) { forEveryCase(expectMemoryDrawsOpenGLsPicture); }

// The same for the sizes of small windows (smooth points below 2 are drawn
// as 2), moving points, other fades and luminances, and a window over two
// monitors of different sizes (a picture on each, each with its point size).
TEST(FrameWays, MemoryDrawsOpenGLsSmallAndMovingPoints)
{
    struct picture {
        float size;
        int rounded;
        float attenuation, luminance;
        int monitors;
    } table[] = {{1.0f, 1, 0.01f, 1, 0}, {1.5f, 1, 0.3f, 2, 0}, {1.8f, 1, 0.01f, 0.5f, 0}, {2.2f, 1, 0.3f, 2, 0},
                 {1.0f, 0, 0.01f, 2, 0}, {1.4f, 0, 0.3f, 0.5f, 0}, {2.6f, 1, 0.1f, 1, 2}, {1.7f, 0, 0.1f, 1, 2}};
    for (const picture& c : table)
        for (int mode : {0, 1, 3}) {
            SCOPED_TRACE(testing::Message() << "size " << c.size << ", rounded " << c.rounded << ", attenuation "
                                            << c.attenuation << ", luminance " << c.luminance << ", monitors "
                                            << c.monitors << ", motion blur " << mode);
            resetHiddenMenu();
            WindowState.monitorCount = c.monitors;
            WindowState.monitors[0] = {0, 0, 100, 120};
            WindowState.monitors[1] = {100, 30, 60, 90};
            ApplicationData.points = Points;
            ApplicationData.pointCount = POINTS;
            ApplicationData.roundedPoints = c.rounded;
            ApplicationData.pointSize = c.size;
            ApplicationData.alpha = 0.37f;
            ApplicationData.attenuation = c.attenuation;
            ApplicationData.motionBlur = mode;
            Luminance = c.luminance;
            Moving = 1;
            expectMemoryDrawsOpenGLsPicture();
        }
    WindowState.monitorCount = 0;
    Luminance = 1;
    Moving = 0;
    RenderOptions = DEFAULT_RENDER_OPTIONS;
}
