// Services the program takes from the operating system and GLUT, behind one
// record of function pointers so that tests can replace them (a fake clock,
// a sleep that only counts, a title that is only recorded).
#pragma once

struct platform {
    int (*elapsedTime)();                       // ms since GLUT started (signed, wraps)
    void (*sleep)(int ms);                      // block the thread
    void (*setWindowTitle)(const char* title);  // title of the current window
    int (*modifiers)();                         // Shift/Ctrl/Alt held (inside an input callback)
    void (*pointSizeRange)(float* lo, float* hi);   // smooth point sizes; untouched on failure
    void (*pointSizeGranularity)(float* g);
    int (*displayModePossible)();               // a window can be made with the initial display mode
    int (*syncFile)(int fd);                    // brings a written file to the disk; 0 on success
};

extern platform Platform;               // the services in use
extern const platform SYSTEM_PLATFORM;  // the real ones

// The GLUT elapsed-time counter, in milliseconds.
int elapsedTime();
// Sleeps the given number of milliseconds.
void Sleep(int ms);
