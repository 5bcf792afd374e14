// The animation step's own state, written by the engine alone (the
// renderer reports a drawn frame through frameDrawn, defined with the step).
#pragma once

struct animationstate {
    int paused;                   // the window is hidden or fully covered: no steps, no frames
    int pauseStart;               // ms, when the pause began
    int framePending;             // the last step's frame is not drawn yet: no new step
    int tooSlow;                  // the point count hit its floor; said once until it rises again
};

extern animationstate Animation;

// The frame of the last step is drawn: the next step may run.
void frameDrawn();
