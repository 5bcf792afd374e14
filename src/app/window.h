// The window management policy: the window the settings ask for, handed to
// the back end in use, and what follows from the window it made. The back
// ends themselves are in src/platform.
//
// Index
//   - Request: buildGameModeString, windowRequest
//   - Window: createWindow, destroyWindow, evolveWindow
//   - Reports: cancelMultiSample, windowCreated, windowScaled, windowActivated
#pragma once

#include "core/platform.h"
#include "platform/window.h"

// ---- Request ----
// Writes the full-screen mode string chosen in the menu ("" for all defaults).
void buildGameModeString(char* out, int size);
// The window the settings and the run mode ask for: the screen saver covers
// the screen even at a refused mode, and shows no cursor.
windowrequest windowRequest();

// ---- Window ----
// Asks the back end for the requested window if there is none.
void createWindow();
// Drops the window in use, if any.
void destroyWindow();
// Recreates the window when the requested display flags differ from the
// active ones: a window's display mode is fixed when it is made.
void evolveWindow();

// ---- Reports ----
// Switches multisampling off, in the record and its check box alike, with a
// line (none in a host's log), when no visual offers it.
void cancelMultiSample();
// A window was made: the active flags follow it, a refused full screen or
// multisampling is cancelled with a line (record and check box alike), the
// renderer starts afresh in the new context, and the screen saver watches
// the pointer from where it rests.
void windowCreated(const windowmade* made);
// The display's scale: the menu's text grows with it.
void windowScaled(float scale);
// Another window took the foreground: a screen saver ends, as on Windows.
void windowActivated(int active);
