// Keyboard and mouse input, and the menu's commands.
//
// Index
//   - Input callbacks: keyboardFunc, specialFunc, mouseFunc, passiveMotionFunc, restartPointerWatch
//   - Settings file: writeIniFile
//   - Commands: resetExecute, saveExecute, quitExecute
#include "app/input.h"

#include <cstdio>
#include <cstdlib>

#include "app/mainmenu.h"
#include "menu/navigation.h"
#include "menu/settings.h"
#include "core/process.h"
#include "core/platform.h"
#include "core/settingsfile.h"
#include "core/appdata.h"
#include "core/run.h"
#include "core/windowstate.h"

constexpr int SCREENSAVER_MOUSE_TRAVEL = 10;  // pixels the pointer may drift in screen-saver mode

// ---- Input callbacks ---------------------------------------------------------
// A shortcut toggle: the requested flag and its check box change together; the
// window follows at the next animation step.
static void toggle(int* flag, checkbox* box)
{
    *flag = *flag == 0 ? 1 : 0;
    box->value = *flag;
}

void keyboardFunc(unsigned char key, int x, int y)
{
    if (ApplicationData.runMode == MODE_SCREENSAVER) exit(0);
    switch (key) {
    case 'd': toggle(&ApplicationData.doubleBuffered, &CheckBoxDoubleBuffered_DATA); break;
    case 'f': toggle(&ApplicationData.fullScreen, &CheckBoxFullScreen_DATA); break;
    case 'm': toggle(&ApplicationData.multiSample, &CheckBoxMultiSample_DATA); break;
    case 'q': quitExecute(); break;
    case 'r': resetExecute(); break;
    case 's': saveExecute(); break;
    default: menuKeyboard(ApplicationData.currentMenu, key); break;
    }
}

void specialFunc(int key, int x, int y)
{
    if (ApplicationData.runMode == MODE_SCREENSAVER) exit(0);
    menuSpecial(ApplicationData.currentMenu, key);
}

void mouseFunc(int button, int state, int x, int y)
{
    if (ApplicationData.runMode == MODE_SCREENSAVER) exit(0);
    // Every point jumps to the pointer, mirrored horizontally, in the picture
    // under it (its monitor's, or the whole window); the cloud re-forms from there.
    pixelrect r = {0, 0, ApplicationData.width, ApplicationData.height};
    for (int i = 0; i < WindowState.monitorCount; i++) {
        pixelrect m = WindowState.monitors[i];
        if (x >= m.x && x < m.x + m.width && y >= m.y && y < m.y + m.height) r = m;
    }
    float px = (float)(1.0 - 2.0 * (x - r.x) / r.width);
    float py = (float)(1.0 - 2.0 * (y - r.y) / r.height);
    for (int i = 0; i < ApplicationData.pointCount; i++) {
        ApplicationData.points[i].x = px;
        ApplicationData.points[i].y = py;
    }
}

void restartPointerWatch()
{
    int x = -1, y = -1;
    if (!Platform.pointerPosition(&x, &y)) x = y = -1;
    ApplicationData.mouseStartX = x;
    ApplicationData.mouseStartY = y;
}

void passiveMotionFunc(int x, int y)
{
    if (ApplicationData.runMode != MODE_SCREENSAVER) return;
    if (ApplicationData.mouseStartX == -1) {  // no reference yet: this report sets it
        ApplicationData.mouseStartX = x;
        ApplicationData.mouseStartY = y;
        return;
    }
    long long d = llabs((long long)ApplicationData.mouseStartX - x) +
                  llabs((long long)ApplicationData.mouseStartY - y);
    if (d > SCREENSAVER_MOUSE_TRAVEL) exit(0);
}

// ---- Settings file ------------------------------------------------------------------
// 1 when the last failure went into a message box: the window stays open, so
// that the person can try again or quit.
static int failureShown = 0;

int writeIniFile()
{
    // The whole text first: the file is written in one go, or not at all.
    char text[SETTINGS_TEXT_SIZE];
    size_t length = menuFormat(ApplicationData.currentMenu, text, sizeof text);
    clearSystemError();
    if (length < sizeof text && replaceSettingsFile(Run.settingsPath, text, length)) return 1;
    failureShown = reportFailure("Cannot write fileVYR.ini", Run.settingsPath);
    return 0;
}

// ---- Commands ---------------------------------------------------------------------------
void resetExecute()
{
    // An empty file gives no values: every row keeps its default at the next start.
    clearSystemError();
    if (emptySettingsFile(Run.settingsPath)) {
        puts("Settings reset, restart the application");
    } else if (reportFailure("Cannot write fileVYR.ini", Run.settingsPath)) {
        return;
    }
    exit(0);
}

void saveExecute()
{
    if (!writeIniFile() && failureShown) return;
    exit(0);
}

void quitExecute() { exit(0); }
