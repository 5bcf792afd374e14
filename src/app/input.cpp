// Keyboard and mouse input: the screen saver's end, the shortcut letters,
// the menu's keys and the click that gathers the points.
#include "app/input.h"

#include <cstdlib>

#include "app/commands.h"
#include "app/mainmenu.h"
#include "menu/navigation.h"
#include "core/platform.h"
#include "core/appdata.h"
#include "core/windowstate.h"

constexpr int SCREENSAVER_MOUSE_TRAVEL = 10;  // pixels the pointer may drift in screen-saver mode

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
