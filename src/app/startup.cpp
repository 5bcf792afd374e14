// Start-up: the run mode, the settings, the window back end, the main loop.
//
// Index
//   - Settings: readIniFile
//   - Engine start: startEngine
//   - Window events: connectWindowEvents
//   - Desktop surfaces: useDesktopSurfaces, followMonitors
//   - Start-up: settingsRule, placeSettingsFile, vyrMain
#include "app/startup.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/input.h"
#include "app/mainmenu.h"
#include "platform/monitors.h"
#include "app/usage.h"
#include "app/window.h"
#include "core/platform.h"
#include "core/process.h"
#include "core/settingsfile.h"
#include "core/appdata.h"
#include "core/run.h"
#include "engine/attractor.h"
#include "engine/numeric.h"
#include "engine/random.h"
#include "engine/step.h"
#include "menu/settings.h"
#ifndef _WIN32
#include "platform/x11/desktop.h"
#endif
#include "render/frame.h"
#if VYR_WAYLAND
#include "platform/wayland/wayland.h"
#endif

// ---- Settings --------------------------------------------------------------------
void readIniFile(const commandline* c)
{
    // A file kept where the user's settings used to be is read until the first save moves it.
    const char* former = Run.formerSettingsPath;
    const char* path = former[0] ? former : Run.settingsPath;
    clearSystemError();
    FILE* file = openSettingsForReading(path);
    int err = errno;
    bool readable = file != nullptr;
    if (file) {
        // A read error ends the loading, keeping the values read before it.
        menuLoad(ApplicationData.currentMenu, file);
        readable = ferror(file) == 0;
        err = errno;
        fclose(file);
    }
    // A host's log hears only of a file that is there but cannot be read.
    // The user's own file is named in full, with the reason.
    if (!readable && (!Run.hosted || !settingsFileMissing(path))) {
        FILE* out = Run.hosted ? stderr : stdout;
        fputs("Cannot read file VYR.ini\n", out);
        if (strcmp(path, SETTINGS_FILE_NAME) != 0) fprintf(out, "%s: %s\n", path, settingsFailureReason(err));
    }
    if (c) applyCommandLineSettings(c);  // the command line wins over the file
    menuInit(ApplicationData.currentMenu);
}

// ---- Engine start -----------------------------------------------------------------
void startEngine(uint32_t seed, const commandline* c)
{
    seedRandom(seed);
    initCos();
    ApplicationData.currentMenu = &MainMenu;
    if (c) readIniFile(c);
    else menuInit(ApplicationData.currentMenu);
    allocAttractor(&ApplicationData.attractor1);
    allocAttractor(&ApplicationData.attractor2);
}

// ---- Window events ------------------------------------------------------------
// A step checks the window first: a changed display flag takes a new one.
static void windowIdle()
{
    if (stepDue()) evolveWindow();
    idleFunc();
}

static void windowResized(int width, int height)
{
    reshapeFunc(width, height);
    restartPointerWatch();
}

void connectWindowEvents()
{
    WindowEvents = {
        .created = windowCreated,
        .idle = windowIdle,
        .display = displayFunc,
        .resized = windowResized,
        .placed = restartPointerWatch,
        .scaled = windowScaled,
        .shown = windowShown,
        .activated = windowActivated,
        .key = keyboardFunc,
        .specialKey = specialFunc,
        .mouseButton = mouseFunc,
        .pointerMoved = passiveMotionFunc,
    };
}

// ---- Desktop surfaces -----------------------------------------------------------
// The screen saver and the wallpaper on a Wayland compositor with layer-shell
// (WAYLAND_DISPLAY set), and the wallpaper on X11 in a desktop window.
enum { SURFACES_NONE, SURFACES_WAYLAND, SURFACES_DESKTOP_WINDOW, SURFACES_FAILED };

static int useDesktopSurfaces(int runMode)
{
    bool wallpaper = runMode == MODE_WALLPAPER;
    if (runMode != MODE_SCREENSAVER && !wallpaper) return SURFACES_NONE;
    const char* wayland = getenv("WAYLAND_DISPLAY");
    const char* x11 = getenv("DISPLAY");
    if (!wayland || !wayland[0]) {
        if (!wallpaper) return SURFACES_NONE;  // the saver's X11 window
#ifndef _WIN32
        if (x11 && x11[0]) {
            unsigned long window = createDesktopWindow();
            return window && openHostWindow(window, 0) ? SURFACES_DESKTOP_WINDOW : SURFACES_FAILED;
        }
#endif
        fputs("vyr --wallpaper needs a Wayland compositor (WAYLAND_DISPLAY) or an X display (DISPLAY).\n", stderr);
        return SURFACES_FAILED;
    }
    char missing[256] = "This vyr was built without its Wayland back end.";
#if VYR_WAYLAND
    if (openWayland(wallpaper ? WAYLAND_WALLPAPER : WAYLAND_SAVER, missing, sizeof missing)) return SURFACES_WAYLAND;
#endif
    // The saver falls back to its full-screen window through XWayland.
    if (!wallpaper && x11 && x11[0]) return SURFACES_NONE;
    fprintf(stderr, "%s\n", missing);
    return SURFACES_FAILED;
}

#ifndef _WIN32
// The X11 wallpaper's window and pictures follow the monitors before each step.
static void followMonitors()
{
    if (monitorsChanged(1)) {
        fitDesktopWindow();
        readMonitors(1);
    }
    windowIdle();
}
#endif

// ---- Start-up --------------------------------------------------------------------
// The runs a host or a desktop starts keep one settings file per user; a
// run started in a folder keeps that folder's. A run mode opts in here.
static int settingsRule(const commandline* c, int hosted)
{
    bool started = hosted == HOST_WINDOW_GIVEN || c->runMode == MODE_WALLPAPER;
    return started || c->userSettings ? SETTINGS_PER_USER : SETTINGS_HERE;
}

// Where this run reads and saves its settings, into ApplicationData.
static void placeSettingsFile(int rule)
{
    if (!settingsFilePath(rule, Run.settingsPath, sizeof Run.settingsPath)) {
        fputs("No home folder (HOME is unset and the password database names none): "
              "the settings file is VYR.ini in the current folder\n", stderr);
    }
    formerSettingsFilePath(rule, Run.settingsPath, Run.formerSettingsPath,
                           sizeof Run.formerSettingsPath);
}

int vyrMain(int argc, char** argv)
{
    // Before any file is opened: a closed standard stream would hand its
    // number to the next file, and console lines would go into it.
    openClosedStandardStreams();
    static commandline c;  // large: kept off the stack
    readCommandLine(&MainMenu, argc, argv, getenv("XSCREENSAVER_WINDOW"), &c);
    // A screen saver handed a window by its host draws inside it.
    int hosted = c.runMode == MODE_SCREENSAVER ? c.host : HOST_WINDOW_NONE;
    // The wallpaper is started by the session, in no folder of the user's: it
    // is as quiet as a hosted run.
    int wallpaper = c.runMode == MODE_WALLPAPER;
    placeSettingsFile(settingsRule(&c, hosted));
    if (c.info == INFO_HELP) {
        printUsage(&MainMenu, stdout);
        printSettingsPath(Run.settingsPath, Run.formerSettingsPath, stdout);
    }
    if (c.info == INFO_VERSION) printVersion(&MainMenu, stdout);
    if (c.info != INFO_NONE) return 0;
    ApplicationData.runMode = c.runMode;
    if (ApplicationData.runMode == MODE_CONFIGURE) MainMenu.visible = 1;
    // The preview draws only where the switch hands over a window (the
    // Windows control panel's little monitor); elsewhere it returns at once.
    int preview = ApplicationData.runMode == MODE_PREVIEW;
    if (preview && !(PREVIEW_DRAWS && c.previewWindow)) return 0;

    if (hosted == HOST_WINDOW_INVALID) {
        fprintf(stderr, "%s\n", c.hostComplaint);
        return 1;
    }
    if (preview) hosted = HOST_WINDOW_GIVEN;
    Run.hosted = hosted == HOST_WINDOW_GIVEN || wallpaper;
    // A window that cannot be used ends the run before anything else; a
    // preview quietly, as the control panel may hand over a stale handle.
    if (hosted == HOST_WINDOW_GIVEN && !openHostWindow(preview ? c.previewWindow : c.hostWindow, preview)) {
        return preview ? 0 : 1;
    }
    int surfaces = hosted == HOST_WINDOW_GIVEN ? SURFACES_NONE : useDesktopSurfaces(c.runMode);
    if (surfaces == SURFACES_FAILED) return 1;

    bufferConsoleLines();
    // In every mode a terminating signal ends the run by that signal, as
    // hosts expect of their savers, once a pending temporary file is gone.
    installSignalHandlers();

    startEngine(c.seedGiven ? (uint32_t)c.seed : systemSeed(), &c);
    RenderOptions.renderer = c.renderer;

    connectWindowEvents();
    if (surfaces == SURFACES_WAYLAND) {
#if VYR_WAYLAND
        Platform = WAYLAND_PLATFORM;
#endif
    } else if (Run.hosted) {
        Platform = HOSTED_PLATFORM;
    } else {
        startGlut(&argc, argv);
        Platform = GLUT_PLATFORM;
        if (ApplicationData.runMode == MODE_CONFIGURE) useOwnerWindow(c.ownerWindow);
    }
    createWindow();
#ifndef _WIN32
    if (surfaces == SURFACES_DESKTOP_WINDOW) {  // over the whole screen: a picture on each monitor
        readMonitors(1);
        WindowEvents.idle = followMonitors;
    }
#endif
    // No menu can open in a host's window or a preview, and a host's log
    // wants no chatter.
    if (!Run.hosted) puts("Entering main loop, press [Escape] for menu, use arrows to navigate.");
    Platform.mainLoop();  // a hosted run returns here when its host window is gone
    return 0;
}
