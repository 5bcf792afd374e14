// Services the program takes from the operating system and the window
// system, behind one record of function pointers: tests replace single
// entries (a fake clock, a sleep that only counts, a title that is only
// recorded), and a hosted run (drawing inside a screen-saver host's window)
// replaces the window entries by its own back end.
//
// Index
//   - platform: clock and sleep, window seam, input, fonts, OpenGL queries
//   - Shorthands: elapsedTime, Sleep
#pragma once

// ---- platform ----------------------------------------------------------------
struct platform {
    // Clock and sleep.
    int (*elapsedTime)();                       // ms since the window system started (signed, wraps)
    void (*sleep)(int ms);                      // block the thread

    // Window seam: the one window, its main loop and its presentation.
    void (*createWindow)();                     // makes the window if there is none, callbacks included
    void (*destroyWindow)();                    // drops the window in use, if any
    void (*mainLoop)();                         // runs idle steps and frames; returns when the run ends
    void (*postRedisplay)();                    // asks for a frame after this step
    void (*swapBuffers)();                      // presents the frame just drawn
    void (*setWindowTitle)(const char* title);  // title of the current window

    // Input.
    int (*modifiers)();                         // Shift/Ctrl/Alt held (inside an input callback)

    // Bitmap fonts of the menu (font handles as GLUT names them).
    void (*bitmapCharacter)(void* font, int c); // draws c at the raster position and advances it
    int (*bitmapWidth)(void* font, int c);      // advance of c in pixels

    // OpenGL and display-mode queries.
    void (*pointSizeRange)(float* lo, float* hi);   // smooth point sizes; untouched on failure
    void (*pointSizeGranularity)(float* g);
    int (*displayModePossible)();               // a window can be made with the initial display mode
    int (*syncFile)(int fd);                    // brings a written file to the disk; 0 on success
};

extern platform Platform;               // the services in use
extern const platform SYSTEM_PLATFORM;  // the real ones: GLUT, OpenGL and the system clock

// The system's own sleep and file sync, one per platform (platform_posix.cpp,
// platform_windows.cpp).
void systemSleep(int ms);
int systemSyncFile(int fd);

// ---- Shorthands ----------------------------------------------------------------
// The elapsed-time counter in use, in milliseconds.
int elapsedTime();
// Sleeps the given number of milliseconds.
void Sleep(int ms);
