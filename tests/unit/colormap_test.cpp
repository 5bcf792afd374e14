// Colour-map coefficients, and the smoothness of the drift over long runs.
#include <cmath>

#include "engine/colormap.h"
#include "engine_fixture.h"

class ColorMapTest : public EngineTest {
protected:
    // Runs the fake clock forward to ms since start in steps the 32-bit clock
    // can span, reading it at each step as the frames would.
    void runTo(int64_t ms)
    {
        while (RunClock.total < ms) {
            int64_t step = std::min<int64_t>(ms - RunClock.total, 20LL * 24 * 3600 * 1000);
            Fake.now = (int)((unsigned int)Fake.now + (unsigned int)step);
            runTime();
        }
    }
    // Over 400 frames of 25 ms from ms: the largest change of a red byte
    // between two frames, and the frames in which no red byte changes, for
    // colour parameters 0 to 13 in halves (space frequency 1, alpha 1).
    struct drift {
        int largestJump, stillFrames;
    };
    drift driftFrom(int64_t ms)
    {
        runTo(ms);
        int last[27] = {}, largest = 0, still = 0;
        for (int f = 0; f <= 400; f++) {
            if (f > 0) runTo(ms + 25 * f);
            evolveColorMap();
            bool changed = false;
            for (int i = 0; i < 27; i++) {
                double c = 0.5 * i;
                int red = (int)((cosTable((float)(c * (double)u1 + (double)u4)) + 2.0) * 85.0);
                if (f > 0 && red != last[i]) changed = true;
                if (f > 0) largest = std::max(largest, std::abs(red - last[i]));
                last[i] = red;
            }
            if (f > 0 && !changed) still++;
        }
        return {largest, still};
    }
};

// Past the signed wrap of the clock the time keeps growing; the phases,
// beyond 2^20 radians, are kept within one turn.
TEST_F(ColorMapTest, PhasesPastTheClockWrapStayWithinOneTurn)
{
    Fake.now = 10000;
    ApplicationData.timeFrequency = 1.0f;
    evolveColorMap();
    Fake.now = (int)(2147483648u + 1000u);
    evolveColorMap();
    double tau = 2147484.648;
    EXPECT_NEAR(u1, cos(0.12 * tau) + 2, 1e-6);
    EXPECT_NEAR(u4, fmod((cos(tau) + tau) * 1.9, 2 * PI), 1e-5);
    EXPECT_NEAR(u6, fmod((cos(-1.4 * tau) + tau) * -1.1, 2 * PI), 1e-5);
}

// While every phase is below 2^20 radians the coefficients are those of the
// elapsed time rounded to a float, bit for bit; a time frequency of 0
// freezes the map at its start.
TEST_F(ColorMapTest, SmallPhasesFollowElapsedTime)
{
    struct moment {
        int ms;
        float timeFrequency;
    };
    for (moment m : {moment{123456, 0.0f}, moment{1, 1.0f}, moment{10000, 1.0f}, moment{3600000, 1.0f},
                     moment{86400000, 1.7f}, moment{550000000, 1.0f}, moment{27000000, 20.0f},
                     moment{2000000000, 0.25f}}) {
        SCOPED_TRACE(m.ms);
        RunClock = {};
        Fake.now = m.ms;
        ApplicationData.timeFrequency = m.timeFrequency;
        evolveColorMap();
        float tau = (float)(m.ms * (0.001 * m.timeFrequency));
        ASSERT_LT((cos(tau) + tau) * 1.9, 1048576.0);
        EXPECT_EQ(u1, (float)(cos(0.12 * tau) + 2.0));
        EXPECT_EQ(u2, (float)(cos(0.13 * tau) + 2.0));
        EXPECT_EQ(u3, (float)(cos(-0.16 * tau) + 2.0));
        EXPECT_EQ(u4, (float)((cos((double)tau) + tau) * 1.9));
        EXPECT_EQ(u5, (float)((tau - cos(-1.2 * tau)) * 1.4));
        EXPECT_EQ(u6, (float)((cos(-1.4 * tau) + tau) * -1.1));
    }
}

// The drift after a week, a month and more than a year is no jerkier than
// during the first day (with the time and phases as floats, a week gave jumps
// of 28 and 250 frames of 400 without change; 40 days 107 and 360).
TEST_F(ColorMapTest, DriftStaysSmoothForMonths)
{
    const int64_t hour = 3600 * 1000, day = 24 * hour;
    ApplicationData.timeFrequency = 1.0f;
    drift firstDay = {0, 0};
    for (int64_t at = hour; at < day; at += hour) {  // the steepest moments of the wobble
        drift d = driftFrom(at);
        firstDay.largestJump = std::max(firstDay.largestJump, d.largestJump);
        firstDay.stillFrames = std::max(firstDay.stillFrames, d.stillFrames);
    }
    for (int64_t at : {7 * day, 40 * day, 40 * day + 11 * hour, 400 * day, 400 * day + 5 * hour}) {
        drift d = driftFrom(at);
        EXPECT_LE(d.largestJump, firstDay.largestJump) << at / day << " days";
        EXPECT_LE(d.stillFrames, firstDay.stillFrames) << at / day << " days";
    }
}
