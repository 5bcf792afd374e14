// vyr-bench --points N --frames K [--kernel I]
// vyr-bench --frame ...   (whole frames in a window: frame_bench.cpp)
//
// Times the engine without a window: evolvePoints over N points for K frames
// with two fixed attractors (5 maps of degree 6, 4 maps of degree 5) and the
// phase sweeping from 0 to 1, then the rest of the step (evolveTime,
// evolveProxy, evolveColorMap, evolveStatistics with the menu visible), whose
// cost does not depend on N. The last line is "ns_per_point_step: X".
//
// Index
//   - Fakes: clock, title, point sizes
//   - Setup: fixed attractors
//   - Timing: per-point and per-frame figures
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "engine/attractor.h"
#include "engine/colormap.h"
#include "engine/exposure.h"
#include "engine/numeric.h"
#include "engine/points.h"
#include "engine/statistics.h"
#include "engine/clock.h"
#include "engine/step.h"
#include "engine/timing.h"
#include "app/mainmenu.h"
#include "app/startup.h"
#include "core/platform.h"
#include "core/appdata.h"

// ---- Fakes ----
static int FakeNow = 0;
static int fakeTime() { return FakeNow; }
static void noTitle(const char*) {}
static void sizeRange(float* lo, float* hi) { *lo = 1.0f; *hi = 255.0f; }
static void sizeGranularity(float* g) { *g = 0.1f; }

static double seconds()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// ---- Setup ----
static transform Maps1[5], Maps2[4];

static void fixedAttractors()
{
    freeAttractor(&ApplicationData.attractor1);  // the start's random ones
    freeAttractor(&ApplicationData.attractor2);
    for (int i = 0; i < 5; i++) Maps1[i] = {(float)((2 * i + 1) * PI / 6), (float)(i * 2 * PI / 6), 1, i % 2};
    for (int i = 0; i < 4; i++) Maps2[i] = {(float)((2 * i + 1) * PI / 5), (float)((i + 2) * 2 * PI / 5), 1, (i + 1) % 2};
    ApplicationData.attractor1 = {5, 6, Maps1};
    ApplicationData.attractor2 = {4, 5, Maps2};
}

// ---- Timing ----
int frameBench(int argc, char** argv);

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; i++)
        if (!strcmp(argv[i], "--frame")) return frameBench(argc, argv);
    int points = 100000, frames = 200, kernel = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--points")) points = atoi(argv[i + 1]);
        else if (!strcmp(argv[i], "--frames")) frames = atoi(argv[i + 1]);
        else if (!strcmp(argv[i], "--kernel")) kernel = atoi(argv[i + 1]);
    }
    if (points < 1) points = 1;
    if (frames < 1) frames = 1;

    Platform.elapsedTime = fakeTime;
    Platform.setWindowTitle = noTitle;
    Platform.pointSizeRange = sizeRange;
    Platform.pointSizeGranularity = sizeGranularity;
    startEngine(12345, nullptr);  // the menu's settings, as a run without VYR.ini
    ApplicationData.minDegree = 5;
    ApplicationData.maxDegree = 6;
    ApplicationData.width = 1920;
    ApplicationData.height = 1080;
    ApplicationData.desiredPointCount = points;
    evolveAlloc();
    fixedAttractors();

    const char* name = kernel >= 0 ? usePointKernel(kernel) : useBestPointKernel();
    if (!name) {
        printf("kernel %d is not supported here\n", kernel);
        return 1;
    }
    printf("kernel: %s\npoints: %d\nframes: %d\n", name, points, frames);

    // Per point: evolvePoints alone, phase 0..1, colours as in a running program.
    ApplicationData.alpha = 0.5f;
    FakeNow = 1000;
    evolveColorMap();
    double start = seconds();
    for (int f = 0; f < frames; f++) {
        ApplicationData.cyclePhase = frames > 1 ? (float)f / (frames - 1) : 0.0f;
        evolvePoints();
    }
    double pointTime = seconds() - start;

    // Per frame: the rest of the step; the clock runs at 25 ms per frame.
    MainMenu.visible = 1;
    allocAttractor(&ApplicationData.attractor1);  // cycle ends free them: heap copies
    allocAttractor(&ApplicationData.attractor2);
    const int rest = 20000;
    double costs[4] = {0, 0, 0, 0};
    for (int f = 0; f < rest; f++) {
        FakeNow += 25;
        double t0 = seconds();
        evolveTime();
        double t1 = seconds();
        evolveProxy();
        double t2 = seconds();
        evolveColorMap();
        double t3 = seconds();
        evolveStatistics();
        double t4 = seconds();
        costs[0] += t1 - t0;
        costs[1] += t2 - t1;
        costs[2] += t3 - t2;
        costs[3] += t4 - t3;
        ApplicationData.desiredPointCount = points;  // keep N whatever the regulation says
    }
    const char* names[4] = {"evolveTime", "evolveProxy", "evolveColorMap", "evolveStatistics"};
    double total = 0;
    for (int i = 0; i < 4; i++) {
        printf("%s_us_per_frame: %.3f\n", names[i], costs[i] / rest * 1e6);
        total += costs[i];
    }
    printf("rest_of_step_us_per_frame: %.3f\n", total / rest * 1e6);
    printf("points_ms_per_frame: %.3f\n", pointTime / frames * 1e3);
    printf("ns_per_point_step: %.3f\n", pointTime / ((double)frames * points) * 1e9);
    return 0;
}
