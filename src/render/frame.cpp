// Drawing one frame: the renderer of each frame chosen and run, the menu
// on top, the frame presented.
//
// Index
//   - Renderer of each frame: the choice and its trial
//   - New context, reshapeFunc
//   - displayFunc
#include "render/frame.h"

#include <GL/gl.h>

#include <cstdio>

#include "menu/paint.h"
#include "render/glframe.h"
#include "render/memframe.h"
#include "render/rendering.h"
#include "render/texture.h"
#include "engine/step.h"
#include "core/appdata.h"
#include "core/platform.h"
#include "core/windowstate.h"

rendererstate Renderer = {0, {}};

// ---- Renderer of each frame ----
// Under RENDERER_AUTO the first TRIAL_FRAMES frames go through OpenGL, the
// next TRIAL_FRAMES are composed in memory, each timed from the start of
// displayFunc until it is drawn, menu left out (the same for both); the
// first of each run is left out (it allocates).
// Memory stays unless its middle time is above MEMORY_SLOWER_LIMIT times
// OpenGL's.
constexpr int TRIAL_FRAMES = 5;
constexpr double MEMORY_SLOWER_LIMIT = 1.25;

struct rendererchoice {
    int settled;       // RENDERER_GL or RENDERER_MEMORY once chosen; RENDERER_AUTO while trying
    int frame;         // frames of the trial drawn so far
    double start;      // when it began, seconds
    double times[2][TRIAL_FRAMES];  // OpenGL's and memory's frame times
};

static rendererchoice Choice = {RENDERER_AUTO, 0, 0, {}};

static int autoRenderer()
{
    if (Choice.settled != RENDERER_AUTO) return Choice.settled;
    if (ApplicationData.multiSample || softwareRenderer() != 1) return Choice.settled = RENDERER_GL;
    return RENDERER_AUTO;
}

int beginRendererFrame()
{
    Choice.start = seconds();
    int r = RenderOptions.renderer == RENDERER_AUTO ? autoRenderer() : RenderOptions.renderer;
    if (r == RENDERER_AUTO) r = Choice.frame < TRIAL_FRAMES ? RENDERER_GL : RENDERER_MEMORY;
    bool changed = Renderer.memoryFrames != (r == RENDERER_MEMORY) || !Renderer.rendererText[0];
    Renderer.memoryFrames = r == RENDERER_MEMORY;
    if (changed) snprintf(Renderer.rendererText, sizeof Renderer.rendererText, "Renderer : %s", rendererName());
    return Renderer.memoryFrames;
}

void endRendererFrame()
{
    if (RenderOptions.renderer != RENDERER_AUTO || Choice.settled != RENDERER_AUTO) return;
    glFinish();  // a software OpenGL draws when asked for the result: the frame's work is done here
    int f = Choice.frame++;
    Choice.times[f / TRIAL_FRAMES][f % TRIAL_FRAMES] = seconds() - Choice.start;
    if (Choice.frame == TRIAL_FRAMES) adoptWindowFrame();  // OpenGL's last trial frame goes on in memory
    if (Choice.frame < 2 * TRIAL_FRAMES) return;
    double gl = middleTrialTime(Choice.times[0], TRIAL_FRAMES);
    double memory = middleTrialTime(Choice.times[1], TRIAL_FRAMES);
    Choice.settled = memory > MEMORY_SLOWER_LIMIT * gl ? RENDERER_GL : RENDERER_MEMORY;
    if (Choice.settled == RENDERER_GL && ApplicationData.motionBlur != 0)
        copyTexture(&ApplicationData.frameTexture);  // memory's last frame goes on in OpenGL
}

const char* rendererName() { return Renderer.memoryFrames ? "memory" : "OpenGL"; }


// ---- New context, reshapeFunc ----
void frameContextChanged()
{
    deleteTexture(&ApplicationData.frameTexture);
    deleteTexture(&ApplicationData.passTexture);
    Choice = {RENDERER_AUTO, 0, 0, {}};  // the new context may be another OpenGL, or multisampled
    memoryFrameContextChanged();
}

void reshapeFunc(int w, int h)
{
    ApplicationData.width = w ? w : 1;
    ApplicationData.height = h ? h : 1;
    glViewport(0, 0, w, h);  // a zero size reaches the viewport as received
}

void displayFunc()
{
    glEnable(GL_BLEND);  // stays on for the whole run
    bool memory = beginRendererFrame(), kept = false, direct = false;
    if (memory) {
        enterStage(STAGE_POINTS);
        composeMemoryFrame();
        enterStage(STAGE_TEXTURES);
        direct = presentMemoryFrame();
    } else {
        kept = drawGLFrame();
    }
    endRendererFrame();  // before the menu, which a change of renderer must not carry into the trails
    if (direct) {  // the window shows the frame already, and no menu stands over it
        enterStage(STAGE_SWAP);
        frameDrawn();
        return;
    }

    enterStage(STAGE_MENU);
    pixelrect m = pictureRect(0);  // the menu stands on the first (primary) monitor
    if (WindowState.monitorCount > 0) glViewport(m.x, m.y, m.width, m.height);
    menuDisplay(ApplicationData.currentMenu, m.width, m.height);
    if (WindowState.monitorCount > 0) glViewport(0, 0, ApplicationData.width, ApplicationData.height);
    if (!memory) finishGLFrame(kept);
    enterStage(STAGE_SWAP);
    glFlush();
    Platform.swapBuffers();
    frameDrawn();
}
