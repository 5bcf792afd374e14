// A window that cannot be seen (unmapped, or covered by another window)
// neither steps nor draws, spends no CPU, and resumes with the point count it
// had. Runs GLUT's real main loop, scripted by frames and timers: each stage
// waits for the event it needs (the frames before hiding, the pause taking
// hold, the first frame after showing), not for a time, so that a loaded
// machine only makes the run longer.
#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <time.h>

#include "glut_test.h"
#include "app/window.h"
#include "core/platform.h"
#include "platform/present.h"
#include "engine/animation.h"

namespace {

constexpr int FRAMES_BEFORE_HIDING = 17;
constexpr int HIDDEN_MS = 3000;       // measured span while hidden
constexpr int POLL_MS = 10;           // waiting for the pause, or for the first frame after showing
constexpr int GIVE_UP_MS = 60000;     // a pause or a frame that has not come by then never comes

// Milliseconds on the given clock (process CPU time or monotonic wall time).
double clockMs(clockid_t clock)
{
    timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

// One scripted run: how the window is hidden, and what was seen.
struct pauserun {
    bool cover;               // hide by a covering window, else by unmapping
    bool hidden;              // the window has been hidden
    double hiddenAt;          // ms, when it was hidden
    bool paused;              // the pause took hold
    Display* other;           // a second connection, as another client would have
    Window window;            // the program's window
    Window coverWindow;       // the covering window
    int frames;               // frameCount when the settled measurement began
    int desiredPoints;        // point count decided before the pause
    int pointsAtHide;         // points in the buffer when paused
    double cpuStart;          // ms of CPU when the settled measurement began
    double cpuHidden;         // ms of CPU spent during HIDDEN_MS
    int framesHidden;         // frames stepped during HIDDEN_MS
    int pointsHidden;         // change of the point count while hidden
    double shownAt;           // ms, when shown again
    double firstFrameMs;      // ms from showing to the first new frame, -1 if none
    int pointsAfter;          // points of the first frame after showing
};

pauserun Script;

void measureStart(int);
void show(int);

// The pause takes hold when the window system reports the window hidden,
// some frames after the request: the counts are taken once it has.
void waitPause(int)
{
    if (Animation.paused) {
        Script.paused = true;
        measureStart(0);
        glutTimerFunc(HIDDEN_MS, show, 0);
    } else if (clockMs(CLOCK_MONOTONIC) - Script.hiddenAt > GIVE_UP_MS) {
        glutLeaveMainLoop();
    } else {
        glutTimerFunc(POLL_MS, waitPause, 0);
    }
}

void hide()
{
    Script.hidden = true;
    Script.hiddenAt = clockMs(CLOCK_MONOTONIC);
    if (Script.cover) {
        Screen* s = DefaultScreenOfDisplay(Script.other);
        XSetWindowAttributes a = {};
        a.override_redirect = True;
        Script.coverWindow = XCreateWindow(Script.other, RootWindowOfScreen(s), 0, 0, (unsigned)WidthOfScreen(s),
                                   (unsigned)HeightOfScreen(s), 0, CopyFromParent, InputOutput, CopyFromParent,
                                   CWOverrideRedirect, &a);
        XMapRaised(Script.other, Script.coverWindow);
    } else {
        XUnmapWindow(Script.other, Script.window);
    }
    XFlush(Script.other);
    glutTimerFunc(POLL_MS, waitPause, 0);
}

void measureStart(int)
{
    Script.desiredPoints = ApplicationData.desiredPointCount;
    Script.pointsAtHide = ApplicationData.pointCount;
    Script.frames = ApplicationData.frameCount;
    Script.cpuStart = clockMs(CLOCK_PROCESS_CPUTIME_ID);
}

// Presents the frame (swapped, or handed straight to the window system),
// hides the window after the first frames, and notes the first frame after
// showing again.
void recordFrame()
{
    if (!Script.hidden && ApplicationData.frameCount >= FRAMES_BEFORE_HIDING) hide();
    if (Script.shownAt > 0 && Script.firstFrameMs < 0) {
        Script.firstFrameMs = clockMs(CLOCK_MONOTONIC) - Script.shownAt;
        Script.pointsAfter = ApplicationData.pointCount;
    }
}

void recordingSwap()
{
    glutSwapBuffers();
    recordFrame();
}

int recordingPresent(const unsigned char* pixels, int width, int height, int stride)
{
    int shown = presentPixelsToWindow(pixels, width, height, stride);
    if (shown) recordFrame();
    return shown;
}

void waitFirstFrame(int)
{
    if (Script.firstFrameMs >= 0 || clockMs(CLOCK_MONOTONIC) - Script.shownAt > GIVE_UP_MS) glutLeaveMainLoop();
    else glutTimerFunc(POLL_MS, waitFirstFrame, 0);
}

void show(int)
{
    Script.cpuHidden = clockMs(CLOCK_PROCESS_CPUTIME_ID) - Script.cpuStart;
    Script.framesHidden = ApplicationData.frameCount - Script.frames;
    Script.pointsHidden = ApplicationData.pointCount - Script.pointsAtHide;
    if (Script.cover) XUnmapWindow(Script.other, Script.coverWindow);
    else XMapWindow(Script.other, Script.window);
    XFlush(Script.other);
    Script.shownAt = clockMs(CLOCK_MONOTONIC);
    glutTimerFunc(POLL_MS, waitFirstFrame, 0);
}

struct Pause : testing::TestWithParam<bool> {
    void TearDown() override { useGlutPlatform(); }
};

TEST_P(Pause, HiddenWindowStepsNothingSpendsNoCPUAndResumesAtItsCount)
{
    startAnimationRun();
    MainMenu.visible = 0;
    Script = {};
    Script.cover = GetParam();
    Script.firstFrameMs = -1;
    Script.other = XOpenDisplay(nullptr);
    ASSERT_NE(Script.other, nullptr);
    Platform.swapBuffers = recordingSwap;
    Platform.presentPixels = recordingPresent;
    createWindow();
    Script.window = glXGetCurrentDrawable();
    glutMainLoop();
    ApplicationData.windowId = -1;  // leaving the loop ends GLUT, windows and all
    XCloseDisplay(Script.other);

    ASSERT_TRUE(Script.paused) << "the pause never took hold";
    EXPECT_EQ(Script.framesHidden, 0);
    EXPECT_EQ(Script.pointsHidden, 0);
    EXPECT_LT(Script.cpuHidden, 0.01 * HIDDEN_MS) << "below 1 % of a core while hidden";
    EXPECT_GE(Script.firstFrameMs, 0) << "no frame after showing again";
    EXPECT_EQ(Script.pointsAfter, Script.desiredPoints) << "resumes with the point count it had";
    printf("hidden by %s: CPU %.1f ms in %d ms, first frame %.0f ms after showing\n",
           Script.cover ? "a covering window" : "unmapping", Script.cpuHidden, HIDDEN_MS, Script.firstFrameMs);
}

INSTANTIATE_TEST_SUITE_P(Display, Pause, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& i) { return i.param ? "Covered" : "Unmapped"; });

}  // namespace
