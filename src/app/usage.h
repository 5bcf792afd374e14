// The usage text, written from the command line's tables for the system the
// program runs on (Linux or Windows), and the texts the manual page and the
// xscreensaver settings file share with it.
//
// Index
//   - Systems: usagesystem, USAGE_LINUX, USAGE_WINDOWS, NATIVE_USAGE
//   - Value texts: settingValueText, settingDefaultText, settingRangeText
//   - Run-mode switches: runSwitchColumn
//   - Usage and version: printUsage, printSettingsPath, printVersion
#pragma once

#include <cstdio>

#include "app/cmdline.h"

// ---- Systems ---------------------------------------------------------------------
struct usagesystem {
    const char* program;       // the program's name as the system runs it
    bool windows;              // the switches as the control panel passes them, with their windows
    bool hostedRuns;           // the hosted-run arguments of X11 screen-saver hosts
    const char* settingsRule;  // where VYR.ini is
};

extern const usagesystem USAGE_LINUX;
extern const usagesystem USAGE_WINDOWS;
extern const usagesystem& NATIVE_USAGE;  // the system this program is built for

// ---- Value texts -------------------------------------------------------------------
// A value as the option takes it: an integer, or a float in the label's precision.
void settingValueText(const settingoption* o, double value, char* out, int size);
// The row's current value ("on"/"off" for a check box).
void settingDefaultText(const settingoption* o, char* out, int size);
// "0 to 200 %", "on or off"; a list box its choices: "0=Logarithmic, 1=Linear, 2=Maximum".
void settingRangeText(const settingoption* o, char* out, int size);

// ---- Run-mode switches -------------------------------------------------------------
// The switch column of the usage text: "/c, -c, c" (the spellings in lower
// case), on Windows "/c, /c:HWND" (the window it takes); for the mode without
// a switch "anything else", on Windows "/s".
void runSwitchColumn(const runswitch* s, const usagesystem* system, char* out, int size);
// What the mode does on that system.
const char* runSwitchText(const runswitch* s, const usagesystem* system);

// ---- Usage and version ---------------------------------------------------------------
// The usage text: run-mode switches, hosted-run options (where the system
// has them), every setting option of m, the settings file, the program's options.
void printUsage(menu* m, FILE* out, const usagesystem* system = &NATIVE_USAGE);
// The last lines of the usage text: the settings file the same command line
// would use (SETTINGS_FILE_NAME alone: the current folder's), and the one
// read in its place until the first save, if any ("" for none).
void printSettingsPath(const char* path, const char* former, FILE* out);
// The version line: the title of the menu's first page.
void printVersion(menu* m, FILE* out);
