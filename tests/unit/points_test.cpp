// Point buffer growth, the matrix pairing, colours, every instruction-set
// variant against a plain reading of the step, and settling on the attractor.
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/attractor.h"
#include "engine/colormap.h"
#include "engine/points.h"
#include "engine_fixture.h"

class PointsTest : public EngineTest {
protected:
    std::vector<transform> maps1, maps2;
    void TearDown() override
    {
        free(ApplicationData.points);
        ApplicationData.attractor1 = {};
        ApplicationData.attractor2 = {};
        u1 = u2 = u3 = u4 = u5 = u6 = 0.0f;
        useBestPointKernel();
        EngineTest::TearDown();
    }
    // Attractors with count maps of the given degree; distinct vertices, varied rotations.
    void setAttractors(int c1, int d1, int c2, int d2)
    {
        maps1.clear();
        maps2.clear();
        for (int i = 0; i < c1; i++) maps1.push_back({(float)((2 * i + 1) * PI / d1), (float)(i * 2 * PI / d1), 1, i % 2});
        for (int i = 0; i < c2; i++)
            maps2.push_back({(float)((2 * i + 1) * PI / d2), (float)((i + 1) * 2 * PI / d2), 1, (i + 1) % 2});
        ApplicationData.attractor1 = {c1, d1, maps1.data()};
        ApplicationData.attractor2 = {c2, d2, maps2.data()};
    }
    void grow(int n)
    {
        ApplicationData.desiredPointCount = n;
        evolveAlloc();
    }
};

TEST_F(PointsTest, FirstBufferIsCopiesOfOneSeedPoint)
{
    grow(600);
    ASSERT_EQ(ApplicationData.pointCount, 600);
    point* p = ApplicationData.points;
    EXPECT_LE(std::hypot(p[0].x, p[0].y), 1.0f);
    EXPECT_EQ(p[0].colorParam, 0.0f);
    EXPECT_EQ(p[0].color[3], 255);
    for (int i = 1; i < 600; i++) ASSERT_EQ(memcmp(&p[i], &p[0], sizeof(point)), 0);
}

TEST_F(PointsTest, GrowAppendsCopiesOfRecordZeroAndShrinkKeepsThePrefix)
{
    grow(700);
    point* p = ApplicationData.points;
    for (int i = 0; i < 700; i++) p[i].x = (float)i;
    grow(800);
    p = ApplicationData.points;
    for (int i = 0; i < 700; i++) ASSERT_EQ(p[i].x, (float)i);
    for (int i = 700; i < 800; i++) ASSERT_EQ(memcmp(&p[i], &p[0], sizeof(point)), 0);
    grow(650);
    EXPECT_EQ(ApplicationData.pointCount, 650);
    for (int i = 0; i < 650; i++) ASSERT_EQ(ApplicationData.points[i].x, i < 700 ? (float)i : 0.0f);
}

TEST_F(PointsTest, CountsBeyondTheTableDoNotOverrunIt)
{
    setAttractors(19, 20, 18, 20);  // L would be 342
    grow(100);
    evolvePoints();
    for (int i = 0; i < 100; i++) ASSERT_LE(std::hypot(ApplicationData.points[i].x, ApplicationData.points[i].y), 1.0f);
}

// The step as the formulas read, one point, given its map index: entry r of
// the table morphs map r mod c1 of the first attractor into map r mod c2 of the second.
static void plainStep(point* p, int r, int c1, int c2)
{
    const applicationdata& s = ApplicationData;
    float m[6];
    mapMatrix(m, s.attractor1.transforms[r % c1], s.attractor2.transforms[r % c2], s.cyclePhase);
    float phi = s.cyclePhase, psi = 1.0f - phi;
    double x = p->x, y = p->y;
    p->x = (float)((double)m[0] * x + (double)m[1] * y + (double)m[2]);
    p->y = (float)((double)m[3] * x + (double)m[4] * y + (double)m[5]);
    p->colorParam = (float)(0.2 * p->colorParam + 0.8 * ((double)(r % c1) * psi + (double)(r % c2) * phi));
    float u[3] = {u1, u2, u3};
    double ph[3] = {u4, u5, u6};
    for (int c = 0; c < 3; c++) {
        float arg = (float)(p->colorParam * ((double)u[c] * s.spaceFrequency) + ph[c]);
        int v = (int)((cosTable(arg) + 2.0) * (85.0 * s.alpha));
        p->color[c] = (uint8_t)(v > 255 ? 255 : v);
    }
}

TEST_F(PointsTest, EveryVariantMatchesThePlainStepBitForBit)
{
    struct setup {
        int c1, c2;
        float phase, alpha, space, u4;
    };
    const setup setups[] = {
        {5, 4, 0.37f, 0.6f, 1.0f, 1.9f},       // the usual 20 maps
        {14, 13, 0.81f, 1.0f, 7.3f, 812.5f},   // 182 maps, large phases
        {3, 2, 0.0f, 2.0f, 50.0f, 3.0e6f},     // Maximum method, huge arguments
        {4, 4, 1.0f, 0.0390625f, 0.0f, -5.5f},
        {5, 5, 0.3f, 0.5f, 1.0f, 6.0f},        // map k morphs into map k
        {4, 6, 0.3f, 0.5f, 1.0f, 6.0f},        // 12 maps: map 0 meets maps 0, 2 and 4
        {5, 3, 0.3f, 0.5f, 1.0f, 6.0f},        // 15 maps: every pair
        {8, 5, 0.6f, 0.8f, 2.0f, 1.0f},        // 40 maps: past the permuted tables
    };
    const int n = 1000 + 7;  // several blocks and a partial group
    for (const setup& k : setups) {
        setAttractors(k.c1, 15, k.c2, 15);
        ApplicationData.cyclePhase = k.phase;
        ApplicationData.alpha = k.alpha;
        ApplicationData.spaceFrequency = k.space;
        u1 = 2.7f, u2 = 1.3f, u3 = 1.05f, u4 = k.u4, u5 = -k.u4 * 0.7f, u6 = 13.1f;
        std::vector<point> start(n);
        for (int i = 0; i < n; i++) {
            start[i].x = (float)sin(i * 0.7) * 0.9f;
            start[i].y = (float)cos(i * 1.3) * 0.9f;
            start[i].colorParam = (float)(i % 13) + 0.25f * (i % 4);
            memset(start[i].color, 255, 4);
        }
        int mapCount = ppcm(k.c1, k.c2);
        for (int v = 0; v < pointKernelCount(); v++) {
            const char* name = usePointKernel(v);
            if (!name) continue;
            ApplicationData.points = (point*)malloc(n * sizeof(point));
            memcpy(ApplicationData.points, start.data(), n * sizeof(point));
            ApplicationData.pointCount = n;
            seedRandom(77);
            evolvePoints();
            std::vector<int32_t> index(n);
            seedRandom(77);
            randomMapIndices(index.data(), n, mapCount);
            for (int i = 0; i < n; i++) {
                point expect = start[i];
                plainStep(&expect, index[i], k.c1, k.c2);
                ASSERT_EQ(memcmp(&expect, &ApplicationData.points[i], sizeof(point)), 0)
                    << name << " point " << i << " maps " << k.c1 << "x" << k.c2;
            }
            free(ApplicationData.points);
            ApplicationData.points = nullptr;
        }
    }
}

TEST_F(PointsTest, ChannelsAtAlphaZeroAndOne)
{
    setAttractors(3, 4, 3, 4);
    grow(32);
    ApplicationData.alpha = 0.0f;
    evolvePoints();
    for (int i = 0; i < 32; i++) {
        const point& p = ApplicationData.points[i];
        EXPECT_EQ(p.color[0] | p.color[1] | p.color[2], 0);
        EXPECT_EQ(p.color[3], 255);
    }
    // Space frequency 0 and phases 0: every channel reads cos 0 = 1, so 255.
    ApplicationData.alpha = 1.0f;
    ApplicationData.spaceFrequency = 0.0f;
    evolvePoints();
    for (int i = 0; i < 32; i++)
        for (int c = 0; c < 3; c++) EXPECT_EQ(ApplicationData.points[i].color[c], 255);
    // Maximum method at 200 %: saturates instead of wrapping to 254.
    ApplicationData.alpha = 2.0f;
    evolvePoints();
    EXPECT_EQ(ApplicationData.points[0].color[0], 255);
}

TEST_F(PointsTest, ColourParameterMovesTowardsTheMapIndex)
{
    // At phase 0 with one map repeated, the parameter goes 80 % of the way each step.
    transform same = {(float)(PI / 5), 0.0f, 1, 0};
    maps1.assign(5, same);
    maps2.assign(5, same);
    ApplicationData.attractor1 = {5, 5, maps1.data()};
    ApplicationData.attractor2 = {5, 5, maps2.data()};
    grow(1);
    ApplicationData.cyclePhase = 0.0f;
    for (int i = 0; i < 40; i++) evolvePoints();
    float c = ApplicationData.points[0].colorParam;
    EXPECT_GE(c, 0.0f);
    EXPECT_LE(c, 4.0f);
}

TEST_F(PointsTest, CloudSettlesOntoTheAttractor)
{
    // Sierpinski-like: 3 maps of degree 3, no rotation, no reflection flip in y.
    transform t[3];
    for (int i = 0; i < 3; i++) t[i] = {(float)((2 * i + 1) * PI / 3), 0.0f, 1, 1};
    ApplicationData.attractor1 = {3, 3, t};
    ApplicationData.attractor2 = {3, 3, t};
    grow(20000);
    ApplicationData.cyclePhase = 0.0f;
    for (int f = 0; f < 30; f++) evolvePoints();
    // Every point lies in the disc and in the image of one of the three maps
    // (the disc of radius 1/2 around each translation); each image holds a third or more.
    int hits[3] = {};
    for (int i = 0; i < 20000; i++) {
        const point& p = ApplicationData.points[i];
        ASSERT_LE(std::hypot(p.x, p.y), 1.0f + 1e-6f);
        int inside = -1;
        for (int k = 0; k < 3; k++) {
            double cx = 0.5 * cos(t[k].translation), cy = 0.5 * sin(t[k].translation);
            if (std::hypot(p.x - cx, p.y - cy) <= 0.5 + 1e-6) {
                inside = k;
                hits[k]++;
            }
        }
        ASSERT_GE(inside, 0) << i;
    }
    for (int k = 0; k < 3; k++) EXPECT_GT(hits[k], 20000 * 0.3);
    // A point placed outside by a click comes back: distance beyond 1 at least halves.
    ApplicationData.points[0].x = 3.0f;
    ApplicationData.points[0].y = -3.0f;
    evolvePoints();
    EXPECT_LE(std::hypot(ApplicationData.points[0].x, ApplicationData.points[0].y), 1.0 + (std::hypot(3.0, 3.0) - 1) / 2);
}

TEST_F(PointsTest, MapIndicesAreUniform)
{
    std::vector<int32_t> index(182 * 1000);
    randomMapIndices(index.data(), (int)index.size(), 182);
    std::vector<int> counts(182);
    for (int32_t r : index) {
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 182);
        counts[r]++;
    }
    double chi = 0;
    for (int c : counts) chi += (c - 1000.0) * (c - 1000.0) / 1000.0;
    EXPECT_LT(chi, 260);  // 181 degrees of freedom, p about 0.0001
}

// After weeks of running the phases are far beyond the table cosine's range;
// the points must still be coloured by their parameter, not all white.
TEST_F(PointsTest, LongRunsKeepColouring)
{
    setAttractors(5, 6, 4, 5);
    grow(64);
    for (int i = 0; i < 64; i++) ApplicationData.points[i].colorParam = (float)(i % 5);
    Fake.now = 20 * 24 * 3600 * 1000;  // 20 days
    ApplicationData.timeFrequency = 1.0f;
    ApplicationData.alpha = 1.0f;
    evolveColorMap();
    evolvePoints();
    for (int c = 0; c < 3; c++) {
        int lo = 255, hi = 0;
        for (int i = 0; i < 64; i++) {
            lo = std::min(lo, (int)ApplicationData.points[i].color[c]);
            hi = std::max(hi, (int)ApplicationData.points[i].color[c]);
        }
        EXPECT_GT(hi - lo, 20) << "channel " << c;
    }
}
