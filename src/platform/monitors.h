// The monitors of the display, the pointer on them and the display's pixel
// density, for the GLUT back end: a full-screen window covers every monitor
// and shows one picture on each, and follows when monitors are added,
// removed, moved or change resolution. One implementation per window system
// (x11/monitors_x11.cpp, windows/monitors_windows.cpp).
//
// Index
//   - Monitors: readMonitors, coverMonitors, monitorsChanged, fullScreenModeBits
//   - Pointer: screenPointer
//   - Density: displayScale
#pragma once

// ---- Monitors ----
// Fills WindowState.monitors with each monitor's part of the window in use
// (the primary monitor first, a monitor cloned onto another's rectangle
// once), or sets monitorCount to 0 when the window is not full screen or
// shows a single monitor whole. Called with the window's rendering context
// current.
void readMonitors(int fullScreen);
// Moves and sizes the full-screen window in use over every monitor (the
// whole X screen; on Windows the virtual screen, which may start left of or
// above the primary monitor).
void coverMonitors();
// 1 once after the monitors changed since the last call (or, on Windows, the
// full-screen window no longer covers them), else 0. Never blocks.
int monitorsChanged(int fullScreen);
// GLUT display-mode bits of a full-screen window as it is made (Windows:
// without a title bar, not even for the moment before it covers the monitors).
unsigned int fullScreenModeBits();

// ---- Pointer ----
// The pointer's position on the screen; 1 when known. On X11 it also reads
// in every monitor change the server sent before it.
int screenPointer(int* x, int* y);

// ---- Density ----
// The display's scale: its dots per inch over 96, in quarter steps, never
// below 1 (X11: the Xft.dpi resource, else the screen's physical size;
// Windows: the system's DPI).
float displayScale();
