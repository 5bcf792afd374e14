// The menu's commands and the settings file they write.
//
// Index
//   - Settings file: writeIniFile
//   - Commands: resetExecute, saveExecute, quitExecute
#include "app/commands.h"

#include <cstdio>
#include <cstdlib>

#include "menu/settings.h"
#include "core/appdata.h"
#include "core/process.h"
#include "core/run.h"
#include "core/settingsfile.h"

// ---- Settings file ------------------------------------------------------------------
// 1 when the last failure went into a message box: the window stays open, so
// that the person can try again or quit.
static int failureShown = 0;

// The first save or reset moves a file kept where the user's settings used
// to be: the new file has taken its place.
static void retireFormerFile()
{
    if (!Run.formerSettingsPath[0]) return;
    remove(Run.formerSettingsPath);
    Run.formerSettingsPath[0] = '\0';
}

int writeIniFile()
{
    // The whole text first: the file is written in one go, or not at all.
    char text[SETTINGS_TEXT_SIZE];
    size_t length = menuFormat(ApplicationData.currentMenu, text, sizeof text);
    clearSystemError();
    if (length < sizeof text && replaceSettingsFile(Run.settingsPath, text, length)) {
        retireFormerFile();
        return 1;
    }
    failureShown = reportFailure("Cannot write fileVYR.ini", Run.settingsPath);
    return 0;
}

// ---- Commands ---------------------------------------------------------------------------
void resetExecute()
{
    // An empty file gives no values: every row keeps its default at the next start.
    clearSystemError();
    if (emptySettingsFile(Run.settingsPath)) {
        retireFormerFile();
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
