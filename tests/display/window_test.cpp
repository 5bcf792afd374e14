// Window management on a real X server: the plain window, recreation when a
// requested display flag changes, and full screen without a mode change.
#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

#include "engine/step.h"
#include "glut_test.h"
#include "app/mainmenu.h"
#include "render/texture.h"
#include "app/window.h"
#include "core/platform.h"
#include "core/appdata.h"
#include "core/windowstate.h"
#include "platform/monitors.h"

namespace {

struct Window : testing::Test {
    void SetUp() override
    {
        ApplicationData = INITIAL_APPLICATION_DATA;
        ApplicationData.runMode = MODE_CONFIGURE;
        ApplicationData.currentMenu = &MainMenu;
        resetMainMenu();
        initGlutOnce();
    }
    void TearDown() override
    {
        destroyWindow();
        pumpEvents(3);
        useGlutPlatform();
        ApplicationData = INITIAL_APPLICATION_DATA;
        resetMainMenu();
    }
};

// Creates the program's window without its animation step, and waits until
// GLUT reports it mapped with the expected size.
void createAndSettle(int width, int height)
{
    createWindow();
    glutIdleFunc(nullptr);
    for (int i = 0; i < 400; i++) {
        pumpEvents();
        if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height && i > 5) break;
        struct timespec t = {0, 5000000};
        nanosleep(&t, nullptr);
    }
}

std::string windowTitle()
{
    char* name = nullptr;
    XFetchName(glXGetCurrentDisplay(), glXGetCurrentDrawable(), &name);
    std::string title = name ? name : "";
    if (name) XFree(name);
    return title;
}

// Full screen without a mode change: a borderless window covering the screen exactly.
void expectScreenSizedWindow()
{
    EXPECT_EQ(glutGet(GLUT_WINDOW_X), 0);
    EXPECT_EQ(glutGet(GLUT_WINDOW_Y), 0);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_SCREEN_WIDTH));
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), glutGet(GLUT_SCREEN_HEIGHT));
    EXPECT_EQ(ApplicationData.fullScreen, 1);
    EXPECT_EQ(ApplicationData.activeFullScreen, 1);
    EXPECT_EQ(WindowState.activeGameMode, 0);
}

// Nothing pending: the next step keeps the window (no recreation loop).
void expectNoRecreation()
{
    int id = ApplicationData.windowId;
    evolveWindow();
    EXPECT_EQ(ApplicationData.windowId, id);
}

TEST_F(Window, PlainWindowIsCentred640x480TitledVYR)
{
    createAndSettle(640, 480);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 480);
    EXPECT_EQ(glutGet(GLUT_WINDOW_X), (glutGet(GLUT_SCREEN_WIDTH) - 640) / 2);
    EXPECT_EQ(glutGet(GLUT_WINDOW_Y), (glutGet(GLUT_SCREEN_HEIGHT) - 480) / 2);
    EXPECT_EQ(windowTitle(), "VYR");
    EXPECT_EQ(glutGet(GLUT_WINDOW_CURSOR), GLUT_CURSOR_CROSSHAIR);
    EXPECT_EQ(ApplicationData.activeFullScreen, 0);
    EXPECT_EQ(ApplicationData.activeDoubleBuffered, 1);
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_TRUE(doubleBuffered);
}

TEST_F(Window, CreateWindowDoesNothingWhileAWindowExists)
{
    createAndSettle(640, 480);
    int id = ApplicationData.windowId;
    createWindow();
    EXPECT_EQ(ApplicationData.windowId, id);
}

TEST_F(Window, UnchangedFlagsKeepTheWindow)
{
    createAndSettle(640, 480);
    expectNoRecreation();
    // Toggled twice before the step: back to the active value, nothing to do.
    ApplicationData.doubleBuffered = 0;
    ApplicationData.doubleBuffered = 1;
    ApplicationData.multiSample = 1;
    ApplicationData.multiSample = 0;
    expectNoRecreation();
}

// A changed flag recreates the window once, in the new display mode.
TEST_F(Window, AChangedFlagRecreatesTheWindow)
{
    struct recreation {
        const char* what;
        int* flag;  // set to 1 - its value before the step
        void (*expect)();
    };
    const recreation cases[] = {
        {"double buffering off", &ApplicationData.doubleBuffered,
         [] {
             EXPECT_EQ(ApplicationData.activeDoubleBuffered, 0);
             GLboolean doubleBuffered = GL_TRUE;
             glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
             EXPECT_FALSE(doubleBuffered);
             // A texture of the old context is forgotten with it.
             EXPECT_EQ(ApplicationData.frameTexture.id, TEXTURE_NONE);
             EXPECT_EQ(ApplicationData.frameTexture.textureWidth, 0);
         }},
        {"multisampling on", &ApplicationData.multiSample,
         [] {
             EXPECT_EQ(ApplicationData.activeMultiSample, 1);
             GLint sampleBuffers = 0;
             glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
             EXPECT_EQ(sampleBuffers, 1);
         }},
        {"a full-screen parameter", &ApplicationData.fullScreenParamChanged,
         [] {
             EXPECT_EQ(ApplicationData.fullScreenParamChanged, 0);
             expectNoRecreation();
         }},
    };
    for (const recreation& c : cases) {
        SCOPED_TRACE(c.what);
        createAndSettle(640, 480);
        int id = ApplicationData.windowId;
        ApplicationData.frameTexture = {12345, 640, 480, 1024, 512};
        *c.flag = 1 - *c.flag;
        evolveWindow();
        glutIdleFunc(nullptr);
        EXPECT_NE(ApplicationData.windowId, id);
        c.expect();
        destroyWindow();
        pumpEvents(3);
        ApplicationData = INITIAL_APPLICATION_DATA;  // as SetUp leaves it
        ApplicationData.runMode = MODE_CONFIGURE;
        ApplicationData.currentMenu = &MainMenu;
        resetMainMenu();
    }
}

// Without a way to change the screen mode, full screen is a borderless
// window covering the screen exactly; the setting stays on.
TEST_F(Window, FullScreenFallsBackToScreenSizedWindow)
{
    ApplicationData.fullScreen = 1;
    testing::internal::CaptureStdout();
    createAndSettle(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("using a full-screen window instead"), std::string::npos) << out;
    expectScreenSizedWindow();
    EXPECT_EQ(CheckBoxFullScreen_DATA.value, 1);

    // Leaving full screen destroys that window and opens the plain one.
    int id = ApplicationData.windowId;
    ApplicationData.fullScreen = 0;
    evolveWindow();
    glutIdleFunc(nullptr);
    EXPECT_NE(ApplicationData.windowId, id);
    EXPECT_EQ(ApplicationData.activeFullScreen, 0);
    pumpEvents(3);
    glutSetWindow(ApplicationData.windowId);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
}

TEST_F(Window, ScreenSaverHidesTheCursor)
{
    ApplicationData.runMode = MODE_SCREENSAVER;
    ApplicationData.fullScreen = 1;
    testing::internal::CaptureStdout();
    createAndSettle(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(glutGet(GLUT_WINDOW_CURSOR), GLUT_CURSOR_NONE);
}

// A chosen mode the screen cannot take cancels full screen with one line.
TEST_F(Window, UnsupportedModeCancelsFullScreen)
{
    ApplicationData.fullScreen = 1;
    ListBoxResolution_DATA.selected = 3;  // 800x600
    ListBoxFrequency_DATA.selected = 8;   // 85
    testing::internal::CaptureStdout();
    createAndSettle(640, 480);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Unsupported display mode (800x600@85). Fullscreen has been canceled.\n");
    EXPECT_EQ(ApplicationData.fullScreen, 0);
    EXPECT_EQ(ApplicationData.activeFullScreen, 0);
    EXPECT_EQ(CheckBoxFullScreen_DATA.value, 0);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
    expectNoRecreation();
}

// The screen saver must cover the screen: a mode GLUT rejects gives the
// borderless screen-sized window instead, after the same line.
TEST_F(Window, ScreenSaverTakesTheScreenSizedWindowForAnUnsupportedMode)
{
    struct modecase {
        int resolution, frequency;
        const char* line;
    };
    const modecase cases[] = {
        {3, 8, "Unsupported display mode (800x600@85). Fullscreen has been canceled.\n"},
        {5, 10, "Unsupported display mode (1280x1024@100). Fullscreen has been canceled.\n"},
    };
    for (const modecase& c : cases) {
        ApplicationData.runMode = MODE_SCREENSAVER;
        ApplicationData.fullScreen = 1;
        ListBoxResolution_DATA.selected = c.resolution;
        ListBoxFrequency_DATA.selected = c.frequency;
        testing::internal::CaptureStdout();
        createAndSettle(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, c.line);
        expectScreenSizedWindow();
        expectNoRecreation();
        destroyWindow();
        pumpEvents(3);
    }
}

// Without multisampled visuals the window is made without them, instead of
// GLUT ending the process; the setting is switched off so that no
// recreation loop follows.
TEST_F(Window, MissingMultisamplingIsCanceled)
{
    Platform.displayModePossible = [] { return (glutGet(GLUT_INIT_DISPLAY_MODE) & GLUT_MULTISAMPLE) ? 0 : 1; };
    ApplicationData.multiSample = 1;
    CheckBoxMultiSample_DATA.value = 1;
    testing::internal::CaptureStdout();
    createAndSettle(640, 480);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Multisampling is not available. It has been canceled.\n");
    EXPECT_EQ(ApplicationData.multiSample, 0);
    EXPECT_EQ(ApplicationData.activeMultiSample, 0);
    EXPECT_EQ(CheckBoxMultiSample_DATA.value, 0);
    GLint sampleBuffers = -1;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    EXPECT_EQ(sampleBuffers, 0);
    expectNoRecreation();
}

TEST_F(Window, DestroyWindowForgetsTheWindow)
{
    createAndSettle(640, 480);
    destroyWindow();
    EXPECT_EQ(ApplicationData.windowId, -1);
    EXPECT_EQ(glutGetWindow(), 0);
    destroyWindow();  // nothing left to destroy
    EXPECT_EQ(ApplicationData.windowId, -1);
}


// Mirrored outputs (xrandr --same-as) share one rectangle: one picture
// there, drawn once. Each case runs on a screen of its own.
TEST(Monitors, SameRectangleIsOnePicture)
{
    initGlutOnce();
    // Besides these, the server lists the whole screen as a monitor of its own.
    ASSERT_EQ(system("xrandr --setmonitor A 640/150x1024/240+0+0 none && "
                     "xrandr --setmonitor B 640/150x1024/240+0+0 none && "
                     "xrandr --setmonitor C 640/150x1024/240+640+0 none"), 0);
    readMonitors(1);
    EXPECT_EQ(WindowState.monitorCount, 3);
    for (int i = 0; i < WindowState.monitorCount; i++) {
        for (int j = i + 1; j < WindowState.monitorCount; j++) {
            pixelrect a = WindowState.monitors[i], b = WindowState.monitors[j];
            EXPECT_FALSE(a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height) << i << " " << j;
        }
    }
    WindowState = INITIAL_WINDOW_STATE;
}

}  // namespace
