// The GLUT back end: the program's own window. GLUT fixes a window's display
// mode when it is created, so the program asks for a new window when the
// mode changes. A full-screen window covers every monitor and follows them
// when they change (platform/monitors.h).
//
// Index
//   - glutwindow record
//   - Display mode and game mode
//   - Reports: GLUT callbacks passed on to WindowEvents
//   - createWindow, windowStatusFunc
//   - destroyWindow
//   - GLUT_PLATFORM
#include "platform/window.h"

#include <GL/freeglut.h>

#include "core/platform.h"
#include "core/windowstate.h"
#include "platform/monitors.h"
#include "platform/present.h"

constexpr const char* WINDOW_TITLE = "VYR";
// A change of the monitors may reach the pointer before it reaches the
// monitor list (wine: by a 1280-pixel jump): a pointer report waits this
// long, and for the next idle step's look at the monitors, before it goes out.
constexpr int POINTER_SETTLE_MS = 300;

// ---- glutwindow record ---------------------------------------------------------------
struct glutwindow {
    int id;          // GLUT window, -1 while there is none
    int gameMode;    // the window is GLUT's game mode
    int fullScreen;  // the window covers the screen
    int scaled;      // the display's scale has been reported
    int pointerMoved;  // a pointer report waits for the monitors to settle
    int pointerSince;  // ms, when it came
    int pointerX, pointerY;  // in the window, for where the screen's position is unknown
};

static glutwindow Glut = {-1, 0, 0, 0, 0, 0, 0, 0};

void startGlut(int* argc, char** argv) { glutInit(argc, argv); }

// ---- Display mode and game mode ---------------------------------------------------
unsigned int glutDisplayModeFor(const windowrequest* r)
{
    unsigned int mode = GLUT_RGB | GLUT_SINGLE;
    if (r->doubleBuffered) mode = GLUT_DOUBLE;
    if (r->multiSample) mode |= GLUT_MULTISAMPLE;
    return mode;
}

// Sets the display mode, dropping multisampling when no visual offers it
// rather than letting GLUT end the process. Returns the multisampling made.
static int initDisplayMode(const windowrequest* r)
{
    glutInitDisplayMode(glutDisplayModeFor(r));
    if (!r->multiSample || Platform.displayModePossible()) return r->multiSample;
    windowrequest single = *r;
    single.multiSample = 0;
    glutInitDisplayMode(glutDisplayModeFor(&single));
    return 0;
}

// No mode chosen, on Windows: a full-screen window without game mode, which
// Windows ties to the primary monitor, so that the window spans them all.
static int coverAllMonitorsOnly(const windowrequest* r)
{
#ifdef _WIN32
    return r->gameMode[0] == '\0';
#else
    return 0;
#endif
}

// 1 when the requested full-screen mode can be entered.
static int gameModePossible(const windowrequest* r)
{
    if (r->gameMode[0] == '\0') return 1;  // all defaults: GLUT's current mode, unchecked
    glutGameModeString(r->gameMode);
    return glutGameModeGet(GLUT_GAME_MODE_POSSIBLE) != 0;
}

// ---- Reports: GLUT callbacks passed on to WindowEvents ----------------------------
// Monitors added, removed, moved or resized: the full-screen window and its
// pictures follow, before anything that happened on them is reported.
static void followMonitors()
{
    if (!monitorsChanged(Glut.fullScreen) || !Glut.fullScreen) return;
    coverMonitors();
    readMonitors(Glut.fullScreen);
    WindowEvents.placed();
}

// The waiting pointer report, once the monitors had time to settle: in
// screen coordinates, where the pointer is now.
static void reportPointer()
{
    if (!Glut.pointerMoved || (unsigned int)(glutGet(GLUT_ELAPSED_TIME) - Glut.pointerSince) < POINTER_SETTLE_MS) return;
    Glut.pointerMoved = 0;
    int x = Glut.pointerX, y = Glut.pointerY;
    screenPointer(&x, &y);  // also brings in every layout change sent before it
    followMonitors();
    WindowEvents.pointerMoved(x, y);
}

static void glutIdle()
{
    followMonitors();
    reportPointer();
    WindowEvents.idle();
}
static void glutDisplay() { WindowEvents.display(); }
static void glutReshape(int w, int h) { WindowEvents.resized(w, h); }
static void glutPosition(int x, int y) { WindowEvents.placed(); }
static void glutKeyboard(unsigned char key, int x, int y) { WindowEvents.key(key, x, y); }
static void glutSpecial(int key, int x, int y) { WindowEvents.specialKey(key, x, y); }
static void glutMouse(int button, int state, int x, int y) { WindowEvents.mouseButton(button, state, x, y); }

// Reported in screen coordinates: the window grows over the monitors and
// moves with them under a pointer that rests.
static void glutPassiveMotion(int x, int y)
{
    if (!Glut.pointerMoved) Glut.pointerSince = glutGet(GLUT_ELAPSED_TIME);
    Glut.pointerMoved = 1;
    Glut.pointerX = x;
    Glut.pointerY = y;
    reportPointer();
}

// ---- createWindow ------------------------------------------------------------
// Sized to the display's scale, as the menu's text is.
static int createPlainWindow(const windowrequest* r)
{
    int w = (int)(r->width * WindowState.scale), h = (int)(r->height * WindowState.scale);
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
    glutInitDisplayMode(glutGet(GLUT_INIT_DISPLAY_MODE) | fullScreenModeBits());
    int id = glutCreateWindow(WINDOW_TITLE);
    glutFullScreen();
    return id;
}

// A hidden or fully covered window neither steps nor draws; without an idle
// callback glutMainLoop sleeps until the next event.
static void windowStatusFunc(int state)
{
    int shown = state == GLUT_FULLY_RETAINED || state == GLUT_PARTIALLY_RETAINED;
    WindowEvents.shown(shown);
    glutIdleFunc(shown ? glutIdle : nullptr);
}

static void glutCreate(const windowrequest* r)
{
    if (Glut.id != -1) return;
    if (!Glut.scaled) {  // once: the plain window and the menu's text grow with it
        Glut.scaled = 1;
        WindowState.scale = displayScale();
        WindowEvents.scaled(WindowState.scale);
    }

    windowmade made = {};
    made.doubleBuffered = r->doubleBuffered;
    made.multiSample = initDisplayMode(r);
    // A mode the screen cannot take cancels full screen, except where the
    // request must cover the screen: the full-screen window at the screen's
    // own mode takes its place.
    int modePossible = !r->fullScreen || gameModePossible(r);
    made.modeRefused = !modePossible;
    made.fullScreen = r->fullScreen && (modePossible || r->coverWhenModeRefused);

    int tryGameMode = modePossible && !coverAllMonitorsOnly(r);
    int id = -1;
    if (made.fullScreen) {
        if (tryGameMode) id = glutEnterGameMode();
        if (id > 0) {
            made.gameMode = 1;
        } else {
            made.modeUnchangeable = tryGameMode;
            id = createFullScreenWindow();
        }
    } else {
        id = createPlainWindow(r);
    }
    Glut = {id, made.gameMode, made.fullScreen, Glut.scaled, 0, 0, 0, 0};
    WindowState.activeGameMode = made.gameMode;
    made.windowId = id;
    WindowState.contextGeneration++;  // textures and kept frames of the old context mean nothing here
    WindowEvents.created(&made);
    giveWindowToOwner();
    if (Glut.fullScreen) coverMonitors();
    readMonitors(Glut.fullScreen);

    glutSetCursor(r->cursor == CURSOR_NONE ? GLUT_CURSOR_NONE : GLUT_CURSOR_CROSSHAIR);

    glutDisplayFunc(glutDisplay);
    glutReshapeFunc(glutReshape);
    glutPositionFunc(glutPosition);
    glutIdleFunc(glutIdle);
    glutKeyboardFunc(glutKeyboard);
    glutSpecialFunc(glutSpecial);
    glutMouseFunc(glutMouse);
    glutPassiveMotionFunc(glutPassiveMotion);
    glutWindowStatusFunc(windowStatusFunc);
}

// ---- destroyWindow ---------------------------------------------------------------
static void glutDestroy()
{
    if (Glut.id != -1) {
        if (Glut.gameMode) glutLeaveGameMode();
        else glutDestroyWindow(Glut.id);
    }
    Glut = {-1, 0, 0, Glut.scaled, 0, 0, 0, 0};
    WindowState.activeGameMode = 0;
}

// ---- GLUT_PLATFORM ------------------------------------------------------------------
static int glutElapsedTime() { return glutGet(GLUT_ELAPSED_TIME); }

// GLUT's fonts for the names the menu uses.
static void* glutFont(fontname font)
{
    switch (font) {
    case FONT_HELVETICA_18: return GLUT_BITMAP_HELVETICA_18;
    case FONT_HELVETICA_12: return GLUT_BITMAP_HELVETICA_12;
    case FONT_STROKE_ROMAN: return GLUT_STROKE_ROMAN;
    default: return GLUT_BITMAP_HELVETICA_10;
    }
}

// Wrapped rather than taken by address: GLUT's own calling convention may differ.
static void glutLoop() { glutMainLoop(); }
static void glutRedisplay() { glutPostRedisplay(); }
static void glutSwap() { glutSwapBuffers(); }
static void glutTitle(const char* title) { glutSetWindowTitle(title); }
static int glutModifiers() { return glutGetModifiers(); }
static void glutCharacter(fontname font, int c) { glutBitmapCharacter(glutFont(font), c); }
static int glutCharacterWidth(fontname font, int c) { return glutBitmapWidth(glutFont(font), c); }
static void glutStroke(fontname font, int c) { glutStrokeCharacter(glutFont(font), c); }
static float glutStrokeAdvance(fontname font, int c) { return glutStrokeWidthf(glutFont(font), c); }
static int glutDisplayModePossible() { return glutGet(GLUT_DISPLAY_MODE_POSSIBLE); }

const platform GLUT_PLATFORM = {
    .elapsedTime = glutElapsedTime,
    .sleep = systemSleep,
    .createWindow = glutCreate,
    .destroyWindow = glutDestroy,
    .mainLoop = glutLoop,
    .postRedisplay = glutRedisplay,
    .swapBuffers = glutSwap,
    .presentPixels = presentPixelsToWindow,
    .setWindowTitle = glutTitle,
    .modifiers = glutModifiers,
    .pointerPosition = screenPointer,
    .bitmapCharacter = glutCharacter,
    .bitmapWidth = glutCharacterWidth,
    .strokeCharacter = glutStroke,
    .strokeWidth = glutStrokeAdvance,
    .pointSizeRange = openglPointSizeRange,
    .pointSizeGranularity = openglPointSizeGranularity,
    .displayModePossible = glutDisplayModePossible,
    .syncFile = systemSyncFile,
};
