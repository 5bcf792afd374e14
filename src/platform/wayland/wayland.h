// The Wayland back end: a layer-shell surface on every output of the
// compositor, drawn with EGL and the desktop OpenGL API. The frame is drawn
// once, on the largest output's surface, and shown on every other output
// scaled to fit it, so each output gets one whole picture. Outputs that come,
// go or change scale are followed while running. Frames are drawn only when
// an output's frame callback asks for one, so a covered or switched-off
// output costs no processor time. Frames composed in memory go to the
// outputs in wl_shm buffers (presentPixels), without OpenGL.
#pragma once

// What the surfaces are for.
constexpr int WAYLAND_SAVER = 0;      // overlay layer, keyboard taken, no cursor; input reported
constexpr int WAYLAND_WALLPAPER = 1;  // background layer, no input at all

#include "core/platform.h"

// The back end, once openWayland has connected.
extern const platform WAYLAND_PLATFORM;

// Connects to the compositor named by WAYLAND_DISPLAY for WAYLAND_PLATFORM
// and returns 1 when it offers layer-shell and OpenGL through EGL. Otherwise
// returns 0 and writes what is missing into missing (one line without
// newline); nothing is left open.
int openWayland(int role, char* missing, int size);
