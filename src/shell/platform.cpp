// The real platform services: GLUT, OpenGL and POSIX.
#include "shell/platform.h"

#include <GL/glut.h>
#include <time.h>
#include <unistd.h>

static int glutElapsedTime() { return glutGet(GLUT_ELAPSED_TIME); }

static void nanoSleep(int ms)
{
    if (ms <= 0) return;
    timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0) {}  // resume after a signal
}

static void glutTitle(const char* title) { glutSetWindowTitle(title); }
static int glutModifiers() { return glutGetModifiers(); }
static void glPointSizeRange(float* lo, float* hi)
{
    float range[2] = {*lo, *hi};
    glGetFloatv(GL_POINT_SIZE_RANGE, range);
    *lo = range[0];
    *hi = range[1];
}
static void glPointSizeGranularity(float* g) { glGetFloatv(GL_POINT_SIZE_GRANULARITY, g); }

static int glutDisplayModePossible() { return glutGet(GLUT_DISPLAY_MODE_POSSIBLE); }

const platform SYSTEM_PLATFORM = {
    .elapsedTime = glutElapsedTime,
    .sleep = nanoSleep,
    .setWindowTitle = glutTitle,
    .modifiers = glutModifiers,
    .pointSizeRange = glPointSizeRange,
    .pointSizeGranularity = glPointSizeGranularity,
    .displayModePossible = glutDisplayModePossible,
    .syncFile = fsync,
};

platform Platform = SYSTEM_PLATFORM;

int elapsedTime() { return Platform.elapsedTime(); }
void Sleep(int ms) { Platform.sleep(ms); }
