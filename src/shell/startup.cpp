// Start-up, run modes and the idle step.
//
// Index
//   - Run modes: findstr, strcmpleft, screenSaverMode
//   - Settings: readIniFile
//   - Idle step: idleFunc, windowShown
//   - Start-up: vyrMain
#include "shell/startup.h"

#include <GL/glut.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "engine/attractor.h"
#include "engine/numeric.h"
#include "engine/random.h"
#include "engine/timing.h"
#include "menu/mainmenu.h"
#include "menu/settings.h"
#include "render/hostwindow.h"
#include "render/window.h"
#include "shell/hosted.h"
#include "shell/options.h"
#include "shell/platform.h"
#include "shell/process.h"
#include "shell/settingsfile.h"
#include "shell/state.h"

constexpr int LIMIT_CPU_SLEEP_MS = 12;

static const char* const CONFIGURE_SWITCHES[] = {"-C", "/C", "C", "-c", "/c", "c", nullptr};
static const char* const PREVIEW_SWITCHES[] = {"-P", "/P", "P", "-p", "/p", "p", nullptr};

// ---- Run modes ---------------------------------------------------------------
int strcmpleft(const char* prefix, const char* s)
{
    for (; *prefix; prefix++, s++) {
        if (*prefix != *s) return 0;  // also stops at the end of s
    }
    return 1;
}

int findstr(const char* s, const char* const* list)
{
    for (; *list; list++) {
        if (strcmpleft(*list, s)) return 1;
    }
    return 0;
}

int screenSaverMode(int argc, char** argv)
{
    for (int i = 1; i < argc; i++) {
        if (findstr(argv[i], CONFIGURE_SWITCHES)) return MODE_CONFIGURE;
        if (findstr(argv[i], PREVIEW_SWITCHES)) return MODE_PREVIEW;
    }
    return MODE_SCREENSAVER;
}

// ---- Settings --------------------------------------------------------------------
void readIniFile(int argc, char** argv)
{
    FILE* file = openSettingsForReading(SETTINGS_FILE_NAME);
    bool readable = file != nullptr;
    if (file) {
        // A read error ends the loading, keeping the values read before it.
        menuLoad(ApplicationData.currentMenu, file);
        readable = ferror(file) == 0;
        fclose(file);
    }
    if (!readable) puts("Cannot read file VYR.ini");
    applySettingOptions(ApplicationData.currentMenu, argc, argv);  // the command line wins over the file
    menuInit(ApplicationData.currentMenu);
}

// ---- Idle step -------------------------------------------------------------------
// Only drawn frames count for the frame-rate measurement: a step whose frame
// has not been drawn (the window was hidden) is not followed by another.
void idleFunc()
{
    if (ApplicationData.paused || ApplicationData.framePending) return;
    evolve();
    ApplicationData.framePending = 1;
    Platform.postRedisplay();
    if (ApplicationData.limitCPUUsage) Sleep(LIMIT_CPU_SLEEP_MS);
}

void windowShown(int shown)
{
    if (!shown) {
        pauseAnimation();
        return;
    }
    resumeAnimation();
    ApplicationData.framePending = 0;  // the window system may have dropped it
}

// ---- Start-up --------------------------------------------------------------------
int vyrMain(int argc, char** argv)
{
    // Before any file is opened: a closed standard stream would hand its
    // number to the next file, and console lines would go into it.
    openClosedStandardStreams();
    if (infoOption(&MainMenu, argc, argv)) return 0;  // --help, --version
    ApplicationData.runMode = screenSaverMode(argc, argv);
    if (ApplicationData.runMode == MODE_CONFIGURE) MainMenu.visible = 1;
    if (ApplicationData.runMode == MODE_PREVIEW) return 0;

    // A screen saver handed a window by its host draws inside it.
    unsigned long hostWindow = 0;
    int hosted = HOST_WINDOW_NONE;
    if (ApplicationData.runMode == MODE_SCREENSAVER) hosted = hostWindowFromArguments(argc, argv, getenv("XSCREENSAVER_WINDOW"), &hostWindow);
    if (hosted == HOST_WINDOW_INVALID) return 1;

    bufferConsoleLines();
    installSignalHandlers();
    // A host ends its saver with a signal: for a hosted run that is the normal end.
    if (hosted == HOST_WINDOW_GIVEN) setSignalExitStatus(0);

    seedRandom((uint32_t)time(nullptr));
    initCos();
    ApplicationData.currentMenu = &MainMenu;
    readIniFile(argc, argv);
    allocAttractor(&ApplicationData.attractor1);
    allocAttractor(&ApplicationData.attractor2);

    if (hosted == HOST_WINDOW_GIVEN) {
        if (!useHostWindow(hostWindow)) return 1;
    } else {
        glutInit(&argc, argv);
    }
    Platform.createWindow();
    puts("Entering main loop, press [Escape] for menu, use arrows to navigate.");
    Platform.mainLoop();  // a hosted run returns here when its host window is gone
    return 0;
}
