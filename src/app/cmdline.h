// The command line, read once by one table-driven parser: the run-mode
// switch, the hosted-run arguments, --help and --version, and the setting
// options. Every other piece of the program takes its result.
//
// Index
//   - commandline record
//   - readCommandLine
//   - Run-mode switches: findstr, strcmpleft, screenSaverMode (and the window after the switch)
//   - Hosted runs: parseWindowId, hostWindowFromArguments
//   - Info and settings: infoOption, applyCommandLineSettings, applySettingOptions
#pragma once

#include "menu/menu.h"

constexpr int HOST_WINDOW_NONE = 0;      // no host window: the program's own window
constexpr int HOST_WINDOW_GIVEN = 1;     // a host window (0 stands for the root window)
constexpr int HOST_WINDOW_INVALID = -1;  // a malformed window id

constexpr int INFO_NONE = 0;
constexpr int INFO_HELP = 1;
constexpr int INFO_VERSION = 2;

constexpr int MAX_SETTING_ARGUMENTS = 64;  // setting options one command line may give
constexpr int MAX_COMPLAINTS = 16;
constexpr int COMPLAINT_SIZE = 256;        // bytes of one complaint line

// ---- commandline record --------------------------------------------------------------
struct settingargument {
    menuitem* item;     // the row it sets
    const char* value;  // the value text ("1"/"0" for a check box); points into argv
    int option;         // index in SettingOptions
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

// ---- readCommandLine ---------------------------------------------------------------------
// Reads every argument once. environmentWindow is the value of
// XSCREENSAVER_WINDOW (or null), which --root names. Prints nothing.
void readCommandLine(menu* m, int argc, char** argv, const char* environmentWindow, commandline* out);

// ---- Run-mode switches -------------------------------------------------------------------
// 1 if an entry of the null-terminated list is a prefix of s.
int findstr(const char* s, const char* const* list);
// 1 if s begins with prefix.
int strcmpleft(const char* prefix, const char* s);
// Run mode decided from the arguments: MODE_SCREENSAVER, MODE_CONFIGURE or MODE_PREVIEW.
int screenSaverMode(int argc, char** argv);

// ---- Hosted runs -------------------------------------------------------------------------
// Reads a window id, "0x" and hex digits or decimal digits; 0 if malformed or 0.
int parseWindowId(const char* text, unsigned long* window);
// The hosted-run arguments, the last one deciding: --window-id ID (hex 0x..
// or decimal), --root (the window named by environmentWindow, hex or decimal,
// else the root window), --window (the program's own window); one dash or
// two. Returns one of HOST_WINDOW_*, the window in *window; an invalid id is
// named in one line on standard output.
int hostWindowFromArguments(int argc, char** argv, const char* environmentWindow, unsigned long* window);

// ---- Info and settings -------------------------------------------------------------------
// Handles --help or --version (the first of them given) on standard output;
// returns 1 if one was given, so that the program ends.
int infoOption(menu* m, int argc, char** argv);
// Prints the complaints on standard error, then assigns the setting options
// to their rows, clamped as settings-file values are.
void applyCommandLineSettings(const commandline* c);
// readCommandLine and applyCommandLineSettings in one.
void applySettingOptions(menu* m, int argc, char** argv);
