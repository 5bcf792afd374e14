// The command line: its tables (run-mode switches, hosted-run arguments, the
// program's own options, one setting option per value row of the menu) and
// the one parser that reads every argument once. The usage text, the manual
// page and the xscreensaver settings file are written from the same tables.
//
// Index
//   - Tables: runswitch, hostedoption, programoption, settingoption
//   - commandline record
//   - readCommandLine, applyCommandLineSettings
#pragma once

#include "menu/menu.h"

constexpr const char* PROGRAM_NAME = "vyr";
constexpr int OPTION_NAME_SIZE = 64;     // bytes of an option name or title
constexpr int MAX_SETTING_OPTIONS = 32;  // value rows a menu may have
constexpr int OPTION_TEXT_SIZE = 256;    // bytes of a formatted value, range or choice list

// ---- Tables ----------------------------------------------------------------------
// Where a run-mode switch names a window, as the Windows control panel passes it.
constexpr int SWITCH_WINDOW_NONE = 0;
constexpr int SWITCH_WINDOW_COLON = 1;          // "/c:HWND"
constexpr int SWITCH_WINDOW_COLON_OR_NEXT = 2;  // "/p:HWND" or "/p HWND"

struct runswitch {
    int mode;                   // MODE_*
    const char* const* names;   // prefixes that select it, every case listed; null: the mode without a switch
    int window;                 // SWITCH_WINDOW_*
    const char* text;           // what the mode does, one sentence
    const char* windowsText;    // the same as Windows runs it
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

struct settingoption {
    char name[OPTION_NAME_SIZE];   // "motion-blur": the title's words in lower case joined by '-', no dashes in front
    char title[OPTION_NAME_SIZE];  // "Motion blur": the label without its value format and shortcut letter
    const char* unit;              // placeholder of the value ("N", "PCT", "SEC", "X"); null for a check box
    char unitWord[8];              // the placeholder when it comes from the label ("SEC")
    char suffix[8];                // what the label shows after the number ("%", "sec"), or ""
    int decimals;                  // digits after the point of a float track bar's label; 0 otherwise
    menuitem* item;                // the row the option sets
};

// The setting options of one menu, in menu order.
struct settingoptions {
    const menu* source;
    int count;
    settingoption options[MAX_SETTING_OPTIONS];
};

extern const runswitch RUN_SWITCHES[];
extern const int RUN_SWITCH_COUNT;
extern const hostedoption HOSTED_OPTIONS[];
extern const int HOSTED_OPTION_COUNT;
extern const programoption PROGRAM_OPTIONS[];
extern const int PROGRAM_OPTION_COUNT;

// The setting options of m, derived from its check boxes, list boxes and
// track bars when first asked for and kept.
const settingoptions* settingOptions(menu* m);
// The option of m named name (without dashes), or null.
const settingoption* findSettingOption(menu* m, const char* name);

// ---- commandline record ----------------------------------------------------------------
constexpr int HOST_WINDOW_NONE = 0;      // no host window: the program's own window
constexpr int HOST_WINDOW_GIVEN = 1;     // a host window (0 stands for the root window)
constexpr int HOST_WINDOW_INVALID = -1;  // a malformed window id

constexpr int INFO_NONE = 0;
constexpr int INFO_HELP = 1;
constexpr int INFO_VERSION = 2;

constexpr int MAX_SETTING_ARGUMENTS = 64;  // setting options one command line may give
constexpr int MAX_COMPLAINTS = 16;
constexpr int COMPLAINT_SIZE = 256;        // bytes of one complaint line

struct settingargument {
    menuitem* item;     // the row it sets
    const char* value;  // the value text ("1"/"0" for a check box); points into argv
    int option;         // index in the setting options
};

struct commandline {
    int runMode;            // MODE_*: the first switch that is neither an option nor its value
    int info;               // INFO_*: the first of --help and --version
    int host;               // HOST_WINDOW_*: the last hosted-run argument decides
    unsigned long hostWindow;                      // when HOST_WINDOW_GIVEN; 0 for the root window
    char hostComplaint[COMPLAINT_SIZE];            // the line for HOST_WINDOW_INVALID
    unsigned long previewWindow;  // the window after the preview switch ("/p HWND", "/p:HWND"); 0: none or malformed
    unsigned long ownerWindow;    // the window after the configure switch ("/c:HWND"); 0: none or malformed
    int seedGiven;                // --seed N was given
    unsigned long seed;
    int renderer;                 // RENDERER_*: --renderer auto|gl|memory, auto when not given
    int userSettings;             // --user-settings: the user's own settings file, whatever the folder
    int settingCount;
    settingargument settings[MAX_SETTING_ARGUMENTS];  // in command-line order
    int complaintCount;
    char complaints[MAX_COMPLAINTS][COMPLAINT_SIZE];  // bad setting options, one line each
};

// ---- readCommandLine, applyCommandLineSettings ------------------------------------------
// Reads every argument once. environmentWindow is the value of
// XSCREENSAVER_WINDOW (or null), which --root names. Prints nothing.
void readCommandLine(menu* m, int argc, char** argv, const char* environmentWindow, commandline* out);
// Prints the complaints on standard error, then assigns the setting options
// to their rows, clamped as settings-file values are.
void applyCommandLineSettings(const commandline* c);
