// The application's state record: the requested and active display flags,
// the run mode, the animation's clock, attractors and points, the settings
// the menu's change callbacks record, and the statistics lines. The roles
// write their own groups of fields (see each group); what a role adds
// beyond these lives in that role's own record (core/windowstate.h,
// core/run.h, engine/step.h, render/renderer.h).
//
// Index
//   - Run modes
//   - applicationdata: window, shell, motion blur, time, attractors and
//     points, display and exposure, statistics and menu
#pragma once

#include "core/records.h"

struct menu;

// ---- Run modes (distinct bits, compared for equality) ----------------------
constexpr int MODE_SCREENSAVER = 1;
constexpr int MODE_CONFIGURE = 2;
constexpr int MODE_PREVIEW = 4;

constexpr int STATISTICS_TEXT_SIZE = 64;  // bytes of one statistics line

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

    // Shell.
    int runMode;                  // MODE_*; 0 until main decides
    int mouseStartX;              // screen saver: first pointer report, -1 until seen
    int mouseStartY;

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
    char frameText[STATISTICS_TEXT_SIZE];
    char timeText[STATISTICS_TEXT_SIZE];
    char fpsText[STATISTICS_TEXT_SIZE];
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
    .runMode = 0,
    .mouseStartX = -1,
    .mouseStartY = -1,
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
    .frameText = {},
    .timeText = {},
    .fpsText = {},
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
