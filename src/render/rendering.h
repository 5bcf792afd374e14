// What both renderers share: the drawing choices, the fade's alpha byte,
// whether OpenGL draws on the processor, the timing of their trials, and the
// stage probe of the frame benchmark.
//
// Index
//   - Drawing choices
//   - fadeAlphaByte, softwareRenderer
//   - Trials: seconds, middleTrialTime, leastTrialTime
//   - Stage probe
#pragma once

// ---- Drawing choices ----
// The plain choices (0 everywhere) draw a frame the straightforward way: all
// points in one call, every pass copied and painted over the whole window.
// The display tests draw the same point buffer both ways and compare.
struct renderoptions {
    int chunkSize;    // points per glDrawArrays call; 0: all in one call;
                      // CHUNK_BY_RENDERER: chosen from the OpenGL renderer
    int fadeToBlack;  // every non-zero channel also loses one step (1/255) per frame
    int lean;         // multi-pass modes touch only the area each pass draws and
                      // skip copies nothing reads; replacing paints skip blending
    int keepBackBuffer;  // on software renderers, once measured that the window keeps
                         // the last frame across the swap, fade it in place
    int renderer;        // RENDERER_AUTO, RENDERER_GL or RENDERER_MEMORY
};
constexpr int CHUNK_BY_RENDERER = -1;
// Who draws the frame: OpenGL, or the program in memory (memframe.h), or
// memory on a software OpenGL without multisampling once tried faster.
enum { RENDERER_AUTO, RENDERER_GL, RENDERER_MEMORY };
constexpr renderoptions PLAIN_RENDER_OPTIONS = {0, 0, 0, 0, RENDERER_GL};
constexpr renderoptions DEFAULT_RENDER_OPTIONS = {CHUNK_BY_RENDERER, 1, 1, 1, RENDERER_AUTO};
extern renderoptions RenderOptions;

// ---- fadeAlphaByte, softwareRenderer ----
// The attenuation as the byte of alpha with which the trails fade.
int fadeAlphaByte(float attenuation);

// 1 when the OpenGL renderer draws on the processor, 0 otherwise, -1 while
// there is no context to ask.
int softwareRenderer();

// ---- Trials: seconds, middleTrialTime, leastTrialTime ----
// A steady clock in seconds.
double seconds();
// The middle, or the least, of count frame times but the first (which allocates).
double middleTrialTime(const double* times, int count);
double leastTrialTime(const double* times, int count);

// ---- Stage probe (the frame benchmark) ----
// Called, when set, each time the frame moves on to another stage; the
// benchmark waits for OpenGL there and times each stage.
enum framestage { STAGE_FADE, STAGE_POINTS, STAGE_TEXTURES, STAGE_MENU, STAGE_SWAP, STAGE_COUNT };
extern void (*FrameStageProbe)(int stage);
void enterStage(int stage);
