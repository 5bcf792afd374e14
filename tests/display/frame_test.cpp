// Frame drawing read back from real OpenGL: the reshape, the fade of each
// motion-blur mode, the blend methods, the multi-pass filter and its
// weights, and the state displayFunc leaves behind.
//
// Index
//   - Fixture and helpers
//   - reshapeFunc
//   - Motion-blur fades
//   - Blend methods
//   - Multi-pass filter
//   - OpenGL state
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "display/glut_test.h"
#include "app/mainmenu.h"
#include "render/frame.h"
#include "render/texture.h"
#include "app/window.h"
#include "core/appdata.h"

// ---- Fixture and helpers ----
constexpr int W = 64;
constexpr int H = 48;

static point Points[64];

// A point centred on pixel (px, py) of a W x H window.
static point pointAt(int px, int py, int r, int g, int b)
{
    point p = {};
    p.color[0] = (uint8_t)r;
    p.color[1] = (uint8_t)g;
    p.color[2] = (uint8_t)b;
    p.color[3] = 255;
    p.x = (px + 0.5f) / W * 2 - 1;
    p.y = (py + 0.5f) / H * 2 - 1;
    return p;
}

static void fill(int r, int g, int b)
{
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
}

// Makes the window content the "last finished frame" of the motion blur.
static void setPreviousFrame(int r, int g, int b)
{
    fill(r, g, b);
    copyTexture(&ApplicationData.frameTexture);
}

// One frame's fade of a channel value: one step darker (so that trails end
// in black), then times 1 - attenuation.
static double faded(double v, double attenuation, int frames = 1)
{
    for (int i = 0; i < frames; i++) v = std::max(0.0, v - 1) * (1 - attenuation);
    return v;
}

#define EXPECT_PIXEL(p, R, G, B, tol)                \
    do {                                             \
        rgb q_ = (p);                                \
        EXPECT_NEAR(q_.r, (R), (tol)) << "red";      \
        EXPECT_NEAR(q_.g, (G), (tol)) << "green";    \
        EXPECT_NEAR(q_.b, (B), (tol)) << "blue";     \
    } while (0)

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ApplicationData = INITIAL_APPLICATION_DATA;
        resetMainMenu();
        MainMenu.visible = 0;
        ApplicationData.currentMenu = &MainMenu;
        ApplicationData.roundedPoints = 0;
        ApplicationData.pointSize = 1;
        ApplicationData.points = Points;
        RenderOptions.renderer = RENDERER_GL;  // OpenGL's own drawing; memory is compared with it elsewhere
        createTestWindow(W, H);
        reshapeFunc(W, H);
    }
    void TearDown() override { RenderOptions = DEFAULT_RENDER_OPTIONS; }
};

// ---- reshapeFunc ----
TEST_F(FrameTest, ReshapeToZeroKeepsSizeOneButPassesZeroToTheViewport)
{
    GLint vp[4];
    reshapeFunc(W, 0);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(ApplicationData.width, W);
    EXPECT_EQ(ApplicationData.height, 1);
    EXPECT_EQ(vp[2], W);
    EXPECT_EQ(vp[3], 0);

    reshapeFunc(0, 30);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(ApplicationData.width, 1);
    EXPECT_EQ(ApplicationData.height, 30);
    EXPECT_EQ(vp[2], 0);
    EXPECT_EQ(vp[3], 30);
}

// ---- Motion-blur fades ----
// Mode 0 darkens what the buffer holds by 1 - attenuation (and one step),
// frame after frame; with no points and no buffer only the fade is drawn.
TEST_F(FrameTest, SingleBufferDarkensByOneMinusAttenuation)
{
    ApplicationData.points = nullptr;
    ApplicationData.motionBlur = 0;
    ApplicationData.attenuation = 0.25f;
    fill(200, 100, 40);
    displayFunc();
    EXPECT_PIXEL(readPixel(10, 10), faded(200, 0.25), faded(100, 0.25), faded(40, 0.25), 1);
    displayFunc();
    EXPECT_PIXEL(readPixel(W - 1, H - 1), faded(200, 0.25, 2), faded(100, 0.25, 2), faded(40, 0.25, 2), 2);
    EXPECT_EQ(ApplicationData.frameTexture.id, TEXTURE_NONE);  // mode 0 keeps no copy

    ApplicationData.attenuation = 1;
    displayFunc();
    EXPECT_PIXEL(readPixel(0, 0), 0, 0, 0, 0);
}

TEST_F(FrameTest, DoubleBufferPaintsThePreviousFrameDarkened)
{
    ApplicationData.motionBlur = 1;
    ApplicationData.attenuation = 0.25f;

    // First frame: no copy yet, the window starts black.
    fill(255, 255, 255);
    displayFunc();
    EXPECT_PIXEL(readPixel(5, 5), 0, 0, 0, 0);

    setPreviousFrame(200, 100, 40);
    fill(255, 255, 255);  // what the buffer holds must not matter
    displayFunc();
    EXPECT_PIXEL(readPixel(5, 5), faded(200, 0.25), faded(100, 0.25), faded(40, 0.25), 1);
    displayFunc();  // the frame just drawn was kept and fades again
    EXPECT_PIXEL(readPixel(W - 1, 0), faded(200, 0.25, 2), faded(100, 0.25, 2), faded(40, 0.25, 2), 2);

    // The points of a frame are part of the next frame's background.
    ApplicationData.blendMethod = 1;
    Points[0] = pointAt(20, 20, 100, 100, 100);
    ApplicationData.pointCount = 1;
    displayFunc();
    ApplicationData.pointCount = 0;
    displayFunc();
    EXPECT_PIXEL(readPixel(20, 20), faded(faded(200, 0.25, 3) + 100, 0.25), faded(faded(100, 0.25, 3) + 100, 0.25),
                 faded(faded(40, 0.25, 3) + 100, 0.25), 2);
}

// A new window (and rendering context) starts from black, whatever the old one showed.
TEST_F(FrameTest, DoubleBufferStartsBlackInARecreatedWindow)
{
    ApplicationData.doubleBuffered = 0;  // single-buffered: the front buffer is read back
    ApplicationData.motionBlur = 1;
    ApplicationData.attenuation = 0.1f;
    for (int round = 0; round < 2; round++) {
        destroyWindow();
        createWindow();
        glutIdleFunc(nullptr);  // no animation steps in this test
        EXPECT_EQ(ApplicationData.frameTexture.id, TEXTURE_NONE);
        for (int i = 0; i < 2000 && ApplicationData.width != 640; i++) pumpEvents();
        ASSERT_EQ(ApplicationData.width, 640);
        fill(255, 255, 255);
        displayFunc();
        EXPECT_PIXEL(readPixel(320, 240), 0, 0, 0, 0);
        setPreviousFrame(250, 250, 250);
        displayFunc();
        EXPECT_PIXEL(readPixel(320, 240), faded(250, 0.1), faded(250, 0.1), faded(250, 0.1), 1);
    }
}

// ---- Blend methods ----
// A known background (mode 0 with a negligible fade), then two points on one
// pixel and one point alone.
struct blendresult {
    rgb single;   // one point over the background
    rgb stacked;  // two points on one pixel
};

static blendresult drawOverBackground(int method)
{
    ApplicationData.motionBlur = 0;
    ApplicationData.attenuation = 0.001f;
    ApplicationData.blendMethod = method;
    Points[0] = pointAt(10, 10, 100, 50, 120);
    Points[1] = pointAt(30, 30, 10, 20, 30);
    Points[2] = pointAt(30, 30, 100, 50, 120);
    ApplicationData.pointCount = 3;
    fill(200, 100, 50);
    displayFunc();
    return {readPixel(10, 10), readPixel(30, 30)};
}

TEST_F(FrameTest, LogarithmicSaturatesTowardsWhite)
{
    blendresult b = drawOverBackground(0);
    auto screen = [](double p, double o) { return p + o - p * o; };  // p (1 - o) + o, in 0..1
    double bg[3] = {faded(200, 0.001) / 255, faded(100, 0.001) / 255, faded(50, 0.001) / 255};
    EXPECT_PIXEL(b.single, 255 * screen(100 / 255.0, bg[0]), 255 * screen(50 / 255.0, bg[1]),
                 255 * screen(120 / 255.0, bg[2]), 2);
    EXPECT_PIXEL(b.stacked, 255 * screen(100 / 255.0, screen(10 / 255.0, bg[0])),
                 255 * screen(50 / 255.0, screen(20 / 255.0, bg[1])),
                 255 * screen(120 / 255.0, screen(30 / 255.0, bg[2])), 2);
}

TEST_F(FrameTest, LinearAddsAndClamps)
{
    blendresult b = drawOverBackground(1);
    EXPECT_PIXEL(b.single, 255, 150, 170, 1);
    EXPECT_PIXEL(b.stacked, 255, 170, 200, 1);
}

TEST_F(FrameTest, MaximumReplacesWithTheLastPoint)
{
    blendresult b = drawOverBackground(2);
    EXPECT_PIXEL(b.single, 100, 50, 120, 0);
    EXPECT_PIXEL(b.stacked, 100, 50, 120, 0);
    EXPECT_PIXEL(readPixel(50, 40), faded(200, 0.001), faded(100, 0.001), faded(50, 0.001), 1);  // the fade alone
}

// ---- Multi-pass filter ----
// Every point reaches the image exactly once, scaled by the pass weight,
// whatever the number of points per pass (also none).
TEST_F(FrameTest, PassesDrawEveryPointExactlyOnce)
{
    struct {
        int count, passes;
    } cases[] = {{7, 3}, {2, 5}, {12, 4}, {1, 6}, {13, 2}, {0, 2}};
    ApplicationData.blendMethod = 1;
    ApplicationData.alpha = 0.5f;
    for (auto c : cases) {
        deleteTexture(&ApplicationData.frameTexture);  // first frame: black background
        ApplicationData.motionBlur = c.passes;
        ApplicationData.pointCount = c.count;
        for (int k = 0; k < c.count; k++) Points[k] = pointAt(2 + 4 * k, 10, 200, 120, 60);
        fill(255, 255, 255);
        displayFunc();
        std::vector<unsigned char> row = readPixels(0, 10, W, 1);
        for (int x = 0; x < W; x++) {
            bool lit = x % 4 == 2 && (x - 2) / 4 < c.count;
            EXPECT_NEAR(row[x * 3], lit ? 100 : 0, 1) << c.count << " points, " << c.passes << " passes, x " << x;
            EXPECT_NEAR(row[x * 3 + 1], lit ? 60 : 0, 1) << c.count << " points, " << c.passes << " passes, x " << x;
        }
    }
}

// The accumulated image is the previous frame faded once plus w times each pass:
// w = alpha for Logarithmic and Linear, attenuation / N for Maximum.
TEST_F(FrameTest, PassesAddToTheFadedPreviousFrameWithTheirWeight)
{
    struct {
        int method, passes;
        float w;
    } cases[] = {{0, 4, 0.25f}, {1, 3, 0.25f}, {2, 4, 0.2f / 4}, {2, 2, 0.2f / 2}};
    ApplicationData.attenuation = 0.2f;
    ApplicationData.alpha = 0.25f;
    for (auto c : cases) {
        ApplicationData.blendMethod = c.method;
        ApplicationData.motionBlur = c.passes;
        ApplicationData.pointCount = 5;
        for (int k = 0; k < 5; k++) Points[k] = pointAt(3 + 5 * k, 20, 200, 120, 240);
        setPreviousFrame(100, 60, 20);
        displayFunc();
        SCOPED_TRACE(testing::Message() << "method " << c.method << ", " << c.passes << " passes");
        for (int k = 0; k < 5; k++)
            EXPECT_PIXEL(readPixel(3 + 5 * k, 20), faded(100, 0.2) + c.w * 200, faded(60, 0.2) + c.w * 120,
                         faded(20, 0.2) + c.w * 240, 2);
        EXPECT_PIXEL(readPixel(40, 40), faded(100, 0.2), faded(60, 0.2), faded(20, 0.2), 1);
    }
}

// ---- OpenGL state ----
// Point size, smoothing, texturing, client arrays, blend function, texture
// binding, matrix mode, current colour and both matrices, as one list.
static std::vector<double> queryState()
{
    std::vector<double> s;
    GLfloat f[16];
    GLint i[2];
    for (GLenum cap : {GL_POINT_SMOOTH, GL_TEXTURE_2D, GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY})
        s.push_back(glIsEnabled(cap));
    for (GLenum name : {GL_BLEND_SRC, GL_BLEND_DST, GL_TEXTURE_BINDING_2D, GL_MATRIX_MODE}) {
        glGetIntegerv(name, i);
        s.push_back(i[0]);
    }
    for (auto [name, count] : {std::pair{GL_POINT_SIZE, 1}, {GL_CURRENT_COLOR, 4}, {GL_MODELVIEW_MATRIX, 16},
                               {GL_PROJECTION_MATRIX, 16}}) {
        glGetFloatv(name, f);
        s.insert(s.end(), f, f + count);
    }
    void* pointer;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
    s.push_back(double(uintptr_t(pointer)));
    return s;
}

TEST_F(FrameTest, DisplayLeavesTheStateAsItFoundItButBlending)
{
    static float otherArray[8];
    GLuint other;
    glGenTextures(1, &other);
    for (int mode : {0, 1, 3}) {
        ApplicationData.motionBlur = mode;
        ApplicationData.roundedPoints = mode == 1;
        ApplicationData.pointSize = 2.5f;
        ApplicationData.pointCount = 4;
        for (int k = 0; k < 4; k++) Points[k] = pointAt(k, k, 50, 50, 50);

        glDisable(GL_BLEND);
        glPointSize(3);
        if (mode == 1) glDisable(GL_POINT_SMOOTH);
        else glEnable(GL_POINT_SMOOTH);
        glBlendFunc(GL_SRC_ALPHA, GL_DST_COLOR);
        glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
        glBindTexture(GL_TEXTURE_2D, other);
        glMatrixMode(GL_PROJECTION);
        glEnableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glVertexPointer(2, GL_FLOAT, 0, otherArray);
        glEnableClientState(GL_VERTEX_ARRAY);
        std::vector<double> before = queryState();

        displayFunc();
        displayFunc();  // the second frame paints the kept copy

        EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "mode " << mode;
        EXPECT_EQ(queryState(), before) << "mode " << mode;
        GLint depth;
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
        EXPECT_EQ(depth, 0);
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR) << "mode " << mode;
    }
}
