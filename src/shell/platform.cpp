// The real platform services: GLUT and OpenGL; the system's sleep and file
// sync come from platform_posix.cpp or platform_windows.cpp.
//
// Index
//   - GLUT and system services
//   - SYSTEM_PLATFORM, Platform
//   - Shorthands
#include "shell/platform.h"

#include <GL/glut.h>

#include "render/window.h"

// ---- GLUT and system services ------------------------------------------------
static int glutElapsedTime() { return glutGet(GLUT_ELAPSED_TIME); }

// Wrapped rather than taken by address: GLUT's own calling convention may differ.
static void glutLoop() { glutMainLoop(); }
static void glutRedisplay() { glutPostRedisplay(); }
static void glutSwap() { glutSwapBuffers(); }
static void glutTitle(const char* title) { glutSetWindowTitle(title); }
static int glutModifiers() { return glutGetModifiers(); }
static void glutCharacter(void* font, int c) { glutBitmapCharacter(font, c); }
static int glutCharacterWidth(void* font, int c) { return glutBitmapWidth(font, c); }
static void glPointSizeRange(float* lo, float* hi)
{
    float range[2] = {*lo, *hi};
    glGetFloatv(GL_POINT_SIZE_RANGE, range);
    *lo = range[0];
    *hi = range[1];
}
static void glPointSizeGranularity(float* g) { glGetFloatv(GL_POINT_SIZE_GRANULARITY, g); }

static int glutDisplayModePossible() { return glutGet(GLUT_DISPLAY_MODE_POSSIBLE); }

// ---- SYSTEM_PLATFORM, Platform -------------------------------------------------
const platform SYSTEM_PLATFORM = {
    .elapsedTime = glutElapsedTime,
    .sleep = systemSleep,
    .createWindow = createWindow,
    .destroyWindow = destroyWindow,
    .mainLoop = glutLoop,
    .postRedisplay = glutRedisplay,
    .swapBuffers = glutSwap,
    .setWindowTitle = glutTitle,
    .modifiers = glutModifiers,
    .bitmapCharacter = glutCharacter,
    .bitmapWidth = glutCharacterWidth,
    .pointSizeRange = glPointSizeRange,
    .pointSizeGranularity = glPointSizeGranularity,
    .displayModePossible = glutDisplayModePossible,
    .syncFile = systemSyncFile,
};

platform Platform = SYSTEM_PLATFORM;

// ---- Shorthands ----------------------------------------------------------------
int elapsedTime() { return Platform.elapsedTime(); }
void Sleep(int ms) { Platform.sleep(ms); }
