// Attractor generation invariants and the blend of two maps.
#include <cmath>
#include <algorithm>
#include <set>

#include "engine/attractor.h"
#include "engine_fixture.h"

class AttractorTest : public EngineTest {};

static int drawsOf(uint32_t seed, attractor* a)
{
    seedRandom(seed);
    allocAttractor(a);
    return randomDrawCount();
}

TEST_F(AttractorTest, InvariantsOverManySeeds)
{
    int countsOf6[7] = {};
    for (int lo = 3; lo <= 15; lo += 3) {
        ApplicationData.minDegree = lo;
        ApplicationData.maxDegree = lo + 3 > 15 ? 15 : lo + 3;
        for (uint32_t seed = 0; seed < 300; seed++) {
            seedRandom(seed);
            attractor a = {};
            allocAttractor(&a);
            ASSERT_GE(a.degree, ApplicationData.minDegree);
            ASSERT_LE(a.degree, ApplicationData.maxDegree);
            ASSERT_GE(a.count, std::min(a.degree - 1, a.degree - a.degree / 2 + 1));
            ASSERT_LE(a.count, a.degree - 1);
            if (a.degree == 6) countsOf6[a.count]++;
            std::set<int> slots;
            for (int i = 0; i < a.count; i++) {
                transform t = a.transforms[i];
                double slot = (t.translation * a.degree / PI - 1) / 2;
                EXPECT_NEAR(slot, std::round(slot), 1e-4);
                EXPECT_GE(std::lround(slot), 0);
                EXPECT_LT(std::lround(slot), a.degree);
                slots.insert((int)std::lround(slot));
                double k = t.rotation * a.degree / (2 * PI);
                EXPECT_NEAR(k, std::round(k), 1e-4);
                EXPECT_LT(std::lround(k), a.degree);
                EXPECT_EQ(t.flipX, 1);
                EXPECT_TRUE(t.flipY == 0 || t.flipY == 1);
            }
            EXPECT_EQ((int)slots.size(), a.count);  // distinct vertices
            freeAttractor(&a);
            EXPECT_EQ(a.count, 0);
        }
    }
    // Degree 6: 5 maps with probability 2/3, 4 maps with 1/3.
    int total = countsOf6[4] + countsOf6[5];
    ASSERT_GT(total, 100);
    EXPECT_NEAR((double)countsOf6[5] / total, 2.0 / 3.0, 0.1);
}

TEST_F(AttractorTest, DrawsPerAttractor)
{
    attractor a = {};
    ApplicationData.minDegree = ApplicationData.maxDegree = 7;
    for (uint32_t seed = 1; seed < 20; seed++) {
        int draws = drawsOf(seed, &a);
        EXPECT_EQ(draws, 1 + 3 * a.count);
        freeAttractor(&a);
    }
    ApplicationData.minDegree = 4;
    ApplicationData.maxDegree = 9;
    for (uint32_t seed = 1; seed < 20; seed++) {
        int draws = drawsOf(seed, &a);
        EXPECT_EQ(draws, 2 + 3 * a.count);
        freeAttractor(&a);
    }
}

TEST_F(AttractorTest, SmallDegreesHaveFixedCounts)
{
    for (int d : {3, 4, 5}) {
        ApplicationData.minDegree = ApplicationData.maxDegree = d;
        for (uint32_t seed = 0; seed < 50; seed++) {
            seedRandom(seed);
            attractor a = {};
            allocAttractor(&a);
            EXPECT_EQ(a.count, d - 1);
            freeAttractor(&a);
        }
    }
}

TEST_F(AttractorTest, DegreesOutsideTheSupportedRangeAreClamped)
{
    ApplicationData.minDegree = 18;
    ApplicationData.maxDegree = 20;  // the start-up maximum
    for (uint32_t seed = 0; seed < 50; seed++) {
        seedRandom(seed);
        attractor a = {};
        allocAttractor(&a);
        EXPECT_EQ(a.degree, 15);
        EXPECT_LE(a.count, 14);
        freeAttractor(&a);
    }
    ApplicationData.minDegree = 0;
    ApplicationData.maxDegree = 1;
    attractor a = {};
    allocAttractor(&a);  // would divide by zero unclamped
    EXPECT_EQ(a.degree, 3);
    freeAttractor(&a);
}

static void plainMatrix(float* m, transform t)
{
    m[0] = (float)((0.5 - t.flipX) * cos(t.rotation));
    m[1] = (float)(-(0.5 - t.flipY) * sin(t.rotation));
    m[2] = (float)(0.5 * cos(t.translation));
    m[3] = (float)((0.5 - t.flipX) * sin(t.rotation));
    m[4] = (float)((0.5 - t.flipY) * cos(t.rotation));
    m[5] = (float)(0.5 * sin(t.translation));
}

TEST_F(AttractorTest, BlendEndsAndFlip)
{
    transform from = {(float)(PI / 5), (float)(2 * PI / 5), 1, 0};
    transform to = {(float)(3 * PI / 5), (float)(6 * PI / 5), 1, 1};
    float m[6], expect[6];
    mapMatrix(m, from, to, 0.0f);
    plainMatrix(expect, from);
    for (int i = 0; i < 6; i++) EXPECT_EQ(m[i], expect[i]) << i;
    mapMatrix(m, from, to, 1.0f);
    plainMatrix(expect, to);
    for (int i = 0; i < 6; i++) EXPECT_EQ(m[i], expect[i]) << i;
    for (float l : {0.2f, 0.6f}) {
        mapMatrix(m, from, from, l);
        plainMatrix(expect, from);
        for (int i = 0; i < 6; i++) EXPECT_NEAR(m[i], expect[i], 1e-6) << i;
    }
    transform flipped = from;
    flipped.flipY = 1;
    mapMatrix(m, from, flipped, 0.5f);
    EXPECT_EQ(m[1], 0.0f);
    EXPECT_EQ(m[4], 0.0f);
    EXPECT_NEAR(m[0], -0.5 * cos(from.rotation), 1e-6);
}

TEST_F(AttractorTest, AllocationFailureExits)
{
    // exit(-1): 255 where the system keeps 8 bits of the status, -1 on Windows.
    auto minusOne = [](int status) {
        return ::testing::ExitedWithCode(255)(status) || ::testing::ExitedWithCode(-1)(status);
    };
    EXPECT_EXIT(allocationFailed(), minusOne, "");
}
