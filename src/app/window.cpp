// The window management policy, the same for every back end.
#include "app/window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/input.h"
#include "app/mainmenu.h"
#include "core/appdata.h"
#include "core/run.h"
#include "menu/paint.h"
#include "render/frame.h"

constexpr int PLAIN_WINDOW_WIDTH = 640;
constexpr int PLAIN_WINDOW_HEIGHT = 480;

static windowrequest Request = {};  // the last window asked for

// ---- Request ----------------------------------------------------------------------
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

windowrequest windowRequest()
{
    windowrequest r = {};
    int saver = ApplicationData.runMode == MODE_SCREENSAVER;
    r.fullScreen = ApplicationData.fullScreen;
    r.coverWhenModeRefused = saver;  // a screen saver must cover the screen
    buildGameModeString(r.gameMode, sizeof r.gameMode);
    r.doubleBuffered = ApplicationData.doubleBuffered;
    r.multiSample = ApplicationData.multiSample;
    r.cursor = saver ? CURSOR_NONE : CURSOR_CROSSHAIR;
    r.width = PLAIN_WINDOW_WIDTH;
    r.height = PLAIN_WINDOW_HEIGHT;
    return r;
}

// ---- Window ---------------------------------------------------------------------------
void createWindow()
{
    if (ApplicationData.windowId != -1) return;
    Request = windowRequest();
    Platform.createWindow(&Request);
}

void destroyWindow()
{
    Platform.destroyWindow();
    ApplicationData.windowId = -1;
}

void evolveWindow()
{
    if (ApplicationData.multiSample != ApplicationData.activeMultiSample ||
        ApplicationData.doubleBuffered != ApplicationData.activeDoubleBuffered ||
        ApplicationData.fullScreen != ApplicationData.activeFullScreen || ApplicationData.fullScreenParamChanged) {
        destroyWindow();
        createWindow();
    }
}

// ---- Reports ------------------------------------------------------------------------------
void cancelMultiSample()
{
    // A host's log hears nothing of it: the picture still shows.
    if (!Run.hosted) puts("Multisampling is not available. It has been canceled.");
    ApplicationData.multiSample = 0;
    CheckBoxMultiSample_DATA.value = 0;
}

void windowCreated(const windowmade* made)
{
    if (Request.multiSample && !made->multiSample) cancelMultiSample();
    if (made->modeRefused) {
        printf("Unsupported display mode (%s). Fullscreen has been canceled.\n", Request.gameMode);
        if (!made->fullScreen) ApplicationData.fullScreen = 0;
    }
    if (made->modeUnchangeable) puts("The screen mode cannot be changed; using a full-screen window instead.");
    CheckBoxFullScreen_DATA.value = ApplicationData.fullScreen;  // a cancelled full screen unchecked

    ApplicationData.windowId = made->windowId;
    ApplicationData.activeDoubleBuffered = made->doubleBuffered;
    ApplicationData.activeMultiSample = made->multiSample;
    ApplicationData.activeFullScreen = made->fullScreen;
    ApplicationData.fullScreenParamChanged = 0;
    frameContextChanged();
    restartPointerWatch();
}

void windowScaled(float scale) { MenuScale = scale; }

void windowActivated(int active)
{
    if (!active && ApplicationData.runMode == MODE_SCREENSAVER) exit(0);
}
