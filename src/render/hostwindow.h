// The hosted back end: the animation drawn inside a window that a
// screen-saver host hands over, instead of a window of the program's own. It
// is a second implementation of the window seam of the platform record
// (window, main loop, swap, title, clock), made for the host's window system;
// where there is none (Windows), useHostWindow only says so and returns 0.
#pragma once

// Opens the host window (0: the root window of the default screen) and puts
// the hosted back end into Platform. Returns 1 on success, else 0 after a
// line saying why.
int useHostWindow(unsigned long window);
