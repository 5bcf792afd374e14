// The wallpaper's window on X11: a desktop window over the whole screen,
// below every other window, on every workspace, out of the task bar and the
// pager, never taking focus. The hosted back end then draws inside it as in
// a host's window, and pauses while it is covered.
#pragma once

// Makes and maps the window on the display named by DISPLAY and returns its
// id; its connection stays open for the run. Returns 0 after a line on
// standard error when the display cannot be opened.
unsigned long createDesktopWindow();
// Gives the window the screen's size again (after RandR changed it).
void fitDesktopWindow();
