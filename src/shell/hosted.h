// The host window of a hosted run, read from the arguments the screen-saver
// hosts of Linux desktops pass (xscreensaver, xsecurelock, MATE).
#pragma once

constexpr int HOST_WINDOW_NONE = 0;      // no host window: the program's own window
constexpr int HOST_WINDOW_GIVEN = 1;     // a host window (0 stands for the root window)
constexpr int HOST_WINDOW_INVALID = -1;  // a malformed window id; a line has been printed

// Looks at every argument in order, the last one of these deciding:
//   --window-id ID, -window-id ID   the window ID (hex 0x.. or decimal)
//   --root, -root                   the window named by environmentWindow (the
//                                   value of XSCREENSAVER_WINDOW, hex or
//                                   decimal), else the root window
//   --window, -window               the program's own window
// Returns one of HOST_WINDOW_*; the window goes into *window.
int hostWindowFromArguments(int argc, char** argv, const char* environmentWindow, unsigned long* window);
// Reads a window id, "0x" and hex digits or decimal digits; 0 if malformed or 0.
int parseWindowId(const char* text, unsigned long* window);
