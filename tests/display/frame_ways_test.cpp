// The frame drawn the program's way (points in chunks, multi-pass filter
// touching only the area each pass draws, replacing paints without blending,
// the last frame faded in place once the window is seen to keep it) against
// the plain way (one call, every pass over the whole window, the last frame
// always painted back from its copy), from the same point buffer and previous
// frame, in every motion-blur mode and blend method, rounded and square: the
// same pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "display/glut_test.h"
#include "render/frame.h"

constexpr int W = 160;
constexpr int H = 120;
constexpr int POINTS = 1500;

static point Points[POINTS];

// A cloud in part of the window (so that passes cover only part of it),
// a few points near the edges and two outside, with varied colours.
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
        p.color[0] = (uint8_t)(next() * 120);
        p.color[1] = (uint8_t)(next() * 120);
        p.color[2] = (uint8_t)(next() * 120);
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

static std::vector<unsigned char> drawFrames(renderoptions options)
{
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
    for (int i = 0; i < FRAMES; i++) displayFunc();
    std::vector<unsigned char> image = readPixels(0, 0, W, H);
    glutDestroyWindow(window);
    return image;
}

TEST(FrameWays, ProgramWayDrawsThePlainPicture)
{
    makePoints();
    for (int rounded : {1, 0})
        for (int method = 0; method <= 2; method++)
            for (int mode = 0; mode <= 6; mode++) {
                SCOPED_TRACE(testing::Message() << "rounded " << rounded << ", blend " << method << ", motion blur "
                                                << mode);
                resetHiddenMenu();
                ApplicationData.points = Points;
                ApplicationData.pointCount = POINTS;
                ApplicationData.roundedPoints = rounded;
                ApplicationData.pointSize = rounded ? 3.7f : 3;
                ApplicationData.alpha = 0.37f;
                ApplicationData.attenuation = 0.1f;
                ApplicationData.blendMethod = method;
                ApplicationData.motionBlur = mode;

                renderoptions program = DEFAULT_RENDER_OPTIONS;
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
            }
    RenderOptions = DEFAULT_RENDER_OPTIONS;
}
