// Integer helpers, easing curve and the table cosine.
// One test builds a group of 16 lanes for this file's narrower registers on
// purpose (the compiler splits it); the note about its calling convention
// does not apply to an internal helper inlined into this file.
#pragma GCC diagnostic ignored "-Wpsabi"

#include <cmath>

#include "engine_fixture.h"

TEST(Integers, GcdLcmAndPowersOfTwo)
{
    EXPECT_EQ(pgcd(12, 18), 6);
    EXPECT_EQ(pgcd(7, 0), 7);
    EXPECT_EQ(ppcm(4, 6), 12);
    EXPECT_EQ(ppcm(14, 13), 182);
    EXPECT_EQ(ppcm(5, 0), 0);
    EXPECT_EQ(ppcm(5, 5), 5);
    EXPECT_EQ(nextPowerOfTwo(0), 1);
    EXPECT_EQ(nextPowerOfTwo(1), 1);
    EXPECT_EQ(nextPowerOfTwo(2), 2);
    EXPECT_EQ(nextPowerOfTwo(3), 4);
    EXPECT_EQ(nextPowerOfTwo(640), 1024);
    EXPECT_EQ(nextPowerOfTwo(1024), 1024);
}

TEST(Easing, FixedPointsAndShape)
{
    for (float p : {0.1f, 1.0f, 5.0f, 30.0f}) EXPECT_EQ(mapExp(0.5f, p), 0.5f);
    for (float x : {0.0f, 0.1f, 0.3f, 0.7f, 1.0f}) EXPECT_FLOAT_EQ(mapExp(x, 1.0f), x);
    EXPECT_NEAR(mapExp(0.1f, 5.0f), 0.00016f, 1e-9);
    EXPECT_NEAR(mapExp(0.9f, 5.0f), 1.0f - 0.00016f, 1e-6);
}

class CosTableTest : public EngineTest {};

TEST_F(CosTableTest, HalfTurnMirrorAndPeriod)
{
    EXPECT_EQ(cosTable(0.0f), 1.0f);
    EXPECT_EQ(cosTableIndex((float)PI), 4095);
    EXPECT_NEAR(cosTable((float)PI), -0.9999997f, 1e-7);
    EXPECT_EQ(cosTableIndex((float)(2 * PI)), 0);
    EXPECT_EQ(cosTableIndex((float)(PI * 4097 / 4096)), 4094);
    EXPECT_EQ(cosTableIndex((float)(PI * 2048 / 4096)), 2048);
    for (float x : {0.3f, 1.7f, 2.9f, 4.4f, 100.25f}) EXPECT_EQ(cosTable(-x), cosTable(x));
    for (float x = -20.0f; x < 20.0f; x += 0.37f) EXPECT_NEAR(cosTable(x), cos(x), 1.2e-3);
}

TEST_F(CosTableTest, ArgumentsBeyondThe32BitIndexReadEntryZero)
{
    float limit = (float)(2147483648.0 * PI / 4096);  // first argument whose index overflows
    EXPECT_EQ(cosTableIndex(limit * 1.001f), 0);
    EXPECT_EQ(cosTableIndex(-1e7f), 0);
    EXPECT_EQ(cosTableIndex(1e30f), 0);
    EXPECT_EQ(cosTableIndex(INFINITY), 0);
    EXPECT_EQ(cosTableIndex(NAN), 0);
    int below = cosTableIndex(limit * 0.999f);
    EXPECT_GE(below, 0);
    EXPECT_LE(below, 4095);
}

// The branch-free turn index agrees with the rule as written (roundf of the
// quotient, entry 0 beyond 32 bits), for one float and for lane groups.
TEST_F(CosTableTest, TurnIndexOfLaneGroupsMatchesTheRule)
{
    float limit = (float)(2147483648.0 * PI / 4096);
    float halfStep = (float)(PI / 8192);
    const float values[16] = {0.0f,          halfStep,       3 * halfStep,    -5 * halfStep, 1.0f,
                              -2.5f,         1000.75f,       limit * 0.999f,  limit,         limit * 1.001f,
                              1e30f,         INFINITY,       -INFINITY,       NAN,           (float)(2 * PI),
                              (float)(PI * 4097 / 4096)};
    lanes<16>::F group16;
    lanes<4>::F group4;
    for (int i = 0; i < 16; i++) group16[i] = values[i];
    lanes<16>::I r16 = cosTurnIndex(group16);
    for (int i = 0; i < 16; i++) {
        float q = (float)((double)fabsf(values[i]) * 4096.0 / PI);
        int expect = q < 2147483648.0f ? (int)roundf(q) & 8191 : 0;
        EXPECT_EQ(cosTurnIndex(values[i]), expect) << values[i];
        EXPECT_EQ(r16[i], expect) << values[i];
        group4[i % 4] = values[i];
        if (i % 4 == 3) {
            lanes<4>::I r4 = cosTurnIndex(group4);
            for (int k = 0; k < 4; k++) EXPECT_EQ(r4[k], r16[i - 3 + k]);
        }
    }
}
