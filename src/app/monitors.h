// The monitors of the display and its pixel density, for the GLUT back end:
// a full-screen window covers every monitor and shows one picture on each,
// and follows when monitors are added, removed or change resolution. One
// implementation per window system (monitors_x11.cpp, monitors_windows.cpp).
//
// Index
//   - Monitors: readMonitors, coverMonitors, monitorsChanged
//   - Density: displayScale
#pragma once

// ---- Monitors ----
// Fills WindowState.monitors with each monitor's part of the window in
// use (the primary monitor first), or sets monitorCount to 0 when the window
// is not full screen or shows a single monitor whole. Called with the
// window's rendering context current.
void readMonitors();
// Moves and sizes the full-screen window in use over every monitor (the
// whole X screen; on Windows the virtual screen, which may start left of or
// above the primary monitor).
void coverMonitors();
// 1 once after the monitors changed since the last call (or, on Windows, the
// full-screen window no longer covers them), else 0. Never blocks.
int monitorsChanged();

// ---- Density ----
// The display's scale: its dots per inch over 96, in quarter steps, never
// below 1 (X11: the Xft.dpi resource, else the screen's physical size;
// Windows: the system's DPI).
float displayScale();
