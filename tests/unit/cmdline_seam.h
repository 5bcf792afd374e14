// The command line as the tests drive it: the switch matchers cmdline.cpp
// keeps out of its header, and the one-call wrappers over readCommandLine
// that only tests use.
#pragma once

#include <cstdio>

#include "app/cmdline.h"
#include "app/mainmenu.h"
#include "app/startup.h"
#include "app/usage.h"
#include "core/appdata.h"

// Defined in cmdline.cpp: 1 if s begins with prefix; 1 if an entry of the
// null-terminated list is a prefix of s.
int strcmpleft(const char* prefix, const char* s);
int findstr(const char* s, const char* const* list);

inline commandline& scratchCommandLine()
{
    static commandline c;  // large: kept off the stack
    return c;
}

// The run mode the arguments select.
inline int screenSaverMode(int argc, char** argv)
{
    readCommandLine(&MainMenu, argc, argv, nullptr, &scratchCommandLine());
    return scratchCommandLine().runMode;
}

// The hosted-run arguments' verdict, the window in *window; an invalid id
// named in one line on standard output.
inline int hostWindowFromArguments(int argc, char** argv, const char* environmentWindow, unsigned long* window)
{
    commandline& c = scratchCommandLine();
    readCommandLine(&MainMenu, argc, argv, environmentWindow, &c);
    if (c.host == HOST_WINDOW_INVALID) puts(c.hostComplaint);
    if (c.host == HOST_WINDOW_GIVEN) *window = c.hostWindow;
    return c.host;
}

// --help or --version, the first given, on standard output; 1 if one was.
inline int infoOption(menu* m, int argc, char** argv)
{
    commandline& c = scratchCommandLine();
    readCommandLine(m, argc, argv, nullptr, &c);
    if (c.info == INFO_HELP) printUsage(m, stdout);
    if (c.info == INFO_VERSION) printVersion(m, stdout);
    return c.info != INFO_NONE;
}

// The setting options of the arguments assigned to m's rows.
inline void applySettingOptions(menu* m, int argc, char** argv)
{
    readCommandLine(m, argc, argv, nullptr, &scratchCommandLine());
    applyCommandLineSettings(&scratchCommandLine());
}

// Start-up's settings step with the command line read from argc and argv.
inline void readIniFile(int argc = 0, char** argv = nullptr)
{
    readCommandLine(ApplicationData.currentMenu, argc, argv, nullptr, &scratchCommandLine());
    readIniFile(&scratchCommandLine());
}
