// Command-line options: one double-dash option per value row of the menu,
// derived from the row's label, type, range and default; the hosted-run
// arguments; --help and --version. The same tables feed the parser
// (cmdline.cpp), the usage text, the manual page and the xscreensaver
// settings file.
//
// Index
//   - Records: settingoption, hostedoption
//   - Option table: buildSettingOptions, findSettingOption
//   - Value texts: settingValueText, settingDefaultText, settingRangeText
//   - Usage and version: printUsage, printSettingsPath, printVersion
#pragma once

#include <cstdio>

#include "menu/menu.h"

constexpr const char* PROGRAM_NAME = "vyr";
constexpr int OPTION_NAME_SIZE = 64;       // bytes of an option name or title
constexpr int MAX_SETTING_OPTIONS = 32;    // value rows a menu may have
constexpr int OPTION_TEXT_SIZE = 256;      // bytes of a formatted value, range or choice list

// ---- Records ---------------------------------------------------------------------
struct settingoption {
    char name[OPTION_NAME_SIZE];   // "motion-blur": the title's words in lower case joined by '-', no dashes in front
    char title[OPTION_NAME_SIZE];  // "Motion blur": the label without its value format and shortcut letter
    const char* unit;              // placeholder of the value ("N", "PCT", "SEC", "X"); null for a check box
    char unitWord[8];              // the placeholder when it comes from the label ("SEC")
    char suffix[8];                // what the label shows after the number ("%", "sec"), or ""
    int decimals;                  // digits after the point of a float track bar's label; 0 otherwise
    menuitem* item;                // the row the option sets
};

constexpr int HOSTED_ROOT = 1;       // the window of XSCREENSAVER_WINDOW, or the root window
constexpr int HOSTED_WINDOW_ID = 2;  // the window of the next argument
constexpr int HOSTED_WINDOW = 3;     // the program's own window

struct hostedoption {
    const char* name;  // without dashes; accepted with one or two
    const char* arg;   // placeholder of the argument it takes, or null
    int kind;          // HOSTED_*
    const char* text;  // what it does, one sentence
};

// The program's own options, two dashes only.
constexpr int PROGRAM_HELP = 1;
constexpr int PROGRAM_VERSION = 2;
constexpr int PROGRAM_SEED = 3;
constexpr int PROGRAM_RENDERER = 4;
constexpr int PROGRAM_USER_SETTINGS = 5;

struct programoption {
    const char* name;  // without dashes
    const char* arg;   // placeholder of the argument it takes, or null
    int kind;          // PROGRAM_*
    const char* text;  // what it does, one sentence
};

extern settingoption SettingOptions[MAX_SETTING_OPTIONS];  // in menu order
extern int settingOptionCount;
extern const hostedoption HOSTED_OPTIONS[];
extern const int HOSTED_OPTION_COUNT;
extern const programoption PROGRAM_OPTIONS[];
extern const int PROGRAM_OPTION_COUNT;

// ---- Option table ----------------------------------------------------------------
// Fills SettingOptions from every check box, list box and track bar of the menu.
void buildSettingOptions(menu* m);
// The option named name (without dashes), or null.
const settingoption* findSettingOption(const char* name);
// The hosted-run option arg names ("-root", "--root"...), or null.
const hostedoption* findHostedOption(const char* arg);
// The program option arg names ("--help"...), or null.
const programoption* findProgramOption(const char* arg);

// ---- Value texts -------------------------------------------------------------------
// A value as the option takes it: an integer, or a float in the label's precision.
void settingValueText(const settingoption* o, double value, char* out, int size);
// The row's current value ("on"/"off" for a check box).
void settingDefaultText(const settingoption* o, char* out, int size);
// "0 to 200 %", "on or off"; a list box its choices: "0=Logarithmic, 1=Linear, 2=Maximum".
void settingRangeText(const settingoption* o, char* out, int size);

// ---- Usage and version ---------------------------------------------------------------
// The usage text: run-mode switches, hosted-run options, every setting option of m.
void printUsage(menu* m, FILE* out);
// The last lines of the usage text: the settings file the same command line
// would use (SETTINGS_FILE_NAME alone: the current folder's), and the one
// read in its place until the first save, if any ("" for none).
void printSettingsPath(const char* path, const char* former, FILE* out);
// The version line: the title of the menu's first page.
void printVersion(menu* m, FILE* out);
