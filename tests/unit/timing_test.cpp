// Morph cycle, frame-rate measurement and regulation on a fake clock.
#include <vector>

#include "engine/attractor.h"
#include "engine/clock.h"
#include "engine/step.h"
#include "engine/timing.h"
#include "engine_fixture.h"

class TimingTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ApplicationData.minDegree = 5;
        ApplicationData.maxDegree = 6;
        allocAttractor(&ApplicationData.attractor1);
        allocAttractor(&ApplicationData.attractor2);
    }
    void TearDown() override
    {
        freeAttractor(&ApplicationData.attractor1);
        freeAttractor(&ApplicationData.attractor2);
        EngineTest::TearDown();
    }
    // Runs frames until the next measurement (frameCount % 16 == 15), the last one at `at`.
    void measureAt(int at)
    {
        do {
            Fake.now = at;
            evolveTime();
        } while (ApplicationData.frameCount % 16 != 15);
    }
};

TEST_F(TimingTest, TwoCycleEndsInOneFrame)
{
    attractor old2 = ApplicationData.attractor2;
    uint32_t seed = 99;
    seedRandom(seed);
    attractor expect1 = {}, expect2 = {};
    allocAttractor(&expect1);
    allocAttractor(&expect2);
    seedRandom(seed);
    (void)old2;
    Fake.now = 12345;
    evolveTime();
    EXPECT_EQ(ApplicationData.cycleStart, 10000);
    EXPECT_EQ(ApplicationData.cyclePhase, mapExp(2345.0f / 5000.0f, 5.0f));
    // attractor1 comes from the first cycle end, attractor2 from the second.
    EXPECT_EQ(ApplicationData.attractor1.count, expect1.count);
    EXPECT_EQ(ApplicationData.attractor2.count, expect2.count);
    for (int i = 0; i < expect1.count; i++)
        EXPECT_EQ(ApplicationData.attractor1.transforms[i].translation, expect1.transforms[i].translation);
    for (int i = 0; i < expect2.count; i++)
        EXPECT_EQ(ApplicationData.attractor2.transforms[i].rotation, expect2.transforms[i].rotation);
    freeAttractor(&expect1);
    freeAttractor(&expect2);
}

TEST_F(TimingTest, PhaseFollowsElasticity)
{
    ApplicationData.elasticity = 1.0f;
    Fake.now = 1500;
    evolveTime();
    EXPECT_FLOAT_EQ(ApplicationData.cyclePhase, 0.3f);
    ApplicationData.elasticity = 17.0f;
    Fake.now = 2500;
    evolveTime();
    EXPECT_EQ(ApplicationData.cyclePhase, 0.5f);
    // A shorter period that the elapsed time already exceeds ends the cycle.
    ApplicationData.period = 2000;
    Fake.now = 2600;
    evolveTime();
    EXPECT_EQ(ApplicationData.cycleStart, 2000);
}

TEST_F(TimingTest, MeasurementEvery16FramesRaisesTo640)
{
    for (int i = 0; i < 14; i++) {
        Fake.now = 10 * i;
        evolveTime();
    }
    EXPECT_EQ(Fake.titles, 0);
    ApplicationData.pointCount = 600;
    ApplicationData.lastFPSTime = 100;
    Fake.now = 500;
    evolveTime();  // frame 15: 400 ms since the last measurement
    EXPECT_EQ(ApplicationData.frameCount, 15);
    EXPECT_NEAR(ApplicationData.measuredFPS, 11200.0 / 401 + 15, 1e-4);
    EXPECT_EQ(ApplicationData.desiredPointCount, 640);
    EXPECT_EQ(ApplicationData.lastFPSTime, 500);
    EXPECT_EQ(Fake.title, "VYR (43 FPS , 600 points)");
    measureAt(900);
    EXPECT_EQ(ApplicationData.frameCount, 31);
    EXPECT_EQ(Fake.titles, 2);
}

TEST_F(TimingTest, DeadBandAndFloor)
{
    // measuredFPS after a measurement = 11200/(d+1) + 0.3*old; choose d for exact ratios.
    ApplicationData.measuredFPS = 0.0f;
    ApplicationData.desiredFPS = 40.0f;
    measureAt(11200 / 42);  // 11200/267 = 41.95, ratio 1.049: inside the band
    EXPECT_EQ(ApplicationData.desiredPointCount, 600);

    std::vector<bool> lines;
    ApplicationData.measuredFPS = 0.0f;
    ApplicationData.desiredPointCount = 600;
    testing::internal::CaptureStdout();
    measureAt(ApplicationData.lastFPSTime + 1119);  // 10 FPS: a quarter of the points
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(ApplicationData.desiredPointCount, 300);
    EXPECT_EQ(out,
              "Your system is TOO SLOW to run this program at the requested frame rate. Please lower it to improve "
              "image quality (its value MUST be less than the screen refresh rate if you are using double buffered "
              "mode, since the display cannot go faster than the screen in this case).\n");

    ApplicationData.measuredFPS = 0.0f;
    ApplicationData.desiredPointCount = 600;
    testing::internal::CaptureStdout();
    measureAt(ApplicationData.lastFPSTime + 559);  // 20 FPS: exactly half, 300
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(ApplicationData.desiredPointCount, 300);

    // Said once while too slow (10 FPS twice), again only after a measurement
    // above the band (50 FPS) has ended it.
    for (int fps : {10, 10, 50, 10}) {
        ApplicationData.measuredFPS = 0.0f;
        ApplicationData.desiredPointCount = 600;
        testing::internal::CaptureStdout();
        measureAt(ApplicationData.lastFPSTime + 11199 / fps);
        lines.push_back(testing::internal::GetCapturedStdout().size() > 0);
    }
    EXPECT_EQ(lines, (std::vector<bool>{false, false, false, true})) << "after the first line above";
}

TEST_F(TimingTest, ClockWrapKeepsCyclesAndMeasurements)
{
    // Just before the signed 32-bit wrap, then 300 ms later (negative readings).
    int before = 2147483647 - 100;
    ApplicationData.cycleStart = before - 1000;
    ApplicationData.lastFPSTime = before - 200;
    ApplicationData.frameCount = 14;
    ApplicationData.measuredFPS = 0.0f;
    ApplicationData.elasticity = 1.0f;
    Fake.now = (int)((unsigned int)before + 300u);
    ASSERT_LT(Fake.now, 0);
    evolveTime();
    EXPECT_EQ(ApplicationData.cycleStart, before - 1000);  // no spurious cycle end
    EXPECT_FLOAT_EQ(ApplicationData.cyclePhase, 1300.0f / 5000.0f);
    EXPECT_NEAR(ApplicationData.measuredFPS, 11200.0 / 501, 1e-4);  // 500 ms, not 4 billion
    Fake.now = (int)((unsigned int)before + 4100u);
    evolveTime();
    EXPECT_EQ(ApplicationData.cycleStart, (int)((unsigned int)before + 4000u));
    EXPECT_EQ(elapsedSince(2147483600, -2147483600), 96u);
}

TEST_F(TimingTest, FrameCounterWrapKeepsMeasuring)
{
    ApplicationData.frameCount = 2147483647 - 16;  // the measurement before the signed wrap
    for (int i = 0; i < 48; i++) {
        Fake.now = 25 * i;
        evolveTime();
    }
    EXPECT_EQ(Fake.titles, 3);
    EXPECT_EQ((unsigned int)ApplicationData.frameCount, 2147483647u + 32u);
}

TEST_F(TimingTest, LongSleepSkipsToTheLastTwoCycles)
{
    Fake.now = 5000 * 1000 + 10;
    evolveTime();
    EXPECT_EQ(ApplicationData.cycleStart, 5000 * 1000);
    EXPECT_GT(ApplicationData.attractor1.count, 0);
    EXPECT_GT(ApplicationData.attractor2.count, 0);
}

// The run time adds up the steps of the wrapping 32-bit clock: it passes the
// signed wrap at 24.8 days and the unsigned one at 49.7 days.
TEST_F(TimingTest, RunTimeGrowsPastTheClockWraps)
{
    int64_t expect = 0;
    for (int64_t step : {1000LL, 2147482647LL, 2LL, 4000000000LL, 4294967295LL, 25LL}) {
        Fake.now = (int)((unsigned int)Fake.now + (unsigned int)step);
        expect += step;
        EXPECT_EQ(runTime(), expect) << step;
    }
    EXPECT_EQ(runTime(), expect);  // a second reading at the same moment adds nothing
}
