// The window back ends. Each provides one whole platform record and reports
// what happens to its window through WindowEvents; none writes program
// state but the window's own record (WindowState) or calls the program by
// name. Start-up installs the one the run needs.
//
// Index
//   - GLUT, the program's own window: glut/window_glut.cpp
//   - A host's window: x11/window_x11.cpp, windows/window_windows.cpp
//   - An owner window: windows/window_windows.cpp (nothing elsewhere)
#pragma once

#include "core/platform.h"

// ---- GLUT ----
// The program's own window, plain or full screen over every monitor.
extern const platform GLUT_PLATFORM;
// GLUT display-mode bits for the buffering and multisampling of a request.
unsigned int glutDisplayModeFor(const windowrequest* request);
// Starts GLUT with the command line (it takes its own X11 options), before GLUT_PLATFORM is used.
void startGlut(int* argc, char** argv);

// ---- A host's window ----
// A child window of the program's own inside the host's window.
extern const platform HOSTED_PLATFORM;
// 1 where the preview switch hands over a window to draw in (the Windows
// control panel's "/p HWND"); elsewhere the preview returns at once.
extern const bool PREVIEW_DRAWS;
// Opens the host window (0: the root window of the default screen) for
// HOSTED_PLATFORM. Returns 1 on success, else 0 after a line saying why;
// for the control panel's preview (preview 1) without the line.
int openHostWindow(unsigned long window, int preview);

// ---- An owner window ----
// Windows' "/c:HWND": the window the configure window belongs to, disabled
// until the program ends. A handle that names no window is ignored, as is
// the call elsewhere.
void useOwnerWindow(unsigned long window);
// Gives the window just made (current OpenGL context) to that owner, if any.
void giveWindowToOwner();
