// Shared helpers of the display tests: GLUT start-up, a plain test window
// that is mapped and sized before the test draws, and pixel read-back.
// Every display test case runs in its own process under its own Xvfb.
//
// Index
//   - useGlutPlatform, initGlutOnce
//   - createTestWindow, pumpEvents
//   - readPixel, readPixels
//   - resetHiddenMenu, startAnimationRun, drawPreviousFrame
#pragma once

#include <GL/freeglut.h>

#include <time.h>

#include <vector>

#include "app/startup.h"
#include "app/window.h"
#include "core/platform.h"
#include "engine/attractor.h"
#include "engine/numeric.h"
#include "engine/random.h"
#include "render/frame.h"
#include "app/mainmenu.h"
#include "render/texture.h"
#include "core/appdata.h"
#include "core/windowstate.h"

// ---- initGlutOnce ----
// The GLUT back end with the program's handlers, as start-up installs them.
inline void useGlutPlatform()
{
    Platform = GLUT_PLATFORM;
    connectWindowEvents();
}

// Calls glutInit once per process with a fake command line, and installs the GLUT back end.
inline void initGlutOnce()
{
    static bool done = false;
    if (done) return;
    useGlutPlatform();
    static char name[] = "vyr-display-test";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    done = true;
}

// ---- createTestWindow, pumpEvents ----
struct testwindowstate {
    int id = 0;               // the window being waited for
    int reshapedWidth = -1;   // last size GLUT reported, -1 before the first report
    int reshapedHeight = -1;
    int visible = 0;          // mapped and not covered
};

inline testwindowstate TestWindow;

inline void testWindowReshape(int w, int h)
{
    if (glutGetWindow() != TestWindow.id) return;
    TestWindow.reshapedWidth = w;
    TestWindow.reshapedHeight = h;
    glViewport(0, 0, w, h);
}

inline void testWindowDisplay() {}

// Earlier test windows report being covered by the new one: only its own reports count.
inline void testWindowStatus(int state)
{
    if (glutGetWindow() == TestWindow.id) TestWindow.visible = state != GLUT_HIDDEN && state != GLUT_FULLY_COVERED;
}

// Runs GLUT's event loop once per round, up to the given number of rounds.
inline void pumpEvents(int rounds = 1)
{
    for (int i = 0; i < rounds; i++) glutMainLoopEvent();
}

// Creates a window of the given client size and display mode (GLUT_SINGLE is
// the right choice for read-back: the front buffer keeps what was drawn),
// registers a do-nothing display callback and a reshape callback that sets
// the viewport, and pumps events until the window is mapped with that size.
// The window is current on return. Returns its GLUT identifier.
inline int createTestWindow(int width, int height, unsigned int displayMode = GLUT_RGB | GLUT_SINGLE)
{
    initGlutOnce();
    TestWindow = testwindowstate{};
    glutInitDisplayMode(displayMode);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(width, height);
    int id = glutCreateWindow("vyr-test");
    TestWindow.id = id;
    glutDisplayFunc(testWindowDisplay);
    glutReshapeFunc(testWindowReshape);
    glutWindowStatusFunc(testWindowStatus);
    for (int i = 0; i < 2000; i++) {
        glutMainLoopEvent();
        if (TestWindow.visible && TestWindow.reshapedWidth == width && TestWindow.reshapedHeight == height) break;
        if (i > 50) {
            struct timespec t = {0, 1000000};
            nanosleep(&t, nullptr);
        }
    }
    glutSetWindow(id);
    glViewport(0, 0, width, height);
    glFinish();
    WindowState.contextGeneration++;  // as a back end reports its new window
    frameContextChanged();
    return id;
}

// ---- readPixel, readPixels ----
struct rgb {
    int r, g, b;
};

// Reads a rectangle of the current read buffer as RGB bytes, bottom row first.
inline std::vector<unsigned char> readPixels(int x, int y, int width, int height)
{
    std::vector<unsigned char> out(size_t(width) * height * 3);
    glFinish();
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, out.data());
    glPopClientAttrib();
    return out;
}

// Reads one pixel of the current read buffer; (0, 0) is the lower-left corner.
inline rgb readPixel(int x, int y)
{
    std::vector<unsigned char> p = readPixels(x, y, 1, 1);
    return {int(p[0]), int(p[1]), int(p[2])};
}

// ---- resetHiddenMenu, startAnimationRun, drawPreviousFrame ----
// The start-up state with the menu hidden: frames show the animation alone.
inline void resetHiddenMenu()
{
    ApplicationData = INITIAL_APPLICATION_DATA;
    resetMainMenu();
    MainMenu.visible = 0;
    ApplicationData.currentMenu = &MainMenu;
}

// A configure-mode run ready to step: menu values applied, seeded, the
// attractors allocated and GLUT started.
inline void startAnimationRun()
{
    ApplicationData = INITIAL_APPLICATION_DATA;
    resetMainMenu();
    ApplicationData.runMode = MODE_CONFIGURE;
    startEngine(5, nullptr);
    initGlutOnce();
}

// Paints an RGB image (bottom row first) over the width x height window,
// unblended, and copies it into frameTexture: the frame before the next one.
inline void drawPreviousFrame(int width, int height, const std::vector<unsigned char>& image)
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_BLEND);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2f(-1, -1);
    glDrawPixels(width, height, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    glPopAttrib();
    copyTexture(&ApplicationData.frameTexture);
}
