// The GLUT back end: the program's own window. GLUT fixes a window's display
// mode when it is created, so a change of buffering, multisampling or full
// screen is carried out by destroying the window and creating a new one at
// the next animation step. A full-screen window covers every monitor and
// follows them when they change (app/monitors.h).
//
// Index
//   - Display mode and game-mode string
//   - Reports: GLUT callbacks passed on to WindowEvents
//   - createWindow, windowStatusFunc
//   - destroyWindow
//   - useGlutWindow
#include "app/window.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstring>

#include "app/mainmenu.h"
#include "app/monitors.h"
#include "core/platform.h"
#include "core/appdata.h"
#include "core/windowstate.h"
#include "menu/paint.h"
#include "platform/present.h"

constexpr int PLAIN_WINDOW_WIDTH = 640;
constexpr int PLAIN_WINDOW_HEIGHT = 480;
constexpr const char* WINDOW_TITLE = "VYR";

// ---- Display mode and game-mode string ---------------------------------------
unsigned int requestedDisplayMode()
{
    unsigned int mode = GLUT_RGB | GLUT_SINGLE;
    if (ApplicationData.doubleBuffered) mode = GLUT_DOUBLE;
    if (ApplicationData.multiSample) mode |= GLUT_MULTISAMPLE;
    return mode;
}

// Appends separator and the selected choice of a list unless it is on "default".
static void appendChoice(char* out, int size, const char* separator, const listbox& list)
{
    if (list.selected == 0) return;
    size_t used = strlen(out);
    snprintf(out + used, size - used, "%s%s", separator, list.texts[list.selected]);
}

void buildGameModeString(char* out, int size)
{
    out[0] = '\0';
    appendChoice(out, size, "", ListBoxResolution_DATA);
    appendChoice(out, size, ":", ListBoxBPP_DATA);
    appendChoice(out, size, "@", ListBoxFrequency_DATA);
}

// Sets the display mode, dropping multisampling when no visual offers it
// rather than letting GLUT end the process.
static void initDisplayMode()
{
    unsigned int mode = requestedDisplayMode();
    glutInitDisplayMode(mode);
    if ((mode & GLUT_MULTISAMPLE) && !Platform.displayModePossible()) {
        cancelMultiSample();
        glutInitDisplayMode(requestedDisplayMode());
    }
}

// No mode chosen, on Windows: a full-screen window without game mode, which
// Windows ties to the primary monitor, so that the window spans them all.
static int coverAllMonitorsOnly()
{
#ifdef _WIN32
    char mode[GAME_MODE_STRING_SIZE];
    buildGameModeString(mode, sizeof mode);
    return mode[0] == '\0';
#else
    return 0;
#endif
}

// Checks the chosen full-screen mode; returns 0, with a line, when it cannot be entered.
static int gameModePossible()
{
    char mode[GAME_MODE_STRING_SIZE];
    buildGameModeString(mode, sizeof mode);
    if (mode[0] == '\0') return 1;  // all defaults: GLUT's current mode, unchecked
    glutGameModeString(mode);
    if (glutGameModeGet(GLUT_GAME_MODE_POSSIBLE) != 0) return 1;
    printf("Unsupported display mode (%s). Fullscreen has been canceled.\n", mode);
    return 0;
}

// ---- Reports: GLUT callbacks passed on to WindowEvents ----------------------------
// Monitors added, removed or resized: the full-screen window and its
// pictures follow before the next step.
static void glutIdle()
{
    if (monitorsChanged() && ApplicationData.activeFullScreen) {
        coverMonitors();
        readMonitors();
    }
    WindowEvents.idle();
}
static void glutDisplay() { WindowEvents.display(); }
static void glutReshape(int w, int h) { WindowEvents.resized(w, h); }
static void glutKeyboard(unsigned char key, int x, int y) { WindowEvents.key(key, x, y); }
static void glutSpecial(int key, int x, int y) { WindowEvents.specialKey(key, x, y); }
static void glutMouse(int button, int state, int x, int y) { WindowEvents.mouseButton(button, state, x, y); }
static void glutPassiveMotion(int x, int y) { WindowEvents.pointerMoved(x, y); }

// ---- createWindow ------------------------------------------------------------
// Sized to the display's scale, as the menu's text is.
static int createPlainWindow()
{
    int w = (int)(PLAIN_WINDOW_WIDTH * MenuScale), h = (int)(PLAIN_WINDOW_HEIGHT * MenuScale);
    glutInitWindowSize(w, h);
    int x = (glutGet(GLUT_SCREEN_WIDTH) - w) / 2;
    int y = (glutGet(GLUT_SCREEN_HEIGHT) - h) / 2;
    glutInitWindowPosition(x, y);
    return glutCreateWindow(WINDOW_TITLE);
}

// Full screen without a mode change: a window at the origin with the
// screen's size, then made full screen (a centred window would be moved off
// the origin by glutFullScreen when no window manager runs).
static int createFullScreenWindow()
{
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    int id = glutCreateWindow(WINDOW_TITLE);
    glutFullScreen();
    return id;
}

// A hidden or fully covered window neither steps nor draws; without an idle
// callback glutMainLoop sleeps until the next event.
void windowStatusFunc(int state)
{
    int shown = state == GLUT_FULLY_RETAINED || state == GLUT_PARTIALLY_RETAINED;
    WindowEvents.shown(shown);
    glutIdleFunc(shown ? glutIdle : nullptr);
}

void createWindow()
{
    if (ApplicationData.windowId != -1) return;

    initDisplayMode();
    // A mode the screen cannot take cancels full screen, except for the
    // screen saver, which must cover the screen: it takes the full-screen
    // window at the screen's own mode instead.
    int modePossible = 1;
    if (ApplicationData.fullScreen) modePossible = gameModePossible();
    if (!modePossible && ApplicationData.runMode != MODE_SCREENSAVER) ApplicationData.fullScreen = 0;
    CheckBoxFullScreen_DATA.value = ApplicationData.fullScreen;

    int id = -1, gameMode = 0;
    int tryGameMode = modePossible && !coverAllMonitorsOnly();
    if (ApplicationData.fullScreen) {
        if (tryGameMode) id = glutEnterGameMode();
        if (id > 0) {
            gameMode = 1;
        } else {
            if (tryGameMode) puts("The screen mode cannot be changed; using a full-screen window instead.");
            id = createFullScreenWindow();
        }
    } else {
        id = createPlainWindow();
    }
    windowCreated(id, gameMode);
    if (ApplicationData.activeFullScreen) coverMonitors();
    readMonitors();

    glutSetCursor(ApplicationData.runMode == MODE_SCREENSAVER ? GLUT_CURSOR_NONE : GLUT_CURSOR_CROSSHAIR);

    glutDisplayFunc(glutDisplay);
    glutReshapeFunc(glutReshape);
    glutIdleFunc(glutIdle);
    glutKeyboardFunc(glutKeyboard);
    glutSpecialFunc(glutSpecial);
    glutMouseFunc(glutMouse);
    glutPassiveMotionFunc(glutPassiveMotion);
    glutWindowStatusFunc(windowStatusFunc);
}

// ---- destroyWindow ---------------------------------------------------------------
void destroyWindow()
{
    if (ApplicationData.windowId != -1) {
        if (WindowState.activeGameMode) glutLeaveGameMode();
        else glutDestroyWindow(ApplicationData.windowId);
    }
    ApplicationData.windowId = -1;
    WindowState.activeGameMode = 0;
}

// ---- useGlutWindow ------------------------------------------------------------------
static int glutElapsedTime() { return glutGet(GLUT_ELAPSED_TIME); }

// Wrapped rather than taken by address: GLUT's own calling convention may differ.
static void glutLoop() { glutMainLoop(); }
static void glutRedisplay() { glutPostRedisplay(); }
static void glutSwap() { glutSwapBuffers(); }
static void glutTitle(const char* title) { glutSetWindowTitle(title); }
static int glutModifiers() { return glutGetModifiers(); }
static void glutCharacter(void* font, int c) { glutBitmapCharacter(font, c); }
static int glutCharacterWidth(void* font, int c) { return glutBitmapWidth(font, c); }
static void glutStroke(void* font, int c) { glutStrokeCharacter(font, c); }
static float glutStrokeAdvance(void* font, int c) { return glutStrokeWidthf(font, c); }
static int glutDisplayModePossible() { return glutGet(GLUT_DISPLAY_MODE_POSSIBLE); }

void useGlutWindow()
{
    MenuScale = displayScale();
    Platform.elapsedTime = glutElapsedTime;
    Platform.createWindow = createWindow;
    Platform.destroyWindow = destroyWindow;
    Platform.mainLoop = glutLoop;
    Platform.postRedisplay = glutRedisplay;
    Platform.swapBuffers = glutSwap;
    Platform.presentPixels = presentPixelsToWindow;
    Platform.setWindowTitle = glutTitle;
    Platform.modifiers = glutModifiers;
    Platform.bitmapCharacter = glutCharacter;
    Platform.bitmapWidth = glutCharacterWidth;
    Platform.strokeCharacter = glutStroke;
    Platform.strokeWidth = glutStrokeAdvance;
    Platform.displayModePossible = glutDisplayModePossible;
}
