// vyr-bench --frame [--size WxH] [--blur M] [--blend B] [--square] [--menu]
//                   [--fps F] [--seconds S] [--split-frames K] [--chunk N] [--plain]
//                   [--clock wall|cpu] [--no-fade-to-black] [--no-lean] [--no-kept]
//                   [--points N] [--renderer auto|gl|memory] [--present auto|direct|gl] [--compare]
//
// Whole frames in a real window (run it under an X server, e.g. Xvfb of the
// window's size for "full screen"): the program's own step and displayFunc at
// the default settings, with the given motion blur, blend method and point
// shape. First the frame-rate regulation runs freely for S seconds and the
// point count it holds over the second half is reported; then K frames at
// that count are drawn with OpenGL waited for at every stage, which gives the
// frame-time split. The last lines are "name: value".
//
// With --clock cpu, the clock of the regulation and of the split is the
// processor time of the whole process (all OpenGL threads) instead of the
// wall clock: the count it settles on is the one the program would hold if
// it had the processor to itself, which other busy processes on the
// machine do not change.
//
// With --points N there is no regulation: N points are drawn for the split
// frames without waiting at each stage, and the shortest and the median
// frame time are reported (the shortest is the frame least disturbed by
// other processes), before the stage-by-stage split.
//
// --present picks how a frame composed in memory reaches the window
// (PresentOption): straight through the window system, or uploaded to
// OpenGL; the split's "present" column is that hand-over (upload and quads,
// or the direct copy, and the swap). --renderer picks who draws the frame
// (RenderOptions.renderer). With
// --compare, OpenGL and memory take turns in the same window, three
// regulation runs each; the best count of each, their ratio and each one's
// split at its best count are reported (lines prefixed gl_ and memory_).
// On a loaded machine use --clock cpu: the CPU time of both of memory's
// threads and of OpenGL's own counts alike.
//
// Index
//   - Options
//   - Window
//   - Stage timing
//   - Fixed count
//   - Regulation and split, compareRenderers
//   - frameBench
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "engine/attractor.h"
#include "engine/colormap.h"
#include "engine/exposure.h"
#include "engine/numeric.h"
#include "engine/points.h"
#include "engine/random.h"
#include "engine/statistics.h"
#include "engine/clock.h"
#include "engine/step.h"
#include "engine/timing.h"
#include "app/mainmenu.h"
#include "app/startup.h"
#include "render/frame.h"
#include "render/memframe.h"
#include "core/platform.h"
#include "platform/present.h"
#include "core/appdata.h"

// ---- Options ----
struct framebenchoptions {
    int width, height;  // window client size, pixels
    int motionBlur;     // 0..6
    int blendMethod;    // 0..2
    int rounded;        // "Rounded points"
    int menu;           // menu shown
    float fps;          // requested frame rate
    double seconds;     // regulation run, seconds
    int splitFrames;    // frames timed stage by stage
    int chunk;          // -1: the program's own choice, else RenderOptions.chunkSize
    int plain;          // draw the plain way
    int fadeToBlack;    // RenderOptions.fadeToBlack
    int lean;           // RenderOptions.lean
    int kept;           // RenderOptions.keepBackBuffer
    int cpuClock;       // time by processor time instead of the wall clock
    int fixedPoints;    // > 0: no regulation, this many points
    int renderer;       // RenderOptions.renderer
    int compare;        // OpenGL and memory in turns, best of three each
    int present;        // PresentOption
};

static clockid_t Clock = CLOCK_MONOTONIC;

static double now()
{
    timespec t;
    clock_gettime(Clock, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

static int clockMs() { return int(now() * 1000); }

static framebenchoptions parseOptions(int argc, char** argv)
{
    framebenchoptions o = {1280, 1024, 1, 0, 1, 0, 40.0f, 20.0, 60, -1, 0, 1, 1, 1, 0, 0, RENDERER_AUTO, 0, PRESENT_AUTO};
    for (int i = 1; i < argc; i++) {
        const char* a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : "";
        if (!strcmp(a, "--size")) sscanf(v, "%dx%d", &o.width, &o.height), i++;
        else if (!strcmp(a, "--blur")) o.motionBlur = atoi(v), i++;
        else if (!strcmp(a, "--blend")) o.blendMethod = atoi(v), i++;
        else if (!strcmp(a, "--fps")) o.fps = (float)atof(v), i++;
        else if (!strcmp(a, "--seconds")) o.seconds = atof(v), i++;
        else if (!strcmp(a, "--split-frames")) o.splitFrames = atoi(v), i++;
        else if (!strcmp(a, "--chunk")) o.chunk = atoi(v), i++;
        else if (!strcmp(a, "--clock")) o.cpuClock = !strcmp(v, "cpu"), i++;
        else if (!strcmp(a, "--points")) o.fixedPoints = atoi(v), i++;
        else if (!strcmp(a, "--renderer")) o.renderer = !strcmp(v, "gl") ? RENDERER_GL : !strcmp(v, "memory") ? RENDERER_MEMORY : RENDERER_AUTO, i++;
        else if (!strcmp(a, "--present")) o.present = !strcmp(v, "gl") ? PRESENT_GL : !strcmp(v, "direct") ? PRESENT_DIRECT : PRESENT_AUTO, i++;
        else if (!strcmp(a, "--compare")) o.compare = 1;
        else if (!strcmp(a, "--square")) o.rounded = 0;
        else if (!strcmp(a, "--no-fade-to-black")) o.fadeToBlack = 0;
        else if (!strcmp(a, "--no-lean")) o.lean = 0;
        else if (!strcmp(a, "--no-kept")) o.kept = 0;
        else if (!strcmp(a, "--menu")) o.menu = 1;
        else if (!strcmp(a, "--plain")) o.plain = 1;
    }
    return o;
}

// ---- Window ----
static int Reshaped = 0;
static void benchReshape(int w, int h)
{
    reshapeFunc(w, h);
    Reshaped = 1;
}
static void benchDisplay() {}

// A double-buffered window at the origin, as the program's own; returns once mapped.
static void openWindow(const framebenchoptions& o, int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(o.width, o.height);
    glutCreateWindow("vyr-bench");
    glutDisplayFunc(benchDisplay);
    glutReshapeFunc(benchReshape);
    for (int i = 0; i < 2000 && !Reshaped; i++) {
        glutMainLoopEvent();
        timespec t = {0, 1000000};
        nanosleep(&t, nullptr);
    }
    reshapeFunc(o.width, o.height);
}

// ---- Stage timing ----
static double StageTime[STAGE_COUNT];
static int Stage = -1;
static double StageStart = 0;

static void probeStage(int stage)
{
    glFinish();
    double t = now();
    if (Stage >= 0) StageTime[Stage] += t - StageStart;
    Stage = stage;
    StageStart = t;
}


// ---- Fixed count ----
static int compareDoubles(const void* a, const void* b)
{
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

// Whole frames at a fixed count, each timed from step to swap.
static void fixedFrames(const framebenchoptions& o)
{
    static double times[4096];
    int n = o.splitFrames < 4096 ? o.splitFrames : 4096;
    for (int f = -10; f < n; f++) {  // ten frames to settle first
        ApplicationData.desiredPointCount = o.fixedPoints;
        double t0 = now();
        evolveAnimation();
        displayFunc();
        glFinish();
        if (f >= 0) times[f] = now() - t0;
        glutMainLoopEvent();
    }
    if (n <= 0) return;
    qsort(times, n, sizeof times[0], compareDoubles);
    printf("fixed_frame_ms_min: %.2f\nfixed_frame_ms_median: %.2f\n", times[0] * 1e3, times[n / 2] * 1e3);
}

// ---- Regulation and split, compareRenderers ----
// Free running for S seconds; returns the count held over the second half.
static int regulate(const framebenchoptions& o, bool report)
{
    ApplicationData.desiredPointCount = INITIAL_APPLICATION_DATA.desiredPointCount;  // every run climbs alike
    ApplicationData.measuredFPS = INITIAL_APPLICATION_DATA.measuredFPS;
    ApplicationData.lastFPSTime = Platform.elapsedTime();
    double start = now(), half = start + o.seconds / 2, end = start + o.seconds;
    double pointSum = 0;
    int frames = 0;
    double t;
    while ((t = now()) < end) {
        evolveAnimation();
        displayFunc();
        glutMainLoopEvent();
        if (t >= half) {
            pointSum += ApplicationData.pointCount;
            frames++;
        }
    }
    if (report) printf("measured_fps: %.1f\n", frames / (now() - half));
    return frames ? int(pointSum / frames + 0.5) : ApplicationData.pointCount;
}

// The count held fixed, OpenGL waited for at every stage. In memory the
// frame's composition is one stage for both threads; it is shared between
// points and fade in the proportion the calling thread measured.
static void split(const framebenchoptions& o, int points, const char* prefix)
{
    double stepTime = 0, fade = 0, splat = 0;
    for (int i = 0; i < STAGE_COUNT; i++) StageTime[i] = 0;
    double splitStart = now();
    for (int f = 0; f < o.splitFrames; f++) {
        ApplicationData.desiredPointCount = points;
        glFinish();
        double t0 = now();
        evolveAnimation();
        stepTime += now() - t0;
        FrameStageProbe = probeStage;
        Stage = -1;
        displayFunc();
        probeStage(STAGE_FADE);  // closes the swap stage
        Stage = -1;
        FrameStageProbe = nullptr;
        fade += MemorySplit.fadeSeconds;
        splat += MemorySplit.splatSeconds;
        glutMainLoopEvent();
    }
    double splitTotal = now() - splitStart;
    double k = o.splitFrames > 0 ? 1e3 / o.splitFrames : 0;
    bool memory = !strcmp(rendererName(), "memory");
    double compose = StageTime[STAGE_POINTS], pointShare = fade + splat > 0 ? splat / (fade + splat) : 1;
    double draw = memory ? compose * pointShare : compose;
    double fadeTextures = memory ? compose - draw : StageTime[STAGE_FADE] + StageTime[STAGE_TEXTURES];
    double upload = memory ? StageTime[STAGE_TEXTURES] : 0;
    double present = memory ? upload + StageTime[STAGE_SWAP] : StageTime[STAGE_SWAP];
    printf("%ssplit_renderer: %s\n", prefix, rendererName());
    printf("%ssplit_presentation: %s\n", prefix, presentationName());
    printf("%ssplit_frame_ms: %.2f\n", prefix, splitTotal * k);
    printf("%ssplit_point_step_ms: %.2f\n", prefix, stepTime * k);
    printf("%ssplit_point_draw_ms: %.2f\n", prefix, draw * k);
    printf("%ssplit_fade_textures_ms: %.2f\n", prefix, fadeTextures * k);
    printf("%ssplit_upload_ms: %.2f\n", prefix, upload * k);
    printf("%ssplit_menu_ms: %.2f\n", prefix, StageTime[STAGE_MENU] * k);
    printf("%ssplit_swap_ms: %.2f\n", prefix, StageTime[STAGE_SWAP] * k);
    printf("%ssplit_present_ms: %.2f\n", prefix, present * k);
    printf("%spoint_size: %.2f\n", prefix, (double)ApplicationData.pointSize);
    printf("%sregulated_points: %d\n", prefix, points);
}

// OpenGL and memory in turns, three runs each in one window; the best run of
// each, their ratio, and each one's split at its own count.
static int compareRenderers(const framebenchoptions& o)
{
    const int renderers[2] = {RENDERER_GL, RENDERER_MEMORY};
    const char* names[2] = {"gl", "memory"};
    int best[2] = {0, 0};
    for (int run = 0; run < 3; run++)
        for (int r = 0; r < 2; r++) {
            RenderOptions.renderer = renderers[r];
            int points = regulate(o, false);
            printf("run_%d_%s_points: %d\n", run + 1, names[r], points);
            fflush(stdout);
            if (points > best[r]) best[r] = points;
        }
    for (int r = 0; r < 2; r++) {
        RenderOptions.renderer = renderers[r];
        char prefix[16];
        snprintf(prefix, sizeof prefix, "%s_", names[r]);
        split(o, best[r], prefix);
    }
    printf("best_gl_points: %d\nbest_memory_points: %d\nratio: %.1f\n", best[0], best[1],
           best[0] ? double(best[1]) / best[0] : 0.0);
    return 0;
}

// ---- frameBench ----
int frameBench(int argc, char** argv)
{
    framebenchoptions o = parseOptions(argc, argv);
    openWindow(o, argc, argv);
    Platform.presentPixels = presentPixelsToWindow;  // as the GLUT back end's own
    if (o.cpuClock) {
        Clock = CLOCK_PROCESS_CPUTIME_ID;
        Platform.elapsedTime = clockMs;
    }

    startEngine(12345, nullptr);  // the default settings through their callbacks
    MainMenu.visible = o.menu;
    ApplicationData.motionBlur = o.motionBlur;
    ApplicationData.blendMethod = o.blendMethod;
    ApplicationData.roundedPoints = o.rounded;
    ApplicationData.desiredFPS = o.fps;
    if (o.plain) RenderOptions = PLAIN_RENDER_OPTIONS;
    if (o.chunk >= 0) RenderOptions.chunkSize = o.chunk;
    if (!o.fadeToBlack) RenderOptions.fadeToBlack = 0;
    if (!o.lean) RenderOptions.lean = 0;
    if (!o.kept) RenderOptions.keepBackBuffer = 0;
    RenderOptions.renderer = o.renderer;
    PresentOption = o.present;

    printf("renderer: %s\n", (const char*)glGetString(GL_RENDERER));
    printf("window: %dx%d\nmotion_blur: %d\nblend_method: %d\nrounded_points: %d\nmenu: %d\n", o.width, o.height,
           o.motionBlur, o.blendMethod, o.rounded, o.menu);
    printf("chunk_size: %d\nfade_to_black: %d\nlean: %d\nkeep_back_buffer: %d\nclock: %s\n",
           RenderOptions.chunkSize, RenderOptions.fadeToBlack, RenderOptions.lean, RenderOptions.keepBackBuffer,
           o.cpuClock ? "cpu" : "wall");

    if (o.fixedPoints > 0) fixedFrames(o);
    if (o.compare) return compareRenderers(o);
    int points = o.fixedPoints > 0 ? o.fixedPoints : regulate(o, true);
    split(o, points, "");
    return 0;
}
