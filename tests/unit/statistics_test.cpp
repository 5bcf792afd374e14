// The statistics lines.
#include "engine/statistics.h"
#include "engine_fixture.h"

class StatisticsTest : public EngineTest {};

TEST_F(StatisticsTest, NothingWhileTheMenuIsHidden)
{
    MainMenu.visible = 0;
    ApplicationData.frameCount = 3;
    evolveStatistics();
    EXPECT_STREQ(ApplicationData.frameText, "");
    EXPECT_STREQ(ApplicationData.attractor2Text, "");
}

TEST_F(StatisticsTest, TenLines)
{
    MainMenu.visible = 1;
    Fake.now = 3723000;
    ApplicationData.frameCount = 255;
    ApplicationData.measuredFPS = 41.6f;
    ApplicationData.pointCount = 640;
    ApplicationData.surface = 1.0f;
    ApplicationData.pointSize = 2.5f;
    ApplicationData.alpha = 0.0390625f;
    ApplicationData.cyclePhase = 0.5f;
    ApplicationData.attractor1 = {5, 6, nullptr};
    ApplicationData.attractor2 = {13, 15, nullptr};
    evolveStatistics();
    EXPECT_STREQ(ApplicationData.frameText, "Frame : 0xFF");
    EXPECT_STREQ(ApplicationData.timeText, "Time : 01:02:03");
    EXPECT_STREQ(ApplicationData.fpsText, "FPS : 42");
    EXPECT_STREQ(ApplicationData.pointCountText, "Points count : 640");
    EXPECT_STREQ(ApplicationData.densityText, "Surface : 100%");
    EXPECT_STREQ(ApplicationData.pointSizeText, "Point size : 2.50");
    EXPECT_STREQ(ApplicationData.alphaText, "Alpha : 3.9%");
    EXPECT_STREQ(ApplicationData.cycleText, "Cycle : 50%");
    EXPECT_STREQ(ApplicationData.attractor1Text, "Attractor #1 : 5/6");
    EXPECT_STREQ(ApplicationData.attractor2Text, "Attractor #2 : 13/15");
    Fake.now = 360000000;
    evolveStatistics();
    EXPECT_STREQ(ApplicationData.timeText, "Time : 100:00:00");
    Fake.now = (int)(2147483648u + 352000u);  // 596:37:15.648 past start, after the signed wrap
    evolveStatistics();
    EXPECT_STREQ(ApplicationData.timeText, "Time : 596:37:15");
    Fake.now = (int)((unsigned int)Fake.now + 3000000000u);  // past the unsigned wrap too
    evolveStatistics();
    EXPECT_STREQ(ApplicationData.timeText, "Time : 1429:57:15");
    ApplicationData.attractor1 = {};
    ApplicationData.attractor2 = {};
}
