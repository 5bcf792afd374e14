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
void openglPointSizeRange(float* lo, float* hi)
{
    float range[2] = {*lo, *hi};
    glGetFloatv(GL_POINT_SIZE_RANGE, range);
    *lo = range[0];
    *hi = range[1];
}
void openglPointSizeGranularity(float* g) { glGetFloatv(GL_POINT_SIZE_GRANULARITY, g); }

// ---- SYSTEM_PLATFORM, Platform -------------------------------------------------
static void noWindow() {}
static void noRequest(const windowrequest*) {}
static void noTitle(const char*) {}
int noModifiers() { return 0; }
int noPointer(int*, int*) { return 0; }
void noCharacter(fontname, int) {}
int noCharacterWidth(fontname, int) { return 0; }
float noStrokeWidth(fontname, int) { return 0; }
int anyDisplayMode() { return 1; }
int noPresentation(const unsigned char*, int, int, int) { return 0; }

const platform SYSTEM_PLATFORM = windowSeamPlatform(noRequest, noWindow, noWindow, noWindow, noWindow, noPresentation, noTitle);

platform Platform = SYSTEM_PLATFORM;

// ---- NO_WINDOW_EVENTS, WindowEvents ----------------------------------------------
static void ignoreMade(const windowmade*) {}
static void ignoreSize(int, int) {}
static void ignoreScale(float) {}
static void ignoreShown(int) {}
static void ignoreKey(unsigned char, int, int) {}
static void ignoreSpecialKey(int, int, int) {}
static void ignoreButton(int, int, int, int) {}

const windowevents NO_WINDOW_EVENTS = {
    .created = ignoreMade,
    .idle = noWindow,
    .display = noWindow,
    .resized = ignoreSize,
    .placed = noWindow,
    .scaled = ignoreScale,
    .shown = ignoreShown,
    .activated = ignoreShown,
    .key = ignoreKey,
    .specialKey = ignoreSpecialKey,
    .mouseButton = ignoreButton,
    .pointerMoved = ignoreSize,
};

windowevents WindowEvents = NO_WINDOW_EVENTS;

// ---- Shorthands ----------------------------------------------------------------
int elapsedTime() { return Platform.elapsedTime(); }
void Sleep(int ms) { Platform.sleep(ms); }
