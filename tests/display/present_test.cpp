// How a frame composed in memory reaches the window: straight through the
// window system (shared memory, or a plain copy through the connection where
// the server has no shared memory: tests/CMakeLists.txt runs these cases
// once more on such a server) or uploaded to OpenGL, in tiles within the
// texture limit. Every way shows the same pixels.
#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "display/glut_test.h"
#include "display/present_cloud.h"
#include "platform/present.h"
#include "render/frame.h"
#include "core/windowstate.h"
#include "render/memframe.h"

constexpr int W = CLOUD_WIDTH, H = CLOUD_HEIGHT;

// What the window shows, as the server holds it: 0x00RRGGBB per pixel, top row first.
static std::vector<uint32_t> windowPixels(int w, int h)
{
    glFinish();
    finishPresentation();
    Display* d = glXGetCurrentDisplay();
    XSync(d, False);
    XImage* image = XGetImage(d, glXGetCurrentDrawable(), 0, 0, w, h, AllPlanes, ZPixmap);
    std::vector<uint32_t> out;
    for (int y = 0; image && y < h; y++)
        for (int x = 0; x < w; x++) out.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
    if (image) XDestroyImage(image);
    return out;
}

// What the cloud's frames leave in the window, presented by the way chosen.
static std::vector<uint32_t> presentFrames(int choice, int frames)
{
    int window = presentCloudFrames(choice, frames);
    std::vector<uint32_t> shown = windowPixels(W, H);
    glutDestroyWindow(window);
    return shown;
}

// A compositor that paces the frames shown directly: the back end waits
// until it wants the next one, and says so. The wait spins, so that the
// process is not put to sleep and the frames around it cost what they cost
// without it.
static int pacedPresent(const unsigned char* pixels, int width, int height, int stride)
{
    int shown = presentPixelsToWindow(pixels, width, height, stride);
    auto start = std::chrono::steady_clock::now(), now = start;
    while (now - start < std::chrono::milliseconds(40)) now = std::chrono::steady_clock::now();
    WindowState.compositorWait += std::chrono::duration<double>(now - start).count();
    return shown;
}

// Each choice: the line the statistics page shows and the window's pixels,
// which are OpenGL's own; the direct ways by shared memory where the server
// offers it, by a plain copy where it does not. The compositor's pace is no
// cost of presenting.
TEST(Present, EachChoiceShowsOpenGLsPixels)
{
    struct choice {
        int present;
        const char* line;
        int (*presentPixels)(const unsigned char*, int, int, int);
    } table[] = {{PRESENT_GL, "Presentation : OpenGL", presentPixelsToWindow},
                 {PRESENT_DIRECT, "Presentation : direct", presentPixelsToWindow},
                 {PRESENT_AUTO, "Presentation : direct", presentPixelsToWindow},
                 {PRESENT_AUTO, "Presentation : direct", pacedPresent}};
    std::vector<uint32_t> first;
    for (const choice& c : table) {
        SCOPED_TRACE(testing::Message() << "presentation " << c.present << (c.presentPixels == pacedPresent ? ", paced" : ""));
        makeCloud();
        Platform.presentPixels = c.presentPixels;
        std::vector<uint32_t> shown = presentFrames(c.present, 14);  // the automatic trial takes ten
        EXPECT_STREQ(Presentation.text, c.line);
        int lit = 0;
        for (uint32_t p : shown) lit += p != 0;
        EXPECT_GT(lit, W * H / 4);
        if (first.empty()) first = shown;
        else EXPECT_TRUE(shown == first);
    }
    int major, minor;
    Bool pixmaps;
    bool shared = XShmQueryVersion(glXGetCurrentDisplay(), &major, &minor, &pixmaps);
    EXPECT_STREQ(presentationTransport(), shared ? "shared memory" : "plain");
    Platform.presentPixels = presentPixelsToWindow;
    RenderOptions = DEFAULT_RENDER_OPTIONS;
    PresentOption = PRESENT_AUTO;
}

// A window wider than the largest texture: the frame goes through OpenGL in
// tiles, and the points beyond the limit show as those before it.
TEST(Present, WindowWiderThanTheTextureLimitShowsItsPoints)
{
    GLint limit = 0;
    createTestWindow(64, 64);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    int w = limit + 700, h = 32, n = w / 100;
    static std::vector<point> row;
    row.assign(n, {});
    for (int i = 0; i < n; i++) row[i] = {{200, 100, 50, 255}, ((i * 100 + 50.5f) / w) * 2 - 1, 0.03f, 0};
    resetHiddenMenu();
    RenderOptions.renderer = RENDERER_MEMORY;
    PresentOption = PRESENT_GL;
    ApplicationData.points = row.data();
    ApplicationData.pointCount = n;
    ApplicationData.pointSize = 3;
    ApplicationData.motionBlur = 0;
    createTestWindow(w, h);
    reshapeFunc(w, h);
    displayFunc();
    std::vector<unsigned char> p = readPixels(0, h / 2, w, 1);
    int white = 0, shown = 0;
    for (int x = 0; x < w; x++) white += p[x * 3] == 255 && p[x * 3 + 1] == 255 && p[x * 3 + 2] == 255;
    for (int i = 0; i < n; i++) shown += p[(i * 100 + 50) * 3] == 200 && p[(i * 100 + 50) * 3 + 1] == 100;
    EXPECT_EQ(white, 0);
    EXPECT_EQ(shown, n);
    RenderOptions = DEFAULT_RENDER_OPTIONS;
    PresentOption = PRESENT_AUTO;
}
