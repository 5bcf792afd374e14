// The window back ends. Each fills the window entries of the platform record
// and reports what happens to its window through WindowEvents; none calls the
// program by name. Start-up installs the one the run needs.
//
// Index
//   - Shared by every back end: window.cpp
//   - GLUT, the program's own window: window_glut.cpp
//   - A host's window: window_x11.cpp, window_windows.cpp
//   - An owner window: window_windows.cpp (nothing elsewhere)
#pragma once

// ---- Shared by every back end ----
// Switches multisampling off with a line, when no visual offers it.
void cancelMultiSample();
// Records a window just made, with a rendering context of its own: its id,
// whether it is GLUT's game mode, the requested flags now in force, and a
// fresh start for what the frame drawing kept of the previous context.
void windowCreated(int windowId, int gameMode);
// The services of a window inside a host's: the system clock; the host owns
// the input and the menu never shows there, so no modifiers and no menu text;
// the visual is chosen when the window is made, so any display mode passes.
void useHostedServices();

// ---- GLUT ----
constexpr int GAME_MODE_STRING_SIZE = 64;

// Puts the GLUT back end into Platform (after glutInit).
void useGlutWindow();
// Creates the window if there is none: plain 640x480 or full screen, with
// the requested display mode, and registers its callbacks.
void createWindow();
// GLUT window-status callback: reports the window shown or hidden, and
// drops the idle callback while it is hidden.
void windowStatusFunc(int state);
// Destroys the window in use, if any.
void destroyWindow();
// Writes the full-screen mode string chosen in the menu ("" for all defaults).
void buildGameModeString(char* out, int size);
// GLUT display-mode bits for the requested buffering and multisampling.
unsigned int requestedDisplayMode();

// ---- A host's window ----
// 1 where the preview switch hands over a window to draw in (the Windows
// control panel's "/p HWND"); elsewhere the preview returns at once.
extern const bool PREVIEW_DRAWS;
// Opens the host window (0: the root window of the default screen) and puts
// the hosted back end into Platform: the program draws in a child window of
// its own inside it. Returns 1 on success, else 0 after a line saying why;
// for the control panel's preview (preview 1) without the line.
int useHostWindow(unsigned long window, int preview);

// ---- An owner window ----
// Windows' "/c:HWND": the window the configure window belongs to, disabled
// until the program ends. A handle that names no window is ignored, as is
// the call elsewhere.
void useOwnerWindow(unsigned long window);
// Gives the window just made (current OpenGL context) to that owner, if any.
void giveWindowToOwner();
