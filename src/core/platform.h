// Services the program takes from the operating system and the window
// system, behind one record of function pointers, and the record of window
// events through which a window back end reports to the program. Tests
// replace single entries (a fake clock, a sleep that only counts, a title
// that is only recorded); each window back end (GLUT, a host's X11 window,
// Windows) fills the window entries with its own, and start-up installs the
// one the run needs.
//
// Index
//   - platform: clock and sleep, window seam, input, fonts, OpenGL queries
//   - windowevents: what a back end reports
//   - Shorthands: elapsedTime, Sleep
#pragma once

// ---- platform ----------------------------------------------------------------
struct platform {
    // Clock and sleep.
    int (*elapsedTime)();                       // ms since start-up (signed, wraps)
    void (*sleep)(int ms);                      // block the thread

    // Window seam: the one window, its main loop and its presentation.
    void (*createWindow)();                     // makes the window if there is none
    void (*destroyWindow)();                    // drops the window in use, if any
    void (*mainLoop)();                         // runs idle steps and frames; returns when the run ends
    void (*postRedisplay)();                    // asks for a frame after this step
    void (*swapBuffers)();                      // presents the frame just drawn
    // Shows a finished frame (32-bit pixels blue, green, red, spare; top row
    // first) in the current window without OpenGL; 0 when it cannot, and
    // the frame is to go through OpenGL.
    int (*presentPixels)(const unsigned char* pixels, int width, int height, int stride);
    void (*setWindowTitle)(const char* title);  // title of the current window

    // Input.
    int (*modifiers)();                         // Shift/Ctrl/Alt held (inside an input report)

    // Bitmap fonts of the menu (font handles as GLUT names them).
    void (*bitmapCharacter)(void* font, int c); // draws c at the raster position and advances it
    int (*bitmapWidth)(void* font, int c);      // advance of c in pixels
    // Stroke fonts of the scaled menu: glyphs in font units, drawn with the current matrix.
    void (*strokeCharacter)(void* font, int c); // draws c and moves the matrix on by its advance
    float (*strokeWidth)(void* font, int c);    // advance of c in font units

    // OpenGL and display-mode queries.
    void (*pointSizeRange)(float* lo, float* hi);   // smooth point sizes; untouched on failure
    void (*pointSizeGranularity)(float* g);
    int (*displayModePossible)();               // a window can be made with the requested display mode
    int (*syncFile)(int fd);                    // brings a written file to the disk; 0 on success
};

extern platform Platform;               // the services in use
// The system's clock, sleep and file sync and OpenGL's queries, with no
// window: the window entries do nothing until a back end fills them.
extern const platform SYSTEM_PLATFORM;

// The system's own clock, sleep and file sync, one per platform
// (platform_posix.cpp, platform_windows.cpp).
int systemElapsedTime();
void systemSleep(int ms);
int systemSyncFile(int fd);
// A seed that differs between processes started in the same millisecond: a
// high-resolution clock mixed with the process id.
unsigned int systemSeed();

// ---- windowevents ------------------------------------------------------------------
// A window back end reports what happens to its window through these and
// never calls the program by name; start-up connects the program's handlers.
// Until then every entry does nothing.
struct windowevents {
    void (*idle)();                                     // no event pending: a step may run
    void (*display)();                                  // a frame is due
    void (*resized)(int width, int height);             // client size in pixels
    void (*shown)(int shown);                           // 1 visible, 0 hidden or fully covered
    void (*key)(unsigned char key, int x, int y);       // a character key
    void (*specialKey)(int key, int x, int y);          // a key without a character (GLUT codes)
    void (*mouseButton)(int button, int state, int x, int y);
    void (*pointerMoved)(int x, int y);                 // no button held
};

extern windowevents WindowEvents;
extern const windowevents NO_WINDOW_EVENTS;

// ---- Shorthands ----------------------------------------------------------------
// The elapsed-time counter in use, in milliseconds.
int elapsedTime();
// Sleeps the given number of milliseconds.
void Sleep(int ms);
