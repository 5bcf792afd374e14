// Keyboard and mouse input, and the menu's commands.
//
// Index
//   - Input callbacks: keyboardFunc, specialFunc, mouseFunc, passiveMotionFunc
//   - Settings file: writeIniFile
//   - Commands: resetExecute, saveExecute, quitExecute
#include "shell/input.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "menu/mainmenu.h"
#include "menu/navigation.h"
#include "menu/settings.h"
#include "shell/startup.h"
#include "shell/state.h"

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
    // Every point jumps to the pointer, mirrored horizontally; the cloud re-forms from there.
    float px = (float)(1.0 - 2.0 * x / ApplicationData.width);
    float py = (float)(1.0 - 2.0 * y / ApplicationData.height);
    for (int i = 0; i < ApplicationData.pointCount; i++) {
        ApplicationData.points[i].x = px;
        ApplicationData.points[i].y = py;
    }
}

void passiveMotionFunc(int x, int y)
{
    if (ApplicationData.runMode != MODE_SCREENSAVER) return;
    if (ApplicationData.mouseStartX == -1) {  // the first report only sets the reference
        ApplicationData.mouseStartX = x;
        ApplicationData.mouseStartY = y;
        return;
    }
    long long d = llabs((long long)ApplicationData.mouseStartX - x) +
                  llabs((long long)ApplicationData.mouseStartY - y);
    if (d > SCREENSAVER_MOUSE_TRAVEL) exit(0);
}

// ---- Settings file ------------------------------------------------------------------
// The menu is written to a temporary file beside the settings file, which is
// renamed over it only when every byte has reached the disk: a failed save
// leaves the previous settings as they were.
static int writeSettings(const char* name)
{
    // A symbolic link is followed: the file it names is replaced, not the link.
    char path[PATH_MAX];
    struct stat link;
    if (lstat(name, &link) == 0 && S_ISLNK(link.st_mode)) {
        if (!realpath(name, path)) return 0;  // a dangling or looping link
    } else if (snprintf(path, sizeof path, "%s", name) >= (int)sizeof path) {
        return 0;
    }

    struct stat old;
    bool exists = stat(path, &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return 0;     // a folder or device stays untouched
    if (exists && access(path, W_OK) != 0) return 0;   // a read-only file stays read-only

    char tmpPath[PATH_MAX + 8];
    if (snprintf(tmpPath, sizeof tmpPath, "%s.XXXXXX", path) >= (int)sizeof tmpPath) return 0;
    int fd = mkstemp(tmpPath);
    if (fd < 0) return 0;
    // mkstemp creates the file private and ours; give it the old file's owner
    // (where we may) and mode, or the usual mode.
    mode_t mode;
    if (exists) {
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {}  // not permitted: the file becomes ours
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);

    FILE* file = fdopen(fd, "w");
    if (!file) {
        close(fd);
        unlink(tmpPath);
        return 0;
    }
    menuSave(ApplicationData.currentMenu, file);
    bool written = fflush(file) == 0 && ferror(file) == 0;
    written = written && fsync(fileno(file)) == 0;
    written = (fclose(file) == 0) && written;
    if (written && rename(tmpPath, path) == 0) return 1;
    unlink(tmpPath);
    return 0;
}

int writeIniFile()
{
    if (writeSettings(SETTINGS_FILE_NAME)) return 1;
    puts("Cannot write fileVYR.ini");
    return 0;
}

// ---- Commands ---------------------------------------------------------------------------
void resetExecute()
{
    // An empty file gives no values: every row keeps its default at the next start.
    FILE* file = fopen(SETTINGS_FILE_NAME, "w");
    if (file) {
        fclose(file);
        puts("Settings reset, restart the application");
    }
    exit(0);
}

void saveExecute()
{
    writeIniFile();
    exit(0);
}

void quitExecute() { exit(0); }
