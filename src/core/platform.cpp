// The system services without a window, and the empty window events.
//
// Index
//   - OpenGL queries
//   - SYSTEM_PLATFORM, Platform
//   - NO_WINDOW_EVENTS, WindowEvents
//   - Shorthands
#include "core/platform.h"

#include <GL/gl.h>

// ---- OpenGL queries ----------------------------------------------------------------
static void glPointSizeRange(float* lo, float* hi)
{
    float range[2] = {*lo, *hi};
    glGetFloatv(GL_POINT_SIZE_RANGE, range);
    *lo = range[0];
    *hi = range[1];
}
static void glPointSizeGranularity(float* g) { glGetFloatv(GL_POINT_SIZE_GRANULARITY, g); }

// ---- SYSTEM_PLATFORM, Platform -------------------------------------------------
static void noWindow() {}
static void noTitle(const char*) {}
static int noModifiers() { return 0; }
static void noCharacter(void*, int) {}
static int noCharacterWidth(void*, int) { return 0; }
static float noStrokeWidth(void*, int) { return 0; }
static int anyDisplayMode() { return 1; }
static int noPresentation(const unsigned char*, int, int, int) { return 0; }

const platform SYSTEM_PLATFORM = {
    .elapsedTime = systemElapsedTime,
    .sleep = systemSleep,
    .createWindow = noWindow,
    .destroyWindow = noWindow,
    .mainLoop = noWindow,
    .postRedisplay = noWindow,
    .swapBuffers = noWindow,
    .presentPixels = noPresentation,
    .setWindowTitle = noTitle,
    .modifiers = noModifiers,
    .bitmapCharacter = noCharacter,
    .bitmapWidth = noCharacterWidth,
    .strokeCharacter = noCharacter,
    .strokeWidth = noStrokeWidth,
    .pointSizeRange = glPointSizeRange,
    .pointSizeGranularity = glPointSizeGranularity,
    .displayModePossible = anyDisplayMode,
    .syncFile = systemSyncFile,
};

platform Platform = SYSTEM_PLATFORM;

// ---- NO_WINDOW_EVENTS, WindowEvents ----------------------------------------------
static void ignoreSize(int, int) {}
static void ignoreShown(int) {}
static void ignoreKey(unsigned char, int, int) {}
static void ignoreSpecialKey(int, int, int) {}
static void ignoreButton(int, int, int, int) {}

const windowevents NO_WINDOW_EVENTS = {
    .idle = noWindow,
    .display = noWindow,
    .resized = ignoreSize,
    .shown = ignoreShown,
    .key = ignoreKey,
    .specialKey = ignoreSpecialKey,
    .mouseButton = ignoreButton,
    .pointerMoved = ignoreSize,
};

windowevents WindowEvents = NO_WINDOW_EVENTS;

// ---- Shorthands ----------------------------------------------------------------
int elapsedTime() { return Platform.elapsedTime(); }
void Sleep(int ms) { Platform.sleep(ms); }
