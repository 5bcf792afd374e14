// Services the program takes from the operating system and the window
// system, behind one record of function pointers, and the record of window
// events through which a window back end reports to the program. Each back
// end (src/platform) provides one whole record, and start-up installs the
// one the run needs; tests replace single entries (a fake clock, a sleep
// that only counts, a title that is only recorded).
//
// Index
//   - Names the program and the back ends share: fonts, keys, cursors
//   - windowrequest, windowmade: the window asked for and the one made
//   - platform: clock and sleep, window seam, input, fonts, OpenGL queries
//   - windowevents: what a back end reports
//   - Shorthands: elapsedTime, Sleep
#pragma once

// ---- Names the program and the back ends share -----------------------------------
// The menu's fonts; each back end draws them with glyphs of its own.
enum fontname { FONT_HELVETICA_10, FONT_HELVETICA_12, FONT_HELVETICA_18, FONT_STROKE_ROMAN };

// Keys without a character, as the window events report them (GLUT's codes).
constexpr int KEY_F1 = 1;
constexpr int KEY_LEFT = 100;
constexpr int KEY_UP = 101;
constexpr int KEY_RIGHT = 102;
constexpr int KEY_DOWN = 103;
constexpr int KEY_PAGE_UP = 104;
constexpr int KEY_PAGE_DOWN = 105;
constexpr int KEY_HOME = 106;
constexpr int KEY_END = 107;

enum cursorshape { CURSOR_NONE, CURSOR_CROSSHAIR };

// ---- windowrequest, windowmade ---------------------------------------------------
constexpr int GAME_MODE_STRING_SIZE = 64;

// The window the program asks a back end for.
struct windowrequest {
    int fullScreen;               // cover the screen
    int coverWhenModeRefused;     // a mode the screen cannot take still covers it, at the screen's own mode
    char gameMode[GAME_MODE_STRING_SIZE];  // full-screen mode string, "" for the screen's own
    int doubleBuffered;
    int multiSample;
    cursorshape cursor;
    int width, height;            // a plain window at 96 dpi; the back end scales it to the display
};

// The window a back end made, reported with a fresh rendering context.
struct windowmade {
    int windowId;
    int gameMode;                 // GLUT's game mode (else a window)
    int fullScreen;               // covers the screen
    int doubleBuffered;
    int multiSample;
    int modeRefused;              // the requested mode string cannot be entered
    int modeUnchangeable;         // game mode failed: a window covers the screen instead
};

// ---- platform ----------------------------------------------------------------
struct platform {
    // Clock and sleep.
    int (*elapsedTime)();                       // ms since start-up (signed, wraps)
    void (*sleep)(int ms);                      // block the thread

    // Window seam: the one window, its main loop and its presentation.
    void (*createWindow)(const windowrequest* request);  // makes the window if there is none
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
    int (*pointerPosition)(int* x, int* y);     // on the screen; 0 where the back end cannot tell

    // Fonts of the menu: bitmap glyphs at the raster position, stroke glyphs
    // in font units with the current matrix.
    void (*bitmapCharacter)(fontname font, int c);  // draws c and advances the raster position
    int (*bitmapWidth)(fontname font, int c);       // advance of c in pixels
    void (*strokeCharacter)(fontname font, int c);  // draws c and moves the matrix on by its advance
    float (*strokeWidth)(fontname font, int c);     // advance of c in font units

    // OpenGL and display-mode queries.
    void (*pointSizeRange)(float* lo, float* hi);   // smooth point sizes; untouched on failure
    void (*pointSizeGranularity)(float* g);
    int (*displayModePossible)();               // a window can be made with the requested display mode
    int (*syncFile)(int fd);                    // brings a written file to the disk; 0 on success
};

extern platform Platform;               // the services in use
// The system's clock, sleep and file sync and OpenGL's queries, with no
// window: the window entries do nothing.
extern const platform SYSTEM_PLATFORM;

// The system's own clock, sleep and file sync, one per platform
// (platform_posix.cpp, platform_windows.cpp).
int systemElapsedTime();
void systemSleep(int ms);
int systemSyncFile(int fd);
// A seed that differs between processes started in the same millisecond: a
// high-resolution clock mixed with the process id.
unsigned int systemSeed();

// Entries the back ends share (platform.cpp): OpenGL's point-size queries,
// and stand-ins for a window without keys, pointer or menu text, where any
// display mode passes.
void openglPointSizeRange(float* lo, float* hi);
void openglPointSizeGranularity(float* g);
int noModifiers();
int noPointer(int* x, int* y);
void noCharacter(fontname font, int c);
int noCharacterWidth(fontname font, int c);
float noStrokeWidth(fontname font, int c);
int anyDisplayMode();
int noPresentation(const unsigned char* pixels, int width, int height, int stride);

// A whole record for a back end that brings only its window seam: the
// system's clock, sleep, file sync and OpenGL queries with the stand-ins
// above (a host's window, which owns the input, or no window at all).
constexpr platform windowSeamPlatform(void (*createWindow)(const windowrequest*), void (*destroyWindow)(),
                                      void (*mainLoop)(), void (*postRedisplay)(), void (*swapBuffers)(),
                                      int (*presentPixels)(const unsigned char*, int, int, int),
                                      void (*setWindowTitle)(const char*))
{
    return {
        .elapsedTime = systemElapsedTime,
        .sleep = systemSleep,
        .createWindow = createWindow,
        .destroyWindow = destroyWindow,
        .mainLoop = mainLoop,
        .postRedisplay = postRedisplay,
        .swapBuffers = swapBuffers,
        .presentPixels = presentPixels,
        .setWindowTitle = setWindowTitle,
        .modifiers = noModifiers,
        .pointerPosition = noPointer,
        .bitmapCharacter = noCharacter,
        .bitmapWidth = noCharacterWidth,
        .strokeCharacter = noCharacter,
        .strokeWidth = noStrokeWidth,
        .pointSizeRange = openglPointSizeRange,
        .pointSizeGranularity = openglPointSizeGranularity,
        .displayModePossible = anyDisplayMode,
        .syncFile = systemSyncFile,
    };
}

// ---- windowevents ------------------------------------------------------------------
// A window back end reports what happens to its window through these and
// never calls the program by name; start-up connects the program's handlers.
// Until then every entry does nothing.
struct windowevents {
    void (*created)(const windowmade* made);            // a new window, its context current
    void (*idle)();                                     // no event pending: a step may run
    void (*display)();                                  // a frame is due
    void (*resized)(int width, int height);             // client size in pixels
    void (*placed)();                                   // moved, or the monitors under it changed
    void (*scaled)(float scale);                        // the display's scale (dpi over 96)
    void (*shown)(int shown);                           // 1 visible, 0 hidden or fully covered
    void (*activated)(int active);                      // 0: another window took the foreground
    void (*key)(unsigned char key, int x, int y);       // a character key
    void (*specialKey)(int key, int x, int y);          // a key without a character (KEY_*)
    void (*mouseButton)(int button, int state, int x, int y);  // window coordinates
    void (*pointerMoved)(int x, int y);                 // no button held; screen coordinates where
                                                        // pointerPosition knows them
};

extern windowevents WindowEvents;
extern const windowevents NO_WINDOW_EVENTS;

// ---- Shorthands ----------------------------------------------------------------
// The elapsed-time counter in use, in milliseconds.
int elapsedTime();
// Sleeps the given number of milliseconds.
void Sleep(int ms);
