// The whole picture: a fixed pair of attractors run through the engine's
// steps and drawn by displayFunc, read back and checked for shape and colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "display/glut_test.h"
#include "engine/attractor.h"
#include "engine/colormap.h"
#include "engine/exposure.h"
#include "engine/numeric.h"
#include "engine/points.h"
#include "engine/random.h"
#include "app/mainmenu.h"
#include "render/frame.h"
#include "core/appdata.h"

constexpr double FULL_TURN = 6.283185307179586;  // radians

// Maps k of `count`, towards the vertices of a regular `degree`-gon.
static attractor fixedAttractor(transform* maps, int count, int degree, float twist)
{
    for (int k = 0; k < count; k++) maps[k] = {float(FULL_TURN * k / degree), twist * k, 1, k % 2};
    return {count, degree, maps};
}

// Draws `frames` frames of the default settings in a w x h window and checks
// that every lit pixel lies in the window's inscribed ellipse (the unit disc
// in normalised coordinates) and that the lit pixels are coloured.
static void checkPicture(int w, int h, int motionBlur, int blendMethod, int frames)
{
    SCOPED_TRACE(testing::Message() << w << "x" << h << ", motion blur " << motionBlur << ", blend " << blendMethod);
    static transform maps1[5], maps2[6];
    resetHiddenMenu();
    ApplicationData.motionBlur = motionBlur;
    ApplicationData.blendMethod = blendMethod;
    ApplicationData.attractor1 = fixedAttractor(maps1, 5, 7, 0.7f);
    ApplicationData.attractor2 = fixedAttractor(maps2, 3, 5, 2.1f);
    ApplicationData.cyclePhase = 0.35f;
    seedRandom(20240601);
    initCos();

    createTestWindow(w, h);
    reshapeFunc(w, h);
    for (int i = 0; i < frames; i++) {
        evolveAlloc();
        evolvePoints();
        evolveProxy();
        evolveColorMap();
        displayFunc();
    }
    ASSERT_EQ(ApplicationData.pointCount, 600);

    // Points are drawn with their centres inside the disc; allow their radius.
    double margin = ApplicationData.pointSize / 2 + 1;
    double ax = w / 2.0 + margin, ay = h / 2.0 + margin;
    std::vector<unsigned char> image = readPixels(0, 0, w, h);
    int lit = 0, outside = 0, coloured = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const unsigned char* p = &image[(size_t(y) * w + x) * 3];
            int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
            if (hi <= 4) continue;
            lit++;
            double dx = (x + 0.5 - w / 2.0) / ax, dy = (y + 0.5 - h / 2.0) / ay;
            if (dx * dx + dy * dy > 1) outside++;
            if (hi >= 24 && hi - lo >= hi / 4) coloured++;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(lit, w * h / 20);  // a cloud, not a few stray pixels
    EXPECT_GT(coloured, lit / 10);
}

TEST(Picture, DefaultSettingsDrawAColouredCloudInTheDisc) { checkPicture(240, 240, 1, 0, 40); }

TEST(Picture, NonSquareWindowStretchesTheDiscToAnEllipse) { checkPicture(320, 120, 1, 0, 40); }

TEST(Picture, OtherModesStayInsideTheEllipse)
{
    checkPicture(200, 150, 0, 1, 30);
    checkPicture(200, 150, 4, 0, 30);
    checkPicture(200, 150, 3, 2, 30);
}
