// The one state record of the program. Every subsystem reads and writes its
// fields directly; the menu's settings reach it through the change callbacks.
//
// Index
//   - Run modes
//   - Monitors: pixelrect
//   - applicationdata: window and monitors, shell, motion blur, time, attractors and
//     points, display and exposure, statistics and menu
#pragma once

#include "engine/attractor.h"
#include "engine/points.h"
#include "menu/menu.h"
#include "render/texture.h"

// ---- Run modes (distinct bits, compared for equality) ----------------------
constexpr int MODE_SCREENSAVER = 1;
constexpr int MODE_CONFIGURE = 2;
constexpr int MODE_PREVIEW = 4;

constexpr int STATISTICS_TEXT_SIZE = 64;  // bytes of one statistics line
constexpr int SETTINGS_PATH_SIZE = 1024;  // bytes of the settings file's path, NUL included

// ---- Monitors --------------------------------------------------------------------
constexpr int MONITOR_LIMIT = 16;

// A rectangle of window pixels, origin at the top-left corner, y downwards.
struct pixelrect {
    int x, y;
    int width, height;
};

struct applicationdata {
    // Window and display mode: requested flags and the flags of the window in use.
    int windowId;                 // GLUT window, -1 while there is none
    int width;                    // client size in pixels, never 0
    int height;
    int activeFullScreen;         // the window in use is full screen
    int fullScreen;               // requested full screen
    int activeDoubleBuffered;
    int doubleBuffered;
    int activeMultiSample;
    int multiSample;
    int fullScreenParamChanged;   // a full-screen list changed while full screen
    int activeGameMode;           // the full-screen window is GLUT's game mode (else a
                                  // borderless window covering the screen)
    int monitorCount;             // pictures in the window, one per monitor it covers;
                                  // 0: one picture filling the window
    pixelrect monitors[MONITOR_LIMIT];  // each monitor's part of the window

    // Shell.
    int runMode;                  // MODE_*; 0 until main decides
    int mouseStartX;              // screen saver: first pointer report, -1 until seen
    int mouseStartY;
    int paused;                   // the window is hidden or fully covered: no steps, no frames
    int pauseStart;               // ms, when the pause began
    int framePending;             // the last step's frame is not drawn yet: no new step
    int hosted;                   // drawing in a host's window: the host's log hears
                                  // only of real problems, on standard error
    char settingsPath[SETTINGS_PATH_SIZE];  // the settings file of this run

    // Motion blur.
    texture frameTexture;         // the last finished frame
    texture passTexture;          // one pass of the multi-pass filter

    // Time and morph cycle (milliseconds of the GLUT clock).
    int frameCount;               // frames evolved since start
    int cycleStart;               // ms, start of the current cycle
    int period;                   // ms, cycle length
    int lastFPSTime;              // ms, last frame-rate measurement
    float elasticity;             // exponent of the easing curve
    float cyclePhase;             // 0 shows attractor1, 1 shows attractor2
    float measuredFPS;            // smoothed frames per second
    float desiredFPS;             // requested frames per second
    int tooSlow;                  // the point count hit its floor; said once until it rises again

    // Attractors and points.
    int minDegree;                // smallest degree of a new attractor
    int maxDegree;                // largest degree of a new attractor
    attractor attractor1;         // morphed from
    attractor attractor2;         // morphed to
    int pointCount;               // records in points
    int desiredPointCount;        // count asked for by the frame-rate regulation

    // Display settings and exposure.
    int roundedPoints;            // draw smoothed points
    float pointSize;              // pixels
    point* points;                // the point buffer (heap, never freed)
    float alpha;                  // intensity factor of the points
    float spaceFrequency;         // colour map, 0..50
    float timeFrequency;          // colour map, 0..20
    int blendMethod;              // 0 Logarithmic, 1 Linear, 2 Maximum
    int limitCPUUsage;            // sleep 12 ms per step
    int motionBlur;               // 0 single, 1 double, 2..6 passes
    float luminance;              // fraction, 0..2
    float sharpness;              // fraction, 0..2
    float attenuation;            // fraction, 0.001..1
    float surface;                // covered fraction of the exposure grid

    // Statistics lines and the menu.
    int memoryFrames;             // frames are composed in memory (written by the renderer)
    int directFrames;             // memory frames without the menu go straight to the window system (renderer)
    char frameText[STATISTICS_TEXT_SIZE];
    char timeText[STATISTICS_TEXT_SIZE];
    char fpsText[STATISTICS_TEXT_SIZE];
    char rendererText[STATISTICS_TEXT_SIZE];
    char presentText[STATISTICS_TEXT_SIZE];
    char pointCountText[STATISTICS_TEXT_SIZE];
    char densityText[STATISTICS_TEXT_SIZE];
    char pointSizeText[STATISTICS_TEXT_SIZE];
    char alphaText[STATISTICS_TEXT_SIZE];
    char cycleText[STATISTICS_TEXT_SIZE];
    char attractor1Text[STATISTICS_TEXT_SIZE];
    char attractor2Text[STATISTICS_TEXT_SIZE];
    menu* currentMenu;            // the overlay menu, MainMenu
};

// The values the record holds before the settings are applied.
constexpr applicationdata INITIAL_APPLICATION_DATA = {
    .windowId = -1,
    .width = 1,
    .height = 1,
    .activeFullScreen = 0,
    .fullScreen = 0,
    .activeDoubleBuffered = 1,
    .doubleBuffered = 1,
    .activeMultiSample = 0,
    .multiSample = 0,
    .fullScreenParamChanged = 0,
    .activeGameMode = 0,
    .monitorCount = 0,
    .monitors = {},
    .runMode = 0,
    .mouseStartX = -1,
    .mouseStartY = -1,
    .paused = 0,
    .pauseStart = 0,
    .framePending = 0,
    .hosted = 0,
    .settingsPath = "VYR.ini",
    .frameTexture = EMPTY_TEXTURE,
    .passTexture = EMPTY_TEXTURE,
    .frameCount = 0,
    .cycleStart = 0,
    .period = 5000,
    .lastFPSTime = 0,
    .elasticity = 5.0f,
    .cyclePhase = 0.0f,
    .measuredFPS = 50.0f,
    .desiredFPS = 40.0f,
    .tooSlow = 0,
    .minDegree = 0,
    .maxDegree = 20,
    .attractor1 = {},
    .attractor2 = {},
    .pointCount = 0,
    .desiredPointCount = 600,
    .roundedPoints = 1,
    .pointSize = 1.0f,
    .points = nullptr,
    .alpha = 0.0f,
    .spaceFrequency = 1.0f,
    .timeFrequency = 1.0f,
    .blendMethod = 0,
    .limitCPUUsage = 0,
    .motionBlur = 0,
    .luminance = 1.0f,
    .sharpness = 1.0f,
    .attenuation = 0.1f,
    .surface = 0.0f,
    .memoryFrames = 0,
    .directFrames = 0,
    .frameText = {},
    .timeText = {},
    .fpsText = {},
    .rendererText = {},
    .presentText = {},
    .pointCountText = {},
    .densityText = {},
    .pointSizeText = {},
    .alphaText = {},
    .cycleText = {},
    .attractor1Text = {},
    .attractor2Text = {},
    .currentMenu = nullptr,
};

extern applicationdata ApplicationData;
