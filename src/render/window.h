// The one GLUT window: plain 640x480 or full screen, created with the
// requested display mode and recreated when a requested flag changes.
#pragma once

constexpr int GAME_MODE_STRING_SIZE = 64;

// Creates the window if there is none, and registers the callbacks on it.
void createWindow();
// GLUT window-status callback: pauses the animation while the window is
// hidden or fully covered.
void windowStatusFunc(int state);
// Destroys the window in use, if any.
void destroyWindow();
// Recreates the window when the requested display flags differ from the active ones.
void evolveWindow();
// Writes the full-screen mode string chosen in the menu ("" for all defaults).
void buildGameModeString(char* out, int size);
// GLUT display-mode bits for the requested buffering and multisampling.
unsigned int requestedDisplayMode();
// Switches multisampling off with a line, when no visual offers it.
void cancelMultiSample();
